#include "LogFiles.h"

#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "protocol/ReplyLog.h"

#include <QDir>

namespace LogFiles {

namespace {
void Write(const TProgramPaths& paths, const QString& fileName, const QStringList& lines) {
    QDir().mkpath(paths.LogFolder());
    SaveLinesToFile(fileName, lines, false);
}
} // namespace

QString ReplyLogFile(const TProgramPaths& paths) {
    return paths.LogFile("port.log");
}

QString OperationLogFile(const TProgramPaths& paths) {
    return paths.LogFile("work.log");
}

void WriteReplyLog(const TProgramPaths& paths, const TReplyLog& log) {
    QDir().mkpath(paths.LogFolder());
    TEncodedStream file(ReplyLogFile(paths), TEncodedStream::fmCreate, false);
    QByteArray block;
    for (qsizetype i = 0; i < log.Count(); ++i) {
        block += log.LineBytes(i) + "\r\n";
        if (block.size() >= (1 << 16)) {
            file.Write(block.constData(), block.size());
            block.clear();
        }
    }
    file.Write(block.constData(), block.size());
    file.Commit();
}

void WriteOperationLog(const TProgramPaths& paths, const QStringList& lines) {
    Write(paths, OperationLogFile(paths), lines);
}

} // namespace LogFiles
