#include "SettingsFiles.h"

#include "core/AppError.h"
#include "core/CommonDatasView.h"
#include "core/Decimal.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "editor/Rescale.h"
#include "serial/ComPort.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
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

    bool Failed() const { return failed_; }

    // The next line as a whole number, or nothing (and the reading ends).
    std::optional<qint32> Number() {
        if (failed_)
            return std::nullopt;
        const auto value = Decimal::ParseInteger(Next());
        if (!value)
            failed_ = true;
        return value;
    }
    // A flag: 0 is off, any other number on.
    bool Flag(bool& field) {
        const auto value = Number();
        if (value)
            field = *value != 0;
        return value.has_value();
    }
    bool Flag(std::atomic<bool>& field) {
        bool value = field;
        const bool ok = Flag(value);
        if (ok)
            field = value;
        return ok;
    }
    // A text line: a missing one reads as empty.
    std::optional<QString> Text() {
        if (failed_)
            return std::nullopt;
        return Next();
    }
    // The scale, written with the decimal separator of the locale that wrote it: a point and a
    // comma both read.
    std::optional<double> Scale() {
        if (failed_)
            return std::nullopt;
        const auto value = ParseScaleText(Next().trimmed());
        if (!value)
            failed_ = true;
        return value;
    }

private:
    QString Next() { return index_ < lines_.size() ? lines_[index_++] : QString(); }
    QStringList lines_;
    qsizetype index_ = 0;
    bool failed_ = false;
};

std::optional<TLineReader> Open(const QString& fileName) {
    try {
        return TLineReader(LoadLinesFromFile(fileName, true));
    } catch (const EFileError&) {
        return std::nullopt;
    }
}

void Write(const QString& fileName, const QStringList& lines) {
    QDir().mkpath(QFileInfo(fileName).absolutePath()); // a missing Data folder is made
    SaveLinesToFile(fileName, lines, true);
}

} // namespace

TSettingsFiles::TSettingsFiles(const TProgramPaths& paths, TCommonDatas& datas)
    : paths_(paths), datas_(datas) {}

QString TSettingsFiles::PortFile() const {
    return paths_.DataFile("portp.dat");
}
QString TSettingsFiles::ProgramFile() const {
    return paths_.DataFile("prp.dat");
}
QString TSettingsFiles::ErrorFile() const {
    return paths_.DataFile("erp.dat");
}

bool TSettingsFiles::LoadProgramSettings(ISettingsView* view) {
    auto reader = Open(ProgramFile());
    if (!reader)
        return false;
    TLineReader& r = *reader;
    TCommonDatas& d = datas_;
    // Lines 1 to 8; line 9 (the control mode) between them and line 10.
    if (!(r.Flag(d.ShowPortLog) && r.Flag(d.ShowOperationLog) && r.Flag(d.ShowLoadLog) &&
          r.Flag(d.SavePortLog) && r.Flag(d.SaveOperationLog) && r.Flag(d.SaveProgramSettings) &&
          r.Flag(d.SavePortSettings) && r.Flag(d.SaveErrorSettings)))
        return false;
    const auto mode = r.Number();
    if (!mode)
        return false;
    if (view)
        view->SelectControlMode(*mode);
    if (!(r.Flag(d.AutoAddEN) && r.Flag(d.AutoAddBG) && r.Flag(d.SaveUnits) && r.Flag(d.SaveUnitsName) &&
          r.Flag(d.SaveUnitsScale)))
        return false;
    if (d.SaveUnits) {
        const auto name = r.Text();
        if (!name)
            return false;
        d.UnitsName = *name;
        const auto scale = r.Scale();
        if (!scale)
            return false;
        d.SetScale(*scale);
        const auto rounding = r.Number();
        if (!rounding)
            return false;
        d.SetRounding(quint8(*rounding));
        const auto units = r.Number();
        if (!units)
            return false;
        if (view)
            view->SelectUnitsMode(*units);
    }
    const auto language = r.Text();
    if (!language)
        return false;
    // A file that lost its last line would leave no language at all: the program's own.
    d.Language = language->trimmed().isEmpty() ? QString("en") : language->trimmed();
    return true;
}

