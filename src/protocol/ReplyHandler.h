#pragma once

#include "core/OperationLog.h"

#include <QString>

#include <functional>

class TCommonDatas;
class TLang;
class TNamedEvent;

// What the reply handler needs of the main window besides the operation log.
class IReplyView : public virtual IOperationLog {
public:
    // Adds a line to the recording list "Loading:".
    virtual void AddRecordingLine(const QString& text) = 0;
};

// Everything the controller sends arrives here. The handler cuts the received text into tokens
// ended by '*' and acts on each: a status token ("E", channel digit, code digit, "*") drives the
// channel states, the operation log and the events the sending threads wait on; any other token
// is the echo of a command, kept as LastReply so that the next status token can be read in its
// light. It also owns the error recovery steps.
//
// It runs on the main thread. Delays of the recovery steps go through `after`, so that the
// window never sleeps.
class TReplyHandler {
public:
    using Writer = std::function<bool(const QString&)>;
    using Scheduler = std::function<void(int milliseconds, std::function<void()>)>;

    TReplyHandler(TCommonDatas& datas, const TLang& lang, IReplyView& view, TNamedEvent& replyEvent,
                  TNamedEvent& readyEvent, TNamedEvent& readBackEvent, Writer write, Scheduler after);

    // Received characters not yet cut into tokens.
    QString ReceiveBuffer;
    // Unterminated text kept at most: garbage without any '*' cannot grow without end.
    static constexpr qsizetype MaxPendingText = 1024;

    // `text` becomes the new content of ReceiveBuffer and is handled.
    void HandleReplies(const QString& text);
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
    bool RecoveryRunning() const { return recoveryRunning_; }

    static bool IsStatusToken(const QString& token) { return token.size() == 4 && token[0] == 'E'; }

private:
    void CheckCommunicationError();
    void HandleToken(const QString& token);
    QString Message(int index) const;

    TCommonDatas& datas_;
    const TLang& lang_;
    IReplyView& view_;
    TNamedEvent& replyEvent_;
    TNamedEvent& readyEvent_;
    TNamedEvent& readBackEvent_;
    Writer write_;
    Scheduler after_;
    bool recoveryRunning_ = false;
};
