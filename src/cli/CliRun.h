#pragma once

#include "CliFile.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "core/CommonDatasView.h"
#include "core/Settings.h"
#include "session/controller/Sending.h"

#include <QEventLoop>
#include <QObject>
#include <QStringList>

#include <memory>

class TSession;
class TTerminationWatch;
class TCommandList;
class TLang;
struct TReadBack;

// One call of kvtctl: a session over the program folder (its settings, its language, its port
// resolution), the port opened as the window opens it, the command done through the session's
// rooms, and the exit status. It is the view of the session's logs: the operation log's lines
// become events, in the words the window shows.
//
// send, command: the lines go out as "Send" sends them; each answer is an event, and the end is
// one too (how far, and why). read, verify: as "Load from device" and "Compare with the command
// list". wait: the channel's reports, as the sending room tells them (a completion after a
// pause's echo is no completion). ports: the devices, no session.
//
// Exit status: 0 done; 1 the controller refused a line, did not answer, or the program read back
// differs; 2 a bad argument; 3 the port could not be opened; 4 a file (or the output) could not
// be read or written; 5 --timeout ran out first; 130 stopped by a termination request (after the
// line being sent has its answer).
class TCliRun : public QObject, public ILogView {
    Q_OBJECT
public:
    enum Status {
        Done = 0,
        Refused = 1,
        BadArgument = 2,
        PortFailed = 3,
        FileFailed = 4,
        TimedOut = 5,
        Stopped = 130
    };

    explicit TCliRun(TCliOptions options);
    ~TCliRun() override;
    int Run();

    // --- ILogView ---
    void AddLogLine(const QString& text, bool red) override;
    void AddRecordingLine(const QString& text) override;

private:
    int RunCommand();
    // An extra text in the session's language, or the built-in one before there is a session.
    QString Text(int id) const;
    int Ports();
    // send --from-line, --resume: where in the file the sending begins (sendFrom_); the status.
    int ChooseSendStart();
    int Send(const QStringList& lines);
    int SingleLines();
    int ReadBack(const QStringList* compareWith);
    // One read of channel 1 to 3, or of the buffer (0), parsed into `read`; the status, or Done
    // when a whole program came.
    int ReadOne(int channel, TCommandList& read, TReadBack& parsed);
    int Wait();
    // Where a script is refused what the window asks about: a program beyond its travel, a list
    // that would leave the controller recording. The status, or Done.
    int RefuseUnasked(const QStringList& lines);
    // The travel of the preview: --min and --max for every channel, else the program folder's.
    TTravelLimits PreviewTravel() const;
    // The port as the options choose it, opened; the status, or Done.
    int OpenPort();
    // A sending of `lines`, to its end, which is told (the "end" event) as it comes.
    TSendReport SendToEnd(const QStringList& lines);
    void TellEnd(const TSendReport& report, const QStringList& lines);
    // A line sent and its answer, as the session took it.
    void LineAnswered(int index, const QString& line, const QString& echo, const QString& status);
    // A report of a channel: the one waited for ends the wait.
    void ChannelReported(int channel, TChannelReport report, const QString& token);
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
    TCliFile file_;       // the file argument, when the command takes one
    int sendFrom_ = 0;    // send: the file's first list line sent (0-based; --from-line, --resume)
    int waitChannel_ = 0; // wait: the channel whose reports end the wait
    int waitStatus_ = -1; // and how it ended
    bool stopRequested_ = false;
    bool portLost_ = false; // the device hung up or was removed

signals:
    // Whatever waits (a sending, a read) is given up: the device is gone.
    void Abandon();
};
