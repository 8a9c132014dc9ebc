#pragma once

#include "SendReport.h"
#include "protocol/ControllerBasis.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class TChannelState;
class ISettingsView;
class TConnection;
class TLang;
class TReplyHandler;
class TRWThread;
class IOperationLog;

// Where the lines of a sending come from, for the journal: the program file, if any, and the
// place of the first line in that file's list (0-based; more than 0 for a resumed sending).
struct TSendOrigin {
    QString file;
    int from = 0;
};

// Sending: one list at a time, line by line, each line answered before the next goes out. It
// tells each line's answer and each channel's report; logs how a list of more than one line
// ended; ends a recording a whole list left open ("ED*"); waits, before the first line, for an
// answer a line still owes (also one an earlier session on the device left owed).
class TSending : public QObject {
    Q_OBJECT
public:
    // Whether the list is the program's whole list ("Send", the simple mode's buttons, a script),
    // a single command of Direct Control, whose recording the operator ends, or lines of their
    // own that are no list the window shows (a user button, the Stop key's), sent as a list is.
    enum class Kind { WholeList, DirectCommand, OwnLines };
    enum class Start { Started, AlreadyRunning };

    TSending(const TControllerBasis& basis, TReplyHandler& replies, TConnection& connection,
             IOperationLog& log);
    ~TSending() override;

    // Unless a list is being sent, starts sending `lines` (copied).
    Start Send(const QStringList& lines, Kind kind = Kind::WholeList, const TSendOrigin& origin = {});
    // From Send until its end has been handled here (its log lines written).
    bool IsSending() const { return thread_ != nullptr; }
    // What the running (or last) sending sends.
    Kind SendingKind() const { return kind_; }
    const QStringList& Lines() const { return lines_; }
    const TSendOrigin& Origin() const { return origin_; }
    // The operator's stop: no line goes out after the one being sent, once it has its answer or
    // its reply time has run out. False when nothing is being sent.
    bool StopAfterLine();
    // Stops at once and waits for the sending thread; the answers it took are told.
    void StopNow();
    // How far the running sending is.
    struct TProgress {
        int line = 0;  // 1-based, the line waiting for its answer
        int count = 0; // lines of the list
        qint64 elapsedMs = 0;
    };
    std::optional<TProgress> Progress() const;

    // What the last whole list stopped inside a recording left in its channel, in the log's
    // words (empty when it did not).
    const QString& ShorterProgram() const { return shorter_; }
    // A program is being written into the controller: a channel is in communication mode.
    bool RecordingUnderWay() const;
    // Before a close: a sending stops at once (its summary logged); a recording left open is
    // ended ("ED*" sent, and logged).
    void EndForClose();

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

    const TControllerBasis basis_;
    TReplyHandler& replies_;
    TConnection& connection_;
    IOperationLog& log_;
    std::unique_ptr<TRWThread> thread_; // the running sending, or none
    QElapsedTimer elapsed_;
    bool closing_ = false;     // EndForClose has begun
    quint64 loggedSerial_ = 0; // a sending whose end was logged already (at a close)
    quint64 directSerial_ = 0; // the last sending of a single command of Direct Control
    Kind kind_ = Kind::WholeList;
    QStringList lines_;  // of the running (or last) sending
    TSendOrigin origin_; // where they came from
    QString shorter_;
};
