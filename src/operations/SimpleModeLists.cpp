#include "SimpleModeLists.h"

#include "core/AppError.h"
#include "core/ChannelState.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "protocol/UnitKVTComands.h"

using K = TKVTCommands;

void TSimpleModeLists::Add(int index, const QString& argument) {
    try {
        const TMadeCommand made = AddCommand(commands_, settings_, index, argument, list_);
        if (!made)
            refusals_.append(made.refusal);
    } catch (const EAppError& error) {
        refusals_.append(error.Text()); // the command is left out; the others still follow
    }
}

bool TSimpleModeLists::Eligible(int channel, bool running) const {
    if (!state_.Active(channel))
        return false;
    const quint8 state = state_.State(channel);
    if (running)
        return state == TChannelState::Executing || state == TChannelState::Paused;
    return state == TChannelState::Standby;
}

void TSimpleModeLists::BuildMotionBlock(const TMotion& motion) {
    Add(K::BG, "no");
    Add(K::EN, "no");
    if (!motion.accelerate) {
        Add(K::AL, "0");
    } else {
        Add(K::AL, motion.acceleration);
        Add(K::SS, motion.startSpeed);
    }
    Add(K::SD, motion.speed);
    Add(motion.backward ? K::DR : K::DL, "no");
    Add(K::MV, motion.permanent ? QString("no") : motion.steps);
}

void TSimpleModeLists::BuildWriteList(const TMotion& motion) {
    for (int n = 1; n <= TChannelState::ChannelCount; ++n) {
        if (!Eligible(n, false))
            continue;
        Add(K::LD, QString::number(n));
        BuildMotionBlock(motion);
        Add(K::ED, "no");
    }
}

void TSimpleModeLists::BuildStartList() {
    int count = 0;
    for (int n = 1; n <= TChannelState::ChannelCount; ++n) {
        if (!Eligible(n, false))
            continue;
        Add(K::ST, QString::number(n));
        ++count;
    }
    if (count == TChannelState::ChannelCount) {
        // All three at once: one ST starts them together.
        for (int i = 0; i < count; ++i)
            list_.Remove(list_.Count() - 1);
        Add(K::ST, "no");
    }
}

void TSimpleModeLists::BuildStopList() {
    for (int n = 1; n <= TChannelState::ChannelCount; ++n) {
        if (!Eligible(n, true))
            continue;
        Add(K::ST, QString::number(n));
        state_.SetCoordRunning(n, true);
    }
}

void TSimpleModeLists::Build(TSimpleAction action, const TMotion& motion) {
    if (action == TSimpleAction::Write || action == TSimpleAction::WriteAndStart)
        BuildWriteList(motion);
    if (action == TSimpleAction::Start || action == TSimpleAction::WriteAndStart)
        BuildStartList();
    if (action == TSimpleAction::Stop)
        BuildStopList();
}
