#pragma once

#include "CliOptions.h"
#include "CliOutput.h"
#include "core/CommonDatasView.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/ReplyHandler.h"

#include <QEventLoop>
#include <QObject>
#include <QStringList>

#include <memory>

class TSession;
class TTerminationWatch;

// One call of kvtctl: a session over the program folder (its settings, its language, its port
// resolution), the port opened as the window opens it, the command done through the session's
// face alone, and the exit status. It is the session's view: the operation log's lines become
// events, in the words the window shows.
//
// send, command: the lines go out as "Send" sends them; each answer is an event, and the end is
// one too (how far, and why). read, verify: as "Load from device" and "Compare with the command
// list". wait: the channel's reports, as the reply handler reads them (a completion after a
// pause's echo is no completion). ports: the devices, no session.
//
// Exit status: 0 done; 1 the controller refused a line, did not answer, or the program read back
// differs; 2 a bad argument; 3 the port could not be opened; 4 a file could not be read or
// written; 130 stopped by a termination request (after the line being sent has its answer).
class TCliRun : public QObject, public ICommonDatasView {
    Q_OBJECT
public:
    enum Status { Done = 0, Refused = 1, BadArgument = 2, PortFailed = 3, FileFailed = 4, Stopped = 130 };

    explicit TCliRun(TCliOptions options);
    ~TCliRun() override;
    int Run();

    // --- ICommonDatasView: only the log and the recording list speak ---
    void PaintIndicator(int, TRgb) override {}
    void ShowCoordinatesActive(const QString&, bool, bool, bool) override {}
    void EnableSimpleButtons(bool, bool, bool, bool) override {}
    void ShowScale(const QString&, const QString&, const QString&) override {}
    void ShowRounding(const QString&) override {}
    void AddLogLine(const QString& text, bool red) override;
    void AddRecordingLine(const QString& text) override;

private:
    int Ports();
    int Send(const QStringList& lines);
    int SingleLines();
    int ReadBack(const QStringList* compareWith);
    int Wait();
    // The lines of the file argument: a program file pair, or with --plain list lines (- reads
    // standard input). Empty, with the reason told, when it can't be read.
    // With `commandsOnly`, a line that is no command of the controller refuses the file.
    std::optional<QStringList> FileLines(int* status, bool commandsOnly = true);
    // The number, in the file, of list line `index` (0-based): blank lines are skipped.
    int FileLine(int index) const;
    // The figures and findings of the lines, as the window's preview shows them.
    int Preview(const QStringList& lines);
    // A transmission of `lines`, to its end.
    TRWThread::TReport Transmit(const QStringList& lines);
    // A line sent and its answer, as the session took it.
    void LineAnswered(int index, const QString& line, const QString& echo, const QString& status);
    // A report of a channel: the one waited for ends the wait.
    void ChannelReported(int channel, TReplyHandler::Report report, const QString& token);
    void Terminate();
    int Finish(int status) {
        loop_.exit(status);
        return status;
    }

    TCliOptions options_;
    TCliOutput out_;
    std::unique_ptr<TSession> session_;
    std::unique_ptr<TTerminationWatch> watch_;
    QEventLoop loop_;
    QStringList lastRedLines_;
    QList<int> fileLineNumbers_; // --plain: each list line's number in its file
    int waitChannel_ = 0;        // wait: the channel whose reports end the wait
    int waitStatus_ = -1;        // and how it ended
    bool stopRequested_ = false;
    bool portLost_ = false; // the device hung up or was removed

signals:
    // Whatever waits (a transmission, a read) is given up: the device is gone.
    void Abandon();
};
