#include "SettingsFiles.h"

#include "core/AppError.h"
#include "core/Decimal.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "editor/Rescale.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

QString Flag(bool on) {
    return on ? "-1" : "0";
}

// Hands out the lines of a settings file in order and converts each; the first line that can't
// be converted (or is missing, for a number) ends the reading.
class TLineReader {
public:
    explicit TLineReader(QStringList lines) : lines_(std::move(lines)) {}

    // The next line as a whole number into `field`; false (and the reading ends) when it is none.
    template <typename T> bool Number(T& field) {
        if (failed_)
            return false;
        const auto value = Decimal::ParseInteger(Next());
        if (!value) {
            failed_ = true;
            return false;
        }
        field = T(*value);
        return true;
    }
    // A flag: 0 is off, any other number on.
    bool Flag(bool& field) {
        qint32 value = 0;
        if (!Number(value))
            return false;
        field = value != 0;
        return true;
    }
    // A text line: a missing one reads as empty.
    bool Text(QString& field) {
        if (failed_)
            return false;
        field = Next();
        return true;
    }
    // The scale, written with the decimal separator of the locale that wrote it: a point and a
    // comma both read. A scale of 0 is 1.
    bool Scale(double& field) {
        if (failed_)
            return false;
        const auto value = ParseScaleText(Next().trimmed());
        if (!value) {
            failed_ = true;
            return false;
        }
        field = *value == 0 ? 1.0 : *value;
        return true;
    }

private:
    QString Next() { return index_ < lines_.size() ? lines_[index_++] : QString(); }
    QStringList lines_;
    qsizetype index_ = 0;
    bool failed_ = false;
};

// A settings file holds a few short lines: one far larger, or with a line longer than any
// value, is damaged (and is never read whole into memory); so is anything but a regular file.
constexpr qint64 kMaxFileSize = 16 * 1024;
constexpr qsizetype kMaxLineLength = 4096;

std::optional<TLineReader> Open(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return std::nullopt;
    try {
        QStringList lines = LoadLinesFromFile(fileName, true);
        for (const QString& line : lines) {
            if (line.size() > kMaxLineLength)
                return std::nullopt;
        }
        return TLineReader(std::move(lines));
    } catch (const EFileError&) {
        return std::nullopt;
    }
}

void Write(const QString& fileName, const QStringList& lines) {
    Folders::Make(QFileInfo(fileName).absolutePath()); // a missing Data folder is made
    SaveLinesToFile(fileName, lines, true);
}

} // namespace

TSettingsFiles::TSettingsFiles(const TProgramPaths& paths) : dataFolder_(paths.DataFolder()) {}

QString TSettingsFiles::PortFile() const {
    return dataFolder_ + "/portp.dat";
}
QString TSettingsFiles::ProgramFile() const {
    return dataFolder_ + "/prp.dat";
}
QString TSettingsFiles::ErrorFile() const {
    return dataFolder_ + "/erp.dat";
}

bool TSettingsFiles::LoadProgramSettings(TSettings& s) const {
    auto reader = Open(ProgramFile());
    if (!reader)
        return false;
    TLineReader& r = *reader;
    if (!(r.Flag(s.ShowPortLog) && r.Flag(s.ShowOperationLog) && r.Flag(s.ShowLoadLog) &&
          r.Flag(s.SavePortLog) && r.Flag(s.SaveOperationLog) && r.Flag(s.SaveProgramSettings) &&
          r.Flag(s.SavePortSettings) && r.Flag(s.SaveErrorSettings) && r.Number(s.ControlMode) &&
          r.Flag(s.AutoAddEN) && r.Flag(s.AutoAddBG) && r.Flag(s.SaveUnits) && r.Flag(s.SaveUnitsName) &&
          r.Flag(s.SaveUnitsScale)))
        return false;
    // The units block is there only when the units are saved.
    if (s.SaveUnits &&
        !(r.Text(s.UnitsName) && r.Scale(s.Scale) && r.Number(s.RoundingMode) && r.Number(s.UnitsMode)))
        return false;
    QString language;
    if (!r.Text(language))
        return false;
    // A file that lost its last line would leave no language at all: the program's own.
    s.Language = language.trimmed().isEmpty() ? QString("en") : language.trimmed();
    return true;
}

bool TSettingsFiles::LoadPortSettings(TSettings& s) const {
    auto reader = Open(PortFile());
    qint32 number = 0;
    if (!reader || !reader->Number(number) || number < 1 || number > 255)
        return false;
    s.PortNumber = quint32(number);
    return true;
}

bool TSettingsFiles::LoadErrorSettings(TSettings& s) const {
    auto reader = Open(ErrorFile());
    if (!reader)
        return false;
    TLineReader& r = *reader;
    // A negative time is no reply time (as a count of milliseconds it would be weeks of waiting).
    qint32 replyTime = 0;
    if (!(r.Flag(s.AutoRecovery) && r.Number(s.Er6Reaction) && r.Number(s.Er9Reaction) &&
          r.Flag(s.RecoveryBreakComm) && r.Flag(s.RecoveryClearMarks) && r.Number(replyTime)) ||
        replyTime < 0)
        return false;
    s.ReplyTime = quint32(replyTime);
    return true;
}

QStringList TSettingsFiles::PortSettingsLines(quint32 portNumber) {
    return {QString::number(portNumber)};
}

QStringList TSettingsFiles::ProgramSettingsLines(const TSettings& s) {
    QStringList lines{Flag(s.ShowPortLog),      Flag(s.ShowOperationLog),  Flag(s.ShowLoadLog),
                      Flag(s.SavePortLog),      Flag(s.SaveOperationLog),  Flag(s.SaveProgramSettings),
                      Flag(s.SavePortSettings), Flag(s.SaveErrorSettings), QString::number(s.ControlMode),
                      Flag(s.AutoAddEN),        Flag(s.AutoAddBG),         Flag(s.SaveUnits),
                      Flag(s.SaveUnitsName),    Flag(s.SaveUnitsScale)};
    if (s.SaveUnits)
        lines << s.UnitsName << Decimal::FormatGeneral(s.Scale) << QString::number(s.RoundingMode)
              << QString::number(s.UnitsMode);
    lines << s.Language;
    return lines;
}

QStringList TSettingsFiles::ErrorSettingsLines(const TSettings& s) {
    return {Flag(s.AutoRecovery),      QString::number(s.Er6Reaction), QString::number(s.Er9Reaction),
            Flag(s.RecoveryBreakComm), Flag(s.RecoveryClearMarks),     QString::number(s.ReplyTime)};
}

void TSettingsFiles::WritePortSettings(quint32 portNumber) const {
    Write(PortFile(), PortSettingsLines(portNumber));
}

void TSettingsFiles::WriteProgramSettings(const TSettings& settings) const {
    Write(ProgramFile(), ProgramSettingsLines(settings));
}

void TSettingsFiles::WriteErrorSettings(const TSettings& settings) const {
    Write(ErrorFile(), ErrorSettingsLines(settings));
}

void TSettingsFiles::WriteMissingDefaults(const TProgramPaths& paths) {
    const TSettingsFiles files(paths);
    const TSettings defaults;
    if (!QFileInfo::exists(files.PortFile()))
        files.WritePortSettings(defaults.PortNumber);
    if (!QFileInfo::exists(files.ProgramFile()))
        files.WriteProgramSettings(defaults);
    if (!QFileInfo::exists(files.ErrorFile()))
        files.WriteErrorSettings(defaults);
}
