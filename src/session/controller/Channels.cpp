#include "Channels.h"

#include "RunningChannels.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyHandler.h"

TChannels::TChannels(TChannelState& state, const TLang& lang, TReplyHandler& replies,
                     TRunningChannels& running, IOperationLog& log)
    : state_(state), lang_(lang), replies_(replies), running_(running), log_(log) {}

std::array<quint8, 3> TChannels::States() const {
    return {state_.State(1), state_.State(2), state_.State(3)};
}

std::array<bool, 3> TChannels::Selected() const {
    return {state_.Active(1), state_.Active(2), state_.Active(3)};
}

void TChannels::Select(bool a, bool b, bool c) {
    state_.SetCoordsActive(a, b, c);
}

void TChannels::SetStates(const std::array<quint8, 3>& states) {
    for (quint8 state = 0; state <= 3; ++state) {
        for (int channel = 1; channel <= 3; ++channel) {
            if (states[size_t(channel - 1)] == state) {
                state_.SetCoordState(channel, state);
                running_.SetByHand(channel, state);
            }
        }
    }
}

void TChannels::Recover(Recovery step) {
    switch (step) {
    case Recovery::Began:
        log_.AddLogLine(lang_.Message(Msg::RecoveryStarted));
        break;
    case Recovery::EndCommunication:
        replies_.BreakCommunication();
        break;
    case Recovery::ClearReadiness:
        replies_.ClearReadinessMarks();
        break;
    case Recovery::RunAll:
        replies_.RunErrorRecovery();
        break;
    }
}