bool TSettingsFiles::LoadPortSettings(TComPort& port) {
    bool ok = false;
    if (auto reader = Open(PortFile())) {
        const auto number = reader->Number();
        if (number && *number >= 1 && *number <= 255) {
            port.SetPortNumber(quint32(*number));
            ok = true;
        }
    }
    // The line settings are the same at every start, whatever was chosen before.
    port.SetDataBitsIndex(3);
    port.SetStopBits(0);
    port.SetParity(2);
    port.SetBaudIndex(6);
    return ok;
}

bool TSettingsFiles::LoadErrorSettings() {
    auto reader = Open(ErrorFile());
    if (!reader)
        return false;
    TLineReader& r = *reader;
    if (!r.Flag(datas_.AutoRecovery))
        return false;
    const auto er6 = r.Number();
    if (!er6)
        return false;
    datas_.Er6Reaction = quint8(*er6);
    const auto er9 = r.Number();
    if (!er9)
        return false;
    datas_.Er9Reaction = quint8(*er9);
    if (!(r.Flag(datas_.RecoveryBreakComm) && r.Flag(datas_.RecoveryClearMarks)))
        return false;
    // A negative time is no reply time (as a count of milliseconds it would be weeks of waiting).
    const auto replyTime = r.Number();
    if (!replyTime || *replyTime < 0)
        return false;
    datas_.ReplyTime = quint32(*replyTime);
    return true;
}

QStringList TSettingsFiles::PortSettingsLines(quint32 portNumber) {
    return {QString::number(portNumber)};
}

QStringList TSettingsFiles::ProgramSettingsLines(int controlMode, int unitsMode) const {
    const TCommonDatas& d = datas_;
    QStringList lines{Flag(d.ShowPortLog),      Flag(d.ShowOperationLog),  Flag(d.ShowLoadLog),
                      Flag(d.SavePortLog),      Flag(d.SaveOperationLog),  Flag(d.SaveProgramSettings),
                      Flag(d.SavePortSettings), Flag(d.SaveErrorSettings), QString::number(controlMode),
                      Flag(d.AutoAddEN),        Flag(d.AutoAddBG),         Flag(d.SaveUnits),
                      Flag(d.SaveUnitsName),    Flag(d.SaveUnitsScale)};
    if (d.SaveUnits)
        lines << d.UnitsName << Decimal::FormatGeneral(d.Scale) << QString::number(d.RoundingMode)
              << QString::number(unitsMode);
    lines << d.Language;
    return lines;
}

QStringList TSettingsFiles::ErrorSettingsLines() const {
    return {Flag(datas_.AutoRecovery),
            QString::number(datas_.Er6Reaction.load()),
            QString::number(datas_.Er9Reaction.load()),
            Flag(datas_.RecoveryBreakComm),
            Flag(datas_.RecoveryClearMarks),
            QString::number(datas_.ReplyTime.load())};
}

void TSettingsFiles::WritePortSettings(quint32 portNumber) const {
    Write(PortFile(), PortSettingsLines(portNumber));
}

void TSettingsFiles::WriteProgramSettings(int controlMode, int unitsMode) const {
    Write(ProgramFile(), ProgramSettingsLines(controlMode, unitsMode));
}

void TSettingsFiles::WriteErrorSettings() const {
    Write(ErrorFile(), ErrorSettingsLines());
}

namespace {
// A view that shows nothing: the defaults are written without a window.
class TNoView : public ICommonDatasView {
public:
    void PaintIndicator(int, TRgb) override {}
    void ShowCoordinatesActive(const QString&, bool, bool, bool) override {}
    void EnableSimpleButtons(bool, bool, bool, bool) override {}
    void ShowScale(const QString&, const QString&, const QString&) override {}
    void ShowRounding(const QString&) override {}
    void AddLogLine(const QString&, bool) override {}
    void AddRecordingLine(const QString&) override {}
};
} // namespace

void TSettingsFiles::WriteMissingDefaults(const TProgramPaths& paths) {
    TNoView view;
    TCommonDatas datas(view);
    const TSettingsFiles files(paths, datas);
    if (!QFileInfo::exists(files.PortFile()))
        files.WritePortSettings(1);
    if (!QFileInfo::exists(files.ProgramFile()))
        files.WriteProgramSettings(TCommonDatas::SimpleMode, TCommonDatas::StepsUnits);
    if (!QFileInfo::exists(files.ErrorFile()))
        files.WriteErrorSettings();
}
