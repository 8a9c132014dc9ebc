#pragma once

#include "ControllerBasis.h"
#include "ReplyReader.h"
#include "core/SettingsView.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class IScheduler;
class ILineWriter;
class ILogView;
class TChannelState;
class TLang;
class TNamedEvent;
class TReplyLog;

// Everything the controller sends arrives here. Its reader (TReplyReader, on the port's read
// thread) cuts the received text into tokens and answers the waiting sending at once; the
// handler takes the reader's queue on the main thread, in order, and acts on each token: a status
// token ("E", channel digit, code digit, "*") drives the channel states and the operation log;
// any other token is the echo of a command, kept as LastReply so that the next status token can
// be read in its light, and collected while a program is read back (the read-back event tells
// the waiting read). It also owns the error recovery steps, and adds every received character
// to the reply log. What needs a message box (a program error, a communication error) it
// reports by Alert; the window shows it.
//
// It reaches the window only through the controller's channel state and the log view (operation
// log, recording list). It keeps the last reply and the last error seen on the line, and the
// text collected while a program is read back. Delays of the recovery steps go through the scheduler, so that
// the window never sleeps; "ED*" goes out through the writer. While characters stream in, the queue is taken
// at most every 25 ms and in slices of a few milliseconds, so that the window stays responsive and its cost
// does not grow with the rate of the line.
class TReplyHandler : public QObject {
    Q_OBJECT
public:
    enum class Report { Completed, Paused, ExecutionError, Resumed };
    Q_ENUM(Report)

    TReplyHandler(const TControllerBasis& basis, TNamedEvent& readBackEvent, ILineWriter& writer,
                  IScheduler& scheduler, ILogView& log, TReplyLog* replyLog = nullptr);

    // Unterminated text kept at most: garbage without any '*' cannot grow without end.
    static constexpr qsizetype MaxPendingText = TReplyReader::MaxPendingText;

    // What the port's read thread hands its chunks to.
    TReplyReader& Reader() { return reader_; }

    // Received characters, cut and handled at once on this thread (for callers without a read
    // thread, and the tests).
    void Receive(const QString& text);
    // Received characters not yet cut into tokens.
    QString ReceiveBuffer() const { return reader_.PendingText(); }
    // The last echo (a reply token that was no status token), the last status token (emptied by
    // every other token), and what a read-back collected.
    const QString& LastReply() const { return lastReply_; }
    const QString& LastError() const { return lastError_; }
    const QString& ReadBackText() const { return readBackText_; }
    // Acts on everything the reader had queued when it was called, now: whoever reports what a
    // sending or a read did first brings the state up to what was received until then.
    // What comes meanwhile waits for its turn (a stream that never ends cannot hold it).
    void HandleReceivedSoFar();

    // A read-back the session started: tokens are collected (ReadBackText) from the request's
    // echo until a token ends the program ("ED*", the read-back event set) or the most a program
    // can hold has come (the event set as well). Nothing is collected for a read not begun here.
    static constexpr int MaxReadBackTokens = 65535 + 2; // the lines, the request's echo and ED
    void BeginReadBack();
    // Ends the collection and empties what was collected.
    void EndReadBack();

    // Acts on a status token with code 0, 2, 3, 4, 6, 8 or 9.
    void DecodeStatus(const QString& token);
    // The ST n about to be sent to these channels stop them (the Stop key's): their acceptance is
    // logged as a stop, not as a start, and leaves the channel's state to the end it reports.
    void ExpectStops(const QList<int>& channels) { stopsExpected_ = channels; }

    // BreakCommunication and then ClearReadinessMarks, as the settings ask.
    void RunErrorRecovery();
    // Ends the controller's communication mode: after 200 ms "ED*", after 200 ms more a log line;
    // then `then`, if given.
    void BreakCommunication(std::function<void()> then = {});
    // Empties the receive buffer, LastReply and LastError, and logs it.
    void ClearReadinessMarks();

    // Recoveries started and not yet at their end.
    int RecoveriesRunning() const { return recoveriesRunning_; }

    static bool IsStatusToken(const QString& token) { return TReplyReader::IsStatusToken(token); }
    // The token as the handler reads it: line noise before a status token or an echo dropped.
    static QString CleanToken(const QString& token) { return TReplyReader::CleanToken(token); }

signals:
    // A communication error (E<n>5*) arrived, before anything is done about it: whatever is
    // being sent must stop first, or the recovery's "ED*" would land between its lines.
    void CommunicationError();
    // Characters were added to the reply log.
    void CharactersReceived();
    // A whole token (an echo or a status) is about to be acted on: its log lines follow.
    // `serial` is its place among all tokens received.
    void TokenArrived(const QString& token, quint64 serial);
    // What a channel reports of its program, as read here (a completion after a pause's echo is
    // no completion).
    void ChannelReported(int channel, TReplyHandler::Report report, const QString& token);
    // A text for a message box: a program error (E<n>3*) or a communication error.
    void Alert(const QString& text);

private:
    // Called, queued, when the reader's queue stops being empty.
    void ItemsArrived();
    // Acts on queued items for about `budgetMs` (or, when negative, on those of chunks up to
    // `throughChunk`); true when more wait.
    bool HandleQueued(int budgetMs, quint64 throughChunk = 0);
    void CollectReadBack(const QString& token);
    void HandleCommunicationError(const QString& error);
    void RunRecovery(const ISettingsView::TReactions& reactions);
    void HandleToken(const QString& token, quint64 serial);
    QString Message(int index) const;

    const TControllerBasis basis_;
    TNamedEvent& readBackEvent_;
    ILineWriter& writer_;
    IScheduler& scheduler_;
    ILogView& log_;
    TReplyLog* replyLog_;
    TReplyReader reader_;
    QString lastReply_ = "  ", lastError_, readBackText_;
    QTimer handleTimer_;
    QElapsedTimer sinceHandled_;
    quint64 currentChunk_ = 0;
    quint64 clearedThrough_ = 0; // items of chunks up to this one were dropped by a clearing
    int recoveriesRunning_ = 0;
    bool handling_ = false; // inside HandleQueued: a nested call (from a nested event loop) waits
    bool readBackExpected_ = false;
    QList<int> stopsExpected_;
    int readBackTokens_ = 0;
};
