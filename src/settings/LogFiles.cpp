#include "LogFiles.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "core/SpoolFile.h"
#include "protocol/ReplyLog.h"

#include <cerrno>
#include <cstring>

#include <QDir>

namespace LogFiles {

namespace {

// The name of a file of the Log folder, the folder made when missing.
QString InLogFolder(const TProgramPaths& paths, const QString& fileName) {
    Folders::Make(paths.LogFolder());
    return fileName;
}

// A log file written block by block: what was shed, then the lines kept.
class TLogWriter {
public:
    TLogWriter(const TProgramPaths& paths, const QString& fileName, const TSpoolFile& shed)
        : file_(InLogFolder(paths, fileName), TEncodedStream::fmCreate, false) {
        if (!shed.CopyTo([this](const char* bytes, qsizetype count) { file_.Write(bytes, count); }))
            throw EFileError::CannotCreate(fileName, QString::fromLocal8Bit(std::strerror(EIO)));
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
};

} // namespace

QString ReplyLogFile(const TProgramPaths& paths) {
    return paths.LogFile("port.log");
}

QString OperationLogFile(const TProgramPaths& paths) {
    return paths.LogFile("work.log");
}

void WriteReplyLog(const TProgramPaths& paths, const TSpoolFile& shed, const TReplyLog& log) {
    TLogWriter file(paths, ReplyLogFile(paths), shed);
    for (qsizetype i = 0; i < log.Count(); ++i)
        file.Add(log.LineBytes(i) + "\r\n");
    file.Commit();
}

void WriteOperationLog(const TProgramPaths& paths, const TSpoolFile& shed, const QStringList& lines) {
    TLogWriter file(paths, OperationLogFile(paths), shed);
    for (const QString& line : lines)
        file.Add(JoinLinesForFile({line}));
    file.Commit();
}

} // namespace LogFiles
