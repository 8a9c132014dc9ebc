#pragma once

#include "OperationLogLines.h"
#include "core/CommonDatasView.h"

#include <QDateTime>

#include <memory>

class TProgramPaths;
class TReplyLog;
class TSpoolFile;
struct TSettings;

// The session's two logs: the operation log (every line the window's log shows, the time before
// it when the settings ask) and the reply log (every character the controller sent, a token per
// line). It keeps every line of the session, the recent ones in memory and the older ones on the
// disk, writes work.log and port.log and this session's copies of both at the close, and saves
// either log under any name.
//
// It stands between the shared state and the face of the program: the state's view (View())
// records each log line here and passes it, with the indicators and captions, to the window or
// to kvtctl.
class TSessionLogs {
public:
    TSessionLogs(const TProgramPaths& paths, ILogView& logView, IStateView* stateView);
    ~TSessionLogs();
    TSessionLogs(const TSessionLogs&) = delete;
    TSessionLogs& operator=(const TSessionLogs&) = delete;

    // The view the shared state writes to.
    ICommonDatasView& View();
    // A line of the operation log.
    void Log(const QString& text, bool red = false);

    const TReplyLog& ReplyLog() const { return *replyLog_; }
    TReplyLog& ReplyLog() { return *replyLog_; }
    // The operation log as work.log will hold it: the recent lines (older ones are on the disk).
    const TOperationLogLines& OperationLog() const { return operationLog_; }
    // How many recent lines each log keeps in memory.
    void SetKeep(qsizetype replyLines, qsizetype operationLines);
    // The time before each line, in the window and the files, as the settings say.
    void ShowTimes(bool on);
    // The folder the logs are written to.
    const QString& Folder() const { return folder_; }
    // When this session began (its copies are named by it).
    const QDateTime& Started() const { return started_; }

    // "Save log as...": the operation log with "! " before red lines, or the reply list as
    // port.log holds it; the whole session either way. A name that is no regular file is
    // refused (`notRegular`, the reason). Throws EFileError.
    void SaveOperationLogAs(const QString& fileName, const QString& notRegular) const;
    void SaveReplyLogAs(const QString& fileName, const QString& notRegular) const;
    // At the close, as the settings say: work.log, port.log. Throws EFileError.
    void WriteOnClose(const TSettings& settings) const;
    // Then this session's copies, when kept (the oldest the program wrote removed beyond their
    // count): what could not be written, in the operator's words.
    QStringList WriteSessionCopies(const TSettings& settings) const;

private:
    class TTeeView;
    const TProgramPaths& paths_;
    const QString folder_;
    TOperationLogLines operationLog_;
    std::unique_ptr<TSpoolFile> replySpool_;
    std::unique_ptr<TReplyLog> replyLog_;
    std::unique_ptr<TTeeView> view_;
    QDateTime started_ = QDateTime::currentDateTime();
};
