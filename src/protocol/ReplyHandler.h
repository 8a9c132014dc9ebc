#pragma once

#include <QObject>
#include <QString>

#include <functional>

class IScheduler;
class ILineWriter;
class TCommonDatas;
class TLang;
class TNamedEvent;

// Everything the controller sends arrives here. The handler cuts the received text into tokens
// ended by '*' and acts on each: a status token ("E", channel digit, code digit, "*") drives the
// channel states, the operation log and the events the sending threads wait on; any other token
// is the echo of a command, kept as LastReply so that the next status token can be read in its
// light. It also owns the error recovery steps.
//
// It runs on the main thread and reaches the window only through the shared state (channel
// states, operation log, recording list). Delays of the recovery steps go through the
// scheduler, so that the window never sleeps; "ED*" goes out through the writer.
//
// Line noise: a token whose tail is a status token (E, two digits, '*') is that status token,
// and bytes that cannot begin a command (anything but A..Z) are dropped from the front of an
// echo. The transmission compares echoes by the same rule, since it reads what is kept here.
class TReplyHandler : public QObject {
    Q_OBJECT
public:
    TReplyHandler(TCommonDatas& datas, const TLang& lang, TNamedEvent& replyEvent, TNamedEvent& readyEvent,
                  TNamedEvent& readBackEvent, ILineWriter& writer, IScheduler& scheduler);

    // Unterminated text kept at most: garbage without any '*' cannot grow without end.
    static constexpr qsizetype MaxPendingText = 1024;

    // Received characters: appended to the receive buffer, which is then handled.
    void Receive(const QString& text);
    // Received characters not yet cut into tokens.
    const QString& ReceiveBuffer() const { return receiveBuffer_; }

    // Acts on a status token with code 0, 2, 3, 4, 6, 8 or 9.
    void DecodeStatus(const QString& token);

    // BreakCommunication and then ClearReadinessMarks, as the settings ask.
    void RunErrorRecovery();
    // Ends the controller's communication mode: after 200 ms "ED*", after 200 ms more a log line;
    // then `then`, if given.
    void BreakCommunication(std::function<void()> then = {});
    // Empties the receive buffer, LastReply and LastError, sets the ready event, resets the
    // reply event, and logs it.
    void ClearReadinessMarks();

    // Recoveries started and not yet at their end.
    int RecoveriesRunning() const { return recoveriesRunning_; }

    static bool IsStatusToken(const QString& token) { return token.size() == 4 && token[0] == 'E'; }
    // The token as the handler reads it: line noise before a status token or an echo dropped.
    static QString CleanToken(const QString& token);

signals:
    // A communication error (E<n>5*) arrived, before anything is done about it: whatever is
    // being sent must stop first, or the recovery's "ED*" would land between its lines.
    void CommunicationError();

private:
    void HandleReplies();
    void CheckCommunicationError();
    void HandleToken(const QString& token);
    QString Message(int index) const;

    TCommonDatas& datas_;
    const TLang& lang_;
    TNamedEvent& replyEvent_;
    TNamedEvent& readyEvent_;
    TNamedEvent& readBackEvent_;
    ILineWriter& writer_;
    IScheduler& scheduler_;
    QString receiveBuffer_;
    int recoveriesRunning_ = 0;
};
