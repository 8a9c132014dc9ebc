#include "ExtraSettingsFile.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"

#include <QFileInfo>

#include <optional>

namespace {

constexpr qint64 kMaxExtraFileSize = 16 * 1024;
constexpr qsizetype kMaxExtraLineLength = 4096;
const QString kTravel = QStringLiteral("travel");

// "on -1000 250000"
std::optional<TTravelLimit> ParseTravel(const QString& value) {
    const QStringList parts = value.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 3 || (parts[0] != "on" && parts[0] != "off"))
        return std::nullopt;
    bool lowOk = false, highOk = false;
    TTravelLimit t{parts[0] == "on", parts[1].toLongLong(&lowOk), parts[2].toLongLong(&highOk)};
    if (!lowOk || !highOk || t.low > t.high)
        return std::nullopt;
    return t;
}

std::optional<bool> OnOff(const QString& value) {
    if (value == "on" || value == "off")
        return value == "on";
    return std::nullopt;
}

// One of the named values other than the travel limits; false when it can't be read.
bool TakeValue(const QString& name, const QString& value, TSettings& settings) {
    if (name == "logTimes" || name == "showCodes" || name == "journal") {
        bool& setting = name == "logTimes"    ? settings.LogTimes
                        : name == "showCodes" ? settings.ShowCodes
                                              : settings.KeepJournal;
        const auto on = OnOff(value);
        setting = on.value_or(setting);
        return on.has_value();
    }
    if (name == "sessionLogs") {
        const QStringList parts = value.split(' ', Qt::SkipEmptyParts);
        bool ok = false;
        const auto on = parts.size() == 2 ? OnOff(parts[0]) : std::nullopt;
        const uint copies = parts.size() == 2 ? parts[1].toUInt(&ok) : 0;
        if (!on || !ok || copies < 1 || copies > 1000)
            return false;
        settings.KeepSessionLogs = *on;
        settings.SessionLogCopies = copies;
        return true;
    }
    if (name == "lastFolder") {
        settings.LastFolder = value;
        return true;
    }
    // recent1 .. recent5, in order.
    bool ok = false;
    const int n = name.mid(6).toInt(&ok);
    if (!ok || n < 1 || n > 5 || value.isEmpty())
        return false;
    if (!settings.RecentFiles.contains(value) && settings.RecentFiles.size() < 5)
        settings.RecentFiles.append(value);
    return true;
}

} // namespace

TExtraSettingsFile::TExtraSettingsFile(const TProgramPaths& paths)
    : fileName_(paths.DataFolder() + "/extra-settings.txt") {}

bool TExtraSettingsFile::Load(TSettings& settings) {
    unknownLines_.clear();
    const QFileInfo info(fileName_);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isFile() || info.size() > kMaxExtraFileSize)
        return false;
    QByteArray bytes;
    try {
        TEncodedStream stream(fileName_, TEncodedStream::fmOpenRead, false);
        bytes.resize(qsizetype(std::min<qint64>(stream.Size(), kMaxExtraFileSize)));
        bytes.truncate(qsizetype(std::max<qint64>(0, stream.Read(bytes.data(), bytes.size()))));
    } catch (const EFileError&) {
        return false;
    }
    // A zero byte is damage; the lines after it are read all the same, so that a damaged file
    // written back keeps every setting that could be read.
    bool sound = !bytes.contains('\0');
    bytes.replace('\0', '\n');
    const QStringList lines = SplitFileLines(bytes);
    for (const QString& line : lines) {
        if (line.size() > kMaxExtraLineLength)
            return false;
    }
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const QString name = line.section('=', 0, 0).trimmed();
        const QString value = line.section('=', 1).trimmed();
        if (!line.contains('=')) {
            sound = false;
            continue;
        }
        if (name == "logTimes" || name == "showCodes" || name == "journal" || name == "sessionLogs" ||
            name == "lastFolder" || name.startsWith("recent")) {
            if (!TakeValue(name, value, settings))
                sound = false;
            continue;
        }
        if (name.startsWith(kTravel)) {
            bool ok = false;
            const int channel = name.mid(kTravel.size()).toInt(&ok);
            if (ok && channel >= 1 && channel <= 3) {
                if (const auto travel = ParseTravel(value))
                    settings.Travel[size_t(channel)] = *travel;
                else
                    sound = false;
                continue;
            }
        }
        unknownLines_ << line;
    }
    return sound;
}

QStringList TExtraSettingsFile::Lines(const TSettings& settings) const {
    QStringList lines{"# KVT_Program: settings beyond portp.dat, prp.dat and erp.dat"};
    for (int channel = 1; channel <= 3; ++channel) {
        const TTravelLimit& t = settings.Travel[size_t(channel)];
        lines << QString("%1%2=%3 %4 %5")
                     .arg(kTravel)
                     .arg(channel)
                     .arg(t.on ? "on" : "off")
                     .arg(t.low)
                     .arg(t.high);
    }
    lines << QString("logTimes=%1").arg(settings.LogTimes ? "on" : "off");
    lines << QString("showCodes=%1").arg(settings.ShowCodes ? "on" : "off");
    lines << QString("journal=%1").arg(settings.KeepJournal ? "on" : "off");
    lines << QString("sessionLogs=%1 %2")
                 .arg(settings.KeepSessionLogs ? "on" : "off")
                 .arg(settings.SessionLogCopies);
    if (!settings.LastFolder.isEmpty())
        lines << "lastFolder=" + settings.LastFolder;
    for (qsizetype i = 0; i < settings.RecentFiles.size() && i < 5; ++i)
        lines << QString("recent%1=%2").arg(i + 1).arg(settings.RecentFiles[i]);
    return lines + unknownLines_;
}

void TExtraSettingsFile::Write(const TSettings& settings) const {
    Folders::Make(QFileInfo(fileName_).absolutePath());
    SaveLinesToFile(fileName_, Lines(settings), false);
}
