#pragma once

#include <QString>
#include <QStringList>

class TProgramPaths;

// The two logs a session can leave behind in Log/: port.log, the controller's replies a token per
// line as the reply list holds them, and work.log, the operation log as plain text. Both are plain
// text (not scrambled), a line per entry ended by CR LF, replaced atomically on each save; a
// missing Log folder is made. Each throws EFileError with the stream's text.
namespace LogFiles {
QString ReplyLogFile(const TProgramPaths& paths);
QString OperationLogFile(const TProgramPaths& paths);
void WriteReplyLog(const TProgramPaths& paths, const QStringList& lines);
void WriteOperationLog(const TProgramPaths& paths, const QStringList& lines);
} // namespace LogFiles
