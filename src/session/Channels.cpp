#include "Channels.h"

#include "RunningChannels.h"
#include "core/OperationLog.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyHandler.h"

TChannels::TChannels(TCommonDatas& datas, const TLang& lang, TReplyHandler& replies,
                     TRunningChannels& running, IOperationLog& log)
    : datas_(datas), lang_(lang), replies_(replies), running_(running), log_(log) {}

std::array<quint8, 3> TChannels::States() const {
    return {datas_.CoordState[1], datas_.CoordState[2], datas_.CoordState[3]};
}

std::array<bool, 3> TChannels::Selected() const {
    return {datas_.CoordActive[1], datas_.CoordActive[2], datas_.CoordActive[3]};
}

void TChannels::Select(bool a, bool b, bool c) {
    datas_.SetCoordsActive(a, b, c);
}

void TChannels::SetStates(const std::array<quint8, 3>& states) {
    for (quint8 state = 0; state <= 3; ++state) {
        for (int channel = 1; channel <= 3; ++channel) {
            if (states[size_t(channel - 1)] == state) {
                datas_.SetCoordState(channel, state);
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
