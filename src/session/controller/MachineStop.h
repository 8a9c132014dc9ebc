#pragma once

#include <QObject>
#include <QString>

class TChannelState;
class TConnection;
class TLang;
class TReplyHandler;
class TRunningChannels;
class TSending;
class IOperationLog;

// The Stop key, and each channel started, paused or stopped on its own. The Stop key: a sending
// in progress stops after the line on its way (its answer taken, the summary logged, a recording
// it left open ended), and then every channel that runs or is paused, as the record of running
// channels knows them, is stopped ("ST n" each, sent as a list is). One log line says what was
// sent, and names the channels of which nothing is known (nothing is sent to them: ST starts a
// channel that stands); with the port closed nothing can be, and the log says so in red.
class TMachineStop : public QObject {
    Q_OBJECT
public:
    TMachineStop(TChannelState& state, const TLang& lang, TSending& sending, TConnection& connection,
                 TRunningChannels& running, TReplyHandler& replies, IOperationLog& log);

    void StopAll();

    // One channel at once, without a list: Start (ST n to a channel that stands), Pause (PS n:
    // pauses a running channel, resumes a paused one), Stop (ST n to a channel that runs).
    enum class Action { Start, Pause, Stop };
    struct TOutcome {
        enum Kind { Sent, Ask, Refused } kind = Sent;
        QString text; // Ask: the question (the channel's state is not known); Refused: why
    };
    // Sends it when the channel's state allows it; when it is not known, only `confirmed`.
    TOutcome ChannelAction(int channel, Action action, bool confirmed = false);
    // Whether `action` fits what is known of `channel` (unknown: it may, after a question).
    bool Allows(int channel, Action action) const;
    // The operator's answer to the recording a lost line left open: ended (ED sent), or left as
    // it is (said in the log). Asked once.
    void EndLeftRecording(bool end);

signals:
    // The Stop key was pressed with the line open: what runs is being stopped.
    void StopAllAsked();

private:
    // "ST n" for each channel that runs, sent; or the log line that none runs.
    void StopChannels();
    // `lines` sent as the Stop key's own; the ST of `stops` are read as stops when answered.
    void SendOwn(const QStringList& lines, const QList<int>& stops);
    // Why `line` cannot go now (the port closed, a list being sent), or Sent.
    TOutcome Refusal(const QString& line) const;

    TChannelState& state_;
    const TLang& lang_;
    TSending& sending_;
    TConnection& connection_;
    TRunningChannels& running_;
    TReplyHandler& replies_;
    IOperationLog& log_;
    bool channelsNext_ = false; // the channels are stopped when the stopped sending has ended
    bool ownSending_ = false;   // the sending under way is this room's
};
