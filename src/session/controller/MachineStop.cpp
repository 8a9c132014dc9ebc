#include "MachineStop.h"

#include "Connection.h"
#include "RunningChannels.h"
#include "Sending.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"

namespace {

QString Channels(const QList<int>& channels) {
    QStringList names;
    for (int n : channels)
        names << QString::number(n);
    return names.join(", ");
}

} // namespace

TMachineStop::TMachineStop(TChannelState& state, const TLang& lang, TSending& sending,
                           TConnection& connection, TRunningChannels& running, TReplyHandler& replies,
                           IOperationLog& log)
    : state_(state), lang_(lang), sending_(sending), connection_(connection), running_(running),
      replies_(replies), log_(log) {
    connect(&sending_, &TSending::Ended, this, [this] {
        if (ownSending_) {
            ownSending_ = false;
            replies_.ExpectStops({});
        }
        if (!channelsNext_)
            return;
        channelsNext_ = false;
        StopChannels();
    });
}

void TMachineStop::StopAll() {
    if (!connection_.IsOpen()) {
        log_.AddLogLine(lang_.ExtraText(Ext::StopAllPortClosed), true);
        return;
    }
    emit StopAllAsked();
    // The line on its way keeps its answer, so that the controller and the program agree on
    // what was taken; the channels follow at the sending's end.
    if (sending_.StopAfterLine()) {
        channelsNext_ = true;
        return;
    }
    if (sending_.IsSending()) {
        channelsNext_ = true; // a sending at its very end: its end comes next
        return;
    }
    StopChannels();
}

void TMachineStop::StopChannels() {
    QStringList lines;
    const QList<int> running = running_.Running();
    for (int n : running)
        lines << QString("ST%1").arg(n);
    const QList<int> unknown = running_.Unknown();
    const QString unsure =
        unknown.isEmpty() ? QString() : " " + lang_.ExtraText(Ext::StopAllUnknown).arg(Channels(unknown));
    if (lines.isEmpty()) {
        log_.AddLogLine(
            lang_.ExtraText(unknown.isEmpty() ? Ext::StopAllNothingRuns : Ext::StopAllNothingKnown) + unsure);
        return;
    }
    log_.AddLogLine(lang_.ExtraText(Ext::StopAllSent).arg(lines.join(", ")) + unsure);
    SendOwn(lines, running);
}

void TMachineStop::SendOwn(const QStringList& lines, const QList<int>& stops) {
    // As the simple mode's Stop does: a channel counts as running until it reports.
    for (int n : stops)
        state_.SetCoordRunning(n, true);
    replies_.ExpectStops(stops);
    ownSending_ = true;
    if (sending_.Send(lines, TSending::Kind::OwnLines) != TSending::Start::Started) {
        ownSending_ = false;
        replies_.ExpectStops({});
    }
}

TMachineStop::TOutcome TMachineStop::Refusal(const QString& line) const {
    if (!connection_.IsOpen())
        return {TOutcome::Refused, lang_.ExtraText(Ext::ChannelActionPortClosed)};
    if (sending_.IsSending())
        return {TOutcome::Refused, lang_.ExtraText(Ext::ChannelActionBusy).arg(line)};
    return {};
}

bool TMachineStop::Allows(int channel, Action action) const {
    const TRunningChannels::Run run = running_.State(channel);
    using Run = TRunningChannels::Run;
    if (run == Run::Unknown)
        return true;
    switch (action) {
    case Action::Start:
        return run == Run::Idle;
    case Action::Pause:
    case Action::Stop:
        return run == Run::Running || run == Run::Paused;
    }
    return false;
}

TMachineStop::TOutcome TMachineStop::ChannelAction(int channel, Action action, bool confirmed) {
    const QString line = QString(action == Action::Pause ? "PS%1" : "ST%1").arg(channel);
    if (const TOutcome refused = Refusal(line); refused.kind == TOutcome::Refused)
        return refused;
    if (!Allows(channel, action)) {
        const int why = action == Action::Start ? Ext::ChannelActionRunsAlready : Ext::ChannelActionStands;
        return {TOutcome::Refused, lang_.ExtraText(why).arg(channel)};
    }
    if (running_.State(channel) == TRunningChannels::Run::Unknown && !confirmed) {
        const int question = action == Action::Pause ? Ext::ChannelActionAskPause : Ext::ChannelActionAsk;
        return {TOutcome::Ask, lang_.ExtraText(question).arg(channel).arg(line)};
    }
    log_.AddLogLine(lang_.ExtraText(Ext::ChannelActionSent).arg(line));
    // Its answer is read as a stop only where the channel is known to run.
    const bool stops = action == Action::Stop && running_.State(channel) != TRunningChannels::Run::Unknown;
    SendOwn({line}, stops ? QList<int>{channel} : QList<int>{});
    return {};
}

void TMachineStop::EndLeftRecording(bool end) {
    const int channel = running_.LeftRecording();
    running_.ForgetLeftRecording();
    if (channel == 0)
        return;
    if (!end) {
        log_.AddLogLine(lang_.ExtraText(Ext::LeftRecordingNotEnded).arg(channel), true);
        return;
    }
    if (const TOutcome refused = Refusal("ED"); refused.kind == TOutcome::Refused) {
        log_.AddLogLine(refused.text, true);
        return;
    }
    log_.AddLogLine(lang_.ExtraText(Ext::ChannelActionSent).arg("ED"));
    SendOwn({"ED"}, {});
}
