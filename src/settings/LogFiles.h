#pragma once

#include <QString>
#include <QStringList>

class TProgramPaths;
class TReplyLog;
class TSpoolFile;

// The two logs a session can leave behind in Log/: port.log, the controller's replies a token per
// line as the reply list holds them, each byte as the line carried it, and work.log, the
// operation log as UTF-8 text. Both are plain (not scrambled), a line per entry ended by CR LF,
// replaced atomically on each save; a missing Log folder is made. Each writes, as a stream, first
// what the session shed to its spool file, then the lines it keeps, so that no file is ever built
// whole in memory. Each throws EFileError with the stream's text.
namespace LogFiles {
QString ReplyLogFile(const TProgramPaths& paths);
QString OperationLogFile(const TProgramPaths& paths);
void WriteReplyLog(const TProgramPaths& paths, const TSpoolFile& shed, const TReplyLog& log);
void WriteOperationLog(const TProgramPaths& paths, const TSpoolFile& shed, const QStringList& lines);
} // namespace LogFiles
