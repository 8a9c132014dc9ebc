#include "ChannelState.h"

#include "SettingsView.h"

TChannelState::TChannelState(const ISettingsView& datas, IStateView& view, IOperationLog& log)
    : datas_(datas), view_(view), log_(log) {
    for (int n = 1; n <= ChannelCount; ++n)
        SetCoordRunning(n, false);
    SetCoordsActive(true, false, false);
    SetCoordStates(Standby, Standby, Standby);
}

bool TChannelState::AnyRecording() const {
    for (int n = 1; n <= ChannelCount; ++n) {
        if (states_[size_t(n)] == Communication)
            return true;
    }
    return false;
}

void TChannelState::SetCoordActive(int channel, bool value) {
    if (!Valid(channel))
        return;
    active_[size_t(channel)] = value;
    ShowCoordsActive();
}

void TChannelState::SetCoordsActive(bool a, bool b, bool c) {
    SetCoordActive(1, a);
    SetCoordActive(2, b);
    SetCoordActive(3, c);
    ShowCoordsActive();
}

void TChannelState::ShowCoordsActive() {
    QString caption = datas_.Texts().CoordinatesText;
    for (int n = 1; n <= ChannelCount; ++n) {
        if (active_[size_t(n)])
            caption += QString::number(n) + "  ";
    }
    view_.ShowCoordinatesActive(caption, active_[1], active_[2], active_[3]);
}

void TChannelState::SetCoordState(int channel, quint8 state) {
    if (!Valid(channel))
        return;
    states_[size_t(channel)] = state;
    if (state == Communication) {
        commMode_ = true;
        EnableSimpleButtons(false, false, false, false);
    } else {
        commMode_ = false;
        if (datas_.Settings().ControlMode == TSettings::SimpleMode)
            EnableSimpleButtons(true, true, true, true);
    }
    if (state == Executing)
        log_.AddLogLine(datas_.Texts().CoordText + QString(" %1: ").arg(channel) +
                        datas_.Texts().ExecutingText);
    PaintIndicators();
}

void TChannelState::SetCoordStates(quint8 a, quint8 b, quint8 c) {
    SetCoordState(1, a);
    SetCoordState(2, b);
    SetCoordState(3, c);
}

void TChannelState::PaintIndicators() {
    for (int n = 1; n <= ChannelCount; ++n) {
        if (states_[size_t(n)] < IndicatorColours.size())
            view_.PaintIndicator(n, IndicatorColours[states_[size_t(n)]]);
    }
}

void TChannelState::EnableSimpleButtons(bool a, bool b, bool c, bool d) {
    view_.EnableSimpleButtons(a, b, c, d);
}

void TChannelState::SetCoordRunning(int channel, bool value) {
    if (!Valid(channel))
        return;
    running_[size_t(channel)] = value;
    programRunning_ = running_[1] || running_[2] || running_[3];
}

void TChannelState::ForgetCommunication() {
    for (int n = 1; n <= ChannelCount; ++n) {
        if (states_[size_t(n)] == Communication)
            SetCoordState(n, Standby);
    }
    commMode_ = false;
    readBackActive_ = false;
}
