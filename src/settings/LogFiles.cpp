#include "LogFiles.h"

#include "core/EncodStr.h"
#include "core/ProgramPaths.h"

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

void WriteReplyLog(const TProgramPaths& paths, const QStringList& lines) {
    Write(paths, ReplyLogFile(paths), lines);
}

void WriteOperationLog(const TProgramPaths& paths, const QStringList& lines) {
    Write(paths, OperationLogFile(paths), lines);
}

} // namespace LogFiles
