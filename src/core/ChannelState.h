#pragma once

#include "CommonDatasView.h"

#include <QtGlobal>

#include <array>

class ISettingsView;

// The state of one controller's three channels ("coordinates" 1..3) as the program follows it:
// each channel's state (0 standby, 1 program executing, 2 communication, 3 pause), which are
// selected for the simple mode, which run a program not yet reported finished, and the flags
// that follow from them. It is read through its getters and changed only through its setters,
// each of which brings the window (IStateView) into line at once: the indicators, the
// coordinates' caption and boxes, the simple mode's buttons, and for a program started the log
// line that says so. The texts it composes and the control mode are the operator's (TCommonDatas).
// It lives on the main thread.
class TChannelState {
public:
    static constexpr int ChannelCount = 3;
    enum States : quint8 { Standby = 0, Executing = 1, Communication = 2, Paused = 3 };
    // Indicator colour of each state 0..3, as 0xRRGGBB: green, red, yellow, black.
    static constexpr std::array<TRgb, 4> IndicatorColours{0x008000, 0xFF0000, 0xFFFF00, 0x000000};

    // Channel 1 selected, every channel in standby, as at every start.
    TChannelState(const ISettingsView& datas, IStateView& view, IOperationLog& log);
    TChannelState(const TChannelState&) = delete;
    TChannelState& operator=(const TChannelState&) = delete;

    // --- what the channels are (channel 1..3; anything else: standby, not selected) ---
    quint8 State(int channel) const { return Valid(channel) ? states_[size_t(channel)] : quint8(Standby); }
    bool Active(int channel) const { return Valid(channel) && active_[size_t(channel)]; }
    bool Running(int channel) const { return Valid(channel) && running_[size_t(channel)]; }
    std::array<quint8, ChannelCount> States() const { return {states_[1], states_[2], states_[3]}; }
    // A channel runs a program not yet reported finished (any of them).
    bool ProgramRunning() const { return programRunning_; }
    // The last state change put a channel into communication mode.
    bool CommMode() const { return commMode_; }
    // Tokens are being collected for a program read back.
    bool ReadBackActive() const { return readBackActive_; }
    // Whether any channel is in communication mode now.
    bool AnyRecording() const;

    // --- the setters ---
    void SetCoordActive(int channel, bool value);
    void SetCoordsActive(bool a, bool b, bool c);
    void ShowCoordsActive();
    void SetCoordState(int channel, quint8 state);
    void SetCoordStates(quint8 a, quint8 b, quint8 c);
    void PaintIndicators();
    void EnableSimpleButtons(bool a, bool b, bool c, bool d);
    void SetCoordRunning(int channel, bool value);
    // The simple mode's Stop raises it even when no channel qualifies.
    void SetProgramRunning(bool value) { programRunning_ = value; }
    // A line opened or lost: no channel is in communication mode any more (a running or paused
    // one keeps its state), and no read is under way.
    void ForgetCommunication();
    void SetReadBackActive(bool value) { readBackActive_ = value; }

private:
    static bool Valid(int channel) { return channel >= 1 && channel <= ChannelCount; }

    const ISettingsView& datas_;
    IStateView& view_;
    IOperationLog& log_;
    std::array<quint8, ChannelCount + 1> states_{};
    std::array<bool, ChannelCount + 1> active_{};
    std::array<bool, ChannelCount + 1> running_{};
    bool programRunning_ = false;
    bool commMode_ = false;
    bool readBackActive_ = false;
};
