#include "LogFiles.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "core/SpoolFile.h"
#include "protocol/ReplyLog.h"

#include <cerrno>
#include <cstring>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace LogFiles {

namespace {

// A log file written block by block: what was shed, then the lines kept. `marks` turns each
// shed line into what the file shows of it (the operation log's "! " before red lines); without,
// the shed bytes are copied as they are.
class TLogWriter {
public:
    using TMark = std::function<QByteArray(qint64 lineNumber, const QByteArray& line)>;

    TLogWriter(const QString& fileName, const TSpoolFile& shed, const TMark& mark = {})
        : file_(fileName, TEncodedStream::fmCreate, false) {
        const bool copied =
            mark ? shed.CopyTo([&](const char* bytes, qsizetype count) {
                // Cut into lines (each ended by CR LF); a line may span two blocks.
                QByteArray& open = openLine_;
                for (qsizetype i = 0; i < count; ++i) {
                    open += bytes[i];
                    if (bytes[i] == '\n') {
                        Add(mark(shedLines_++, open));
                        open.clear();
                    }
                }
            })
                 : shed.CopyTo([this](const char* bytes, qsizetype count) { file_.Write(bytes, count); });
        if (!copied)
            throw EFileError::CannotCreate(fileName, QString::fromLocal8Bit(std::strerror(EIO)));
        if (!openLine_.isEmpty())
            Add(mark(shedLines_++, openLine_));
    }
    void Add(const QByteArray& bytes) {
        block_ += bytes;
        if (block_.size() >= (1 << 16))
            Flush();
    }
    void Commit() {
        Flush();
        file_.Commit();
    }

private:
    void Flush() {
        file_.Write(block_.constData(), block_.size());
        block_.clear();
    }
    TEncodedStream file_;
    QByteArray block_;
    QByteArray openLine_;
    qint64 shedLines_ = 0;
};

const QRegularExpression& CopyNamePattern() {
    static const QRegularExpression name(R"(^\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2}_(work|port)\.log$)");
    return name;
}

} // namespace

QString ReplyLogFile(const TProgramPaths& paths) {
    return paths.LogFile("port.log");
}

QString OperationLogFile(const TProgramPaths& paths) {
    return paths.LogFile("work.log");
}

void WriteReplyLog(const TProgramPaths& paths, const TSpoolFile& shed, const TReplyLog& log) {
    Folders::Make(paths.LogFolder());
    WriteReplyLogTo(ReplyLogFile(paths), shed, log);
}

void WriteReplyLogTo(const QString& fileName, const TSpoolFile& shed, const TReplyLog& log) {
    TLogWriter file(fileName, shed);
    for (qsizetype i = 0; i < log.Count(); ++i)
        file.Add(log.Stamp(i).toLatin1() + log.LineBytes(i) + "\r\n");
    file.Commit();
}

void WriteOperationLog(const TProgramPaths& paths, const TSpoolFile& shed, const QStringList& lines) {
    Folders::Make(paths.LogFolder());
    TLogWriter file(OperationLogFile(paths), shed);
    for (const QString& line : lines)
        file.Add(JoinLinesForFile({line}));
    file.Commit();
}

void WriteMarkedOperationLog(const QString& fileName, const TSpoolFile& shed,
                             const std::vector<qint64>& redShed, const QStringList& lines,
                             const QList<bool>& red) {
    const auto mark = [&](qint64 n, const QByteArray& line) {
        return std::binary_search(redShed.begin(), redShed.end(), n) ? "! " + line : line;
    };
    TLogWriter file(fileName, shed, mark);
    for (qsizetype i = 0; i < lines.size(); ++i)
        file.Add(JoinLinesForFile({(red.value(i) ? "! " : "") + lines[i]}));
    file.Commit();
}

QString SessionCopyName(const TProgramPaths& paths, const QDateTime& start, const QString& kind) {
    return paths.LogFile(start.toString("yyyy-MM-dd_HH-mm-ss") + "_" + kind + ".log");
}

namespace {
QString RecordName(const TProgramPaths& paths) {
    return paths.LogFile(".session-logs");
}
QStringList ReadRecord(const TProgramPaths& paths) {
    QFile record(RecordName(paths));
    if (!record.open(QIODevice::ReadOnly) || record.size() > (1 << 20))
        return {};
    QStringList names;
    for (const QString& line : SplitFileLines(record.readAll())) {
        if (!line.trimmed().isEmpty())
            names << line.trimmed();
    }
    return names;
}
} // namespace

void RecordSessionCopy(const TProgramPaths& paths, const QString& fileName) {
    QStringList names = ReadRecord(paths);
    const QString name = QFileInfo(fileName).fileName();
    names.removeAll(name);
    names << name;
    // Only the names still there are kept: the record stays as short as the copies are few.
    QStringList kept;
    for (const QString& n : names) {
        if (QFileInfo::exists(paths.LogFile(n)))
            kept << n;
    }
    SaveLinesToFile(RecordName(paths), kept, false);
}

int PruneSessionCopies(const TProgramPaths& paths, int keep, const QStringList& current) {
    const QStringList record = ReadRecord(paths);
    QStringList currentNames;
    for (const QString& file : current)
        currentNames << QFileInfo(file).fileName();
    int removed = 0;
    QStringList left;
    for (const QString kind : {"work", "port"}) {
        QStringList copies; // in the order they were written
        for (const QString& name : record) {
            if (CopyNamePattern().match(name).hasMatch() && name.endsWith("_" + kind + ".log") &&
                QFileInfo::exists(paths.LogFile(name)))
                copies << name;
        }
        for (qsizetype i = 0; i < copies.size(); ++i) {
            const bool tooMany = copies.size() - i > keep;
            if (tooMany && !currentNames.contains(copies[i]) && QFile::remove(paths.LogFile(copies[i])))
                ++removed;
            else
                left << copies[i];
        }
    }
    if (removed > 0) {
        QStringList kept;
        for (const QString& name : record) {
            if (left.contains(name))
                kept << name;
        }
        SaveLinesToFile(RecordName(paths), kept, false);
    }
    return removed;
}

int RemoveLeftovers(const TProgramPaths& paths) {
    int removed = 0;
    for (const QString& folder : {paths.LogFolder(), paths.DataFolder()}) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({".*.kvt-new"}, QDir::Files | QDir::Hidden | QDir::System))
            removed += QFile::remove(dir.filePath(name)) ? 1 : 0;
    }
    return removed;
}

} // namespace LogFiles
