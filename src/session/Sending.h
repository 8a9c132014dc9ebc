#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class TCommonDatas;
class TConnection;
class TLang;
class TReplyHandler;
class TRWThread;
class IOperationLog;

// How a sending ended: where, and why (Stopped: at once, by the program; StoppedByOperator:
// between two lines, at the operator's request).
struct TSendReport {
    enum class End {
        Completed,
        NoAnswer,
        CommandError,
        DataError,
        CommunicationError,
        PortClosed,
        Stopped,
        StoppedByOperator
    };
    End end = End::Completed;
    int index =
        0; // 0-based: the line it ended at (the count when all were sent; the first not sent when stopped)
    QString line;  // that line
    int count = 0; // lines of the list
    int sent = 0;  // lines written
};

// What a channel reports of its program, as the replies are read (a completion after a pause's
// echo is no completion).
enum class TChannelReport { Completed, Paused, ExecutionError, Resumed };

// Sending: one list at a time, line by line, each line answered before the next goes out. It
// tells each line's answer and each channel's report; logs how a list of more than one line
// ended; ends a recording a whole list left open ("ED*"); waits, before the first line, for an
// answer a line still owes (also one an earlier session on the device left owed). It also sets
// the channels' selection and states by hand, and runs the recovery steps.
class TSending : public QObject {
    Q_OBJECT
public:
    // Whether the list is the program's whole list ("Send", the simple mode's buttons, a script)
    // or a single command of Direct Control, whose recording the operator ends.
    enum class Kind { WholeList, DirectCommand };
    enum class Start { Started, AlreadyRunning };

    TSending(TCommonDatas& datas, const TLang& lang, TReplyHandler& replies, TConnection& connection,
             IOperationLog& log);
    ~TSending() override;

    // Unless a list is being sent, starts sending `lines` (copied).
    Start Send(const QStringList& lines, Kind kind = Kind::WholeList);
    // From Send until its end has been handled here (its log lines written).
    bool IsSending() const { return thread_ != nullptr; }
    // The operator's stop: no line goes out after the one being sent, once it has its answer or
    // its reply time has run out. False when nothing is being sent.
    bool StopAfterLine();
    // Stops at once and waits for the sending thread.
    void StopNow();
    // How far the running sending is.
    struct TProgress {
        int line = 0;  // 1-based, the line waiting for its answer
        int count = 0; // lines of the list
        qint64 elapsedMs = 0;
    };
    std::optional<TProgress> Progress() const;
    // The words the operation log has for an end: how far it went, and why.
    QString Summary(const TSendReport& report) const;

    // A program is being written into the controller: a channel is in communication mode.
    bool RecordingUnderWay() const;
    // Before a close: a sending stops at once (its summary logged); a recording left open is
    // ended ("ED*" sent, and logged).
    void EndForClose();

    // The channels the simple mode acts on, and the states the operator gives them by hand
    // (states 0 to 3 in turn, within each the channels 1 to 3, so that the last one set decides
    // the simple-mode buttons).
    void SetChannelsActive(bool a, bool b, bool c);
    void SetChannelStates(const std::array<quint8, 3>& states);

    // What the channels are now: their states (0 standby .. 3), and which are selected.
    std::array<quint8, 3> ChannelStates() const;
    std::array<bool, 3> ChannelsActive() const;

    // The recovery steps: the log says that the operator began them (Began); the channels
    // leave communication mode ("ED*" after 200 ms); the reply buffer and the last reply and
    // error are cleared; or both, as the settings ask (as after an error the controller reported).
    enum class Recovery { Began, EndCommunication, ClearReadiness, RunAll };
    void Recover(Recovery step);

signals:
    void Started(int count);
    void Ended(const TSendReport& report);
    // Line `index` (0-based) of the list being sent was answered: its echo and status.
    void LineAnswered(int index, const QString& line, const QString& echo, const QString& status);
    void ChannelReported(int channel, TChannelReport report, const QString& token);

private:
    void ThreadEnded(quint64 serial, const TSendReport& report);
    void TellAnswers(quint64 throughSerial);
    void EndRecordingLeftOpen(const TSendReport& report, bool wholeList);
    int OwedQuietMs() const;

    TCommonDatas& datas_;
    const TLang& lang_;
    TReplyHandler& replies_;
    TConnection& connection_;
    IOperationLog& log_;
    std::unique_ptr<TRWThread> thread_; // the running sending, or none
    QElapsedTimer elapsed_;
    bool closing_ = false;     // EndForClose has begun
    quint64 loggedSerial_ = 0; // a sending whose end was logged already (at a close)
    quint64 directSerial_ = 0; // the last sending of a single command of Direct Control
};

Q_DECLARE_METATYPE(TSendReport)
