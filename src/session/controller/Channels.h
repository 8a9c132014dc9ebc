#pragma once

#include <QtGlobal>

#include <array>

class IOperationLog;
class TChannelState;
class TLang;
class TReplyHandler;
class TRunningChannels;

// The controller's channels as the operator sets them by hand: which of them the simple mode acts
// on, the states the indicators show, and the recovery steps after an error of the controller's.
class TChannels {
public:
    TChannels(TChannelState& state, const TLang& lang, TReplyHandler& replies, TRunningChannels& running,
              IOperationLog& log);

    // What the channels are now: their states (0 standby .. 3 paused), and which are selected.
    std::array<quint8, 3> States() const;
    std::array<bool, 3> Selected() const;
    // The channels the simple mode acts on.
    void Select(bool a, bool b, bool c);
    // The states the operator gives them (states 0 to 3 in turn, within each the channels 1 to
    // 3, so that the last one set decides the simple-mode buttons); the record of running
    // channels takes the operator's word too.
    void SetStates(const std::array<quint8, 3>& states);

    // The recovery steps: the log says that the operator began them (Began); the channels
    // leave communication mode ("ED*" after 200 ms); the reply buffer and the last reply and
    // error are cleared; or both, as the settings ask (as after an error the controller reported).
    enum class Recovery { Began, EndCommunication, ClearReadiness, RunAll };
    void Recover(Recovery step);

private:
    TChannelState& state_;
    const TLang& lang_;
    TReplyHandler& replies_;
    TRunningChannels& running_;
    IOperationLog& log_;
};
