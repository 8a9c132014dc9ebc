#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QDateTime;

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

// The reply log as port.log holds it, to any file ("Save log as...", a session's copy).
void WriteReplyLogTo(const QString& fileName, const TSpoolFile& shed, const TReplyLog& log);
// The operation log with "! " before each red line (`redShed`: the numbers, ascending, of the
// red lines among those shed; `red`: which of `lines` are), so that an error can be found in the
// text.
void WriteMarkedOperationLog(const QString& fileName, const TSpoolFile& shed,
                             const std::vector<qint64>& redShed, const QStringList& lines,
                             const QList<bool>& red);

// The name of a session's copy of a log: Log/2026-12-07_14-03-22_work.log (`kind` work or port).
QString SessionCopyName(const TProgramPaths& paths, const QDateTime& start, const QString& kind);
// Notes that this program wrote the session copy `fileName`, in its own record (Log/.session-logs,
// a name per line, in the order they were written).
void RecordSessionCopy(const TProgramPaths& paths, const QString& fileName);
// Removes the oldest session copies the record names beyond `keep` of each kind, oldest by the
// order they were written (whatever a clock said), never one of `current` (the closing session's
// own) nor a file the record does not name (an operator's own, named alike); returns how many went.
int PruneSessionCopies(const TProgramPaths& paths, int keep, const QStringList& current = {});
// Removes the helper files a save killed in its middle left in Log and Data (".<name>.kvt-new").
// For the program that holds the folder, at its start.
int RemoveLeftovers(const TProgramPaths& paths);
} // namespace LogFiles
