#pragma once

#include <QString>
#include <QStringList>

class TProgramPaths;
class TReplyLog;

// The two logs a session can leave behind in Log/: port.log, the controller's replies a token per
// line as the reply list holds them, each byte as the line carried it, and work.log, the
// operation log as UTF-8 text. Both are plain (not scrambled), a line per entry ended by CR LF,
// replaced atomically on each save; a missing Log folder is made. Each throws EFileError with the
// stream's text.
namespace LogFiles {
QString ReplyLogFile(const TProgramPaths& paths);
QString OperationLogFile(const TProgramPaths& paths);
void WriteReplyLog(const TProgramPaths& paths, const TReplyLog& log);
void WriteOperationLog(const TProgramPaths& paths, const QStringList& lines);
} // namespace LogFiles
