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

int PruneSessionCopies(const TProgramPaths& paths, int keep) {
    const QDir folder(paths.LogFolder());
    int removed = 0;
    for (const QString kind : {"work", "port"}) {
        QStringList copies;
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
            if (CopyNamePattern().match(name).hasMatch() && name.endsWith("_" + kind + ".log"))
                copies << name;
        }
        // The names sort by the session's start: the oldest go first.
        for (qsizetype i = 0; i + keep < copies.size(); ++i)
            removed += QFile::remove(folder.filePath(copies[i])) ? 1 : 0;
    }
    return removed;
}

} // namespace LogFiles
