#pragma once

#include <QObject>

#include <memory>

class ILogView;
class IStateView;
class TChannelState;
class TChannels;
class ISettingsView;
class TConnection;
class TControllerJournal;
class TKVTCommands;
class TLang;
class TMachineStop;
class TProgramPaths;
class TReadingBack;
class TReplyHandler;
class TReplyLog;
class TRunningChannels;
class TSending;

// One controller, whole: what the program knows and does of one controller on one line. It makes
// its parts in order (the channel state, the line, the replies, then the rooms that stand on
// them), wires them, and ends them in order. It reads the operator's settings, the language and
// the vocabulary and never writes them; it knows nothing of the command list or the files:
//
//   State()       its three channels: their states, which are selected, which run
//   Connection()  the line: the port or address, its settings, a device lost and back
//   Replies()     what the controller says: the tokens, the channel reports, the recovery steps
//   Sending()     one list at a time, line by line, each line's answer; what the line owes
//   Channels()    the channels by hand: their selection, the recovery steps
//   ReadBack()    the program the controller holds, read and parsed (the workplace compares it)
//   Running()     which channels run, as far as what the controller took and said tells
//   MachineStop() the Stop key: the sending, then every channel that runs; a channel by hand
//   Journal()     the run journal: what happened to it, with the time, in the program folder
//
// A second controller is a second TController on its own line, with its own state and logs.
// It lives on the main thread.
class TController : public QObject {
    Q_OBJECT
public:
    // `view` shows the channel state, `log` the operation log and the recording list, `replyLog`
    // (if any) keeps every received character. The line is not opened yet: the port number is
    // the settings' until the operator chooses another.
    TController(const TProgramPaths& paths, const ISettingsView& datas, const TLang& lang,
                const TKVTCommands& commands, IStateView& view, ILogView& log, TReplyLog* replyLog);
    // Shutdown, then the parts go.
    ~TController() override;
    TController(const TController&) = delete;
    TController& operator=(const TController&) = delete;

    TChannelState& State();
    const TChannelState& State() const;
    TConnection& Connection();
    const TConnection& Connection() const;
    TReplyHandler& Replies();
    TSending& Sending();
    TChannels& Channels();
    TReadingBack& ReadBack();
    TRunningChannels& Running();
    TMachineStop& MachineStop();
    TControllerJournal& Journal();

    // A read and a sending under way stop at once and the line closes (what it owes kept for
    // the next session); what listens to them is told while it is still there.
    void Shutdown();

signals:
    // A text for a message box: a program error or a communication error of the controller.
    void Alert(const QString& text);
    // Characters came from the controller (the reply log has them).
    void Received();

private:
    struct TParts;
    std::unique_ptr<TParts> parts_;
};
