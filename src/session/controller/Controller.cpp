#include "Controller.h"

#include "Channels.h"
#include "Connection.h"
#include "ControllerJournal.h"
#include "MachineStop.h"
#include "ReadingBack.h"
#include "RunningChannels.h"
#include "Sending.h"
#include "core/ChannelState.h"
#include "core/CommonDatasView.h"
#include "core/Events.h"
#include "core/Scheduler.h"
#include "core/SettingsView.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"

// The parts, made in this order and gone in the reverse one: the channel state first (every
// other part writes it), the line, the reply handling on it, then the rooms, each after those it
// stands on.
struct TController::TParts {
    TParts(const TProgramPaths& paths, const ISettingsView& datas, const TLang& lang,
           const TKVTCommands& commands, IStateView& view, ILogView& log, TReplyLog* replyLog)
        : state(datas, view, log), basis{datas, state, lang},
          line(paths, datas.Settings().PortNumber, state, lang, log), readEvent(EventNames::Readed, false),
          replies(basis, readEvent, line, scheduler, log, replyLog), sending(basis, replies, line, log),
          running(replies, line, lang, log), channels(state, lang, replies, running, log),
          reading(basis, commands, replies, readEvent, line, log),
          stop(state, lang, sending, line, running, replies, log),
          journal(paths, datas, {line, sending, running, replies, stop, reading}) {}

    TChannelState state;
    TControllerBasis basis;
    TConnection line;
    TNamedEvent readEvent;
    TTimerScheduler scheduler; // the reply handler's pending recovery steps go before it
    TReplyHandler replies;
    TSending sending;
    TRunningChannels running;
    TChannels channels;
    TReadingBack reading;
    TMachineStop stop;
    TControllerJournal journal;
};

TController::TController(const TProgramPaths& paths, const ISettingsView& datas, const TLang& lang,
                         const TKVTCommands& commands, IStateView& view, ILogView& log, TReplyLog* replyLog)
    : parts_(std::make_unique<TParts>(paths, datas, lang, commands, view, log, replyLog)) {
    // The line's read thread hands its chunks to the reply handler's reader, which answers a
    // waiting sending at once; the rest is handled on the main thread.
    parts_->line.SetReceiver(&parts_->replies.Reader());
    connect(&parts_->replies, &TReplyHandler::Alert, this, &TController::Alert);
    connect(&parts_->replies, &TReplyHandler::CharactersReceived, this, &TController::Received);
    // A journal that can't be written is said once, until it can again; nothing else stops.
    connect(&parts_->journal, &TControllerJournal::Failed, this, [&log, &lang](const QString& why) {
        log.AddLogLine(lang.ExtraText(Ext::JournalNotWritten).arg(why), true);
    });
}

TController::~TController() {
    Shutdown();
}

void TController::Shutdown() {
    // What a sending and a read use goes after them; the line closes while the sending room,
    // which keeps what the line owes, is still there.
    parts_->reading.Cancel();
    parts_->sending.StopNow();
    parts_->line.Close();
}

// clang-format off
TChannelState& TController::State() { return parts_->state; }
const TChannelState& TController::State() const { return parts_->state; }
TConnection& TController::Connection() { return parts_->line; }
const TConnection& TController::Connection() const { return parts_->line; }
TReplyHandler& TController::Replies() { return parts_->replies; }
TSending& TController::Sending() { return parts_->sending; }
TChannels& TController::Channels() { return parts_->channels; }
TReadingBack& TController::ReadBack() { return parts_->reading; }
TRunningChannels& TController::Running() { return parts_->running; }
TMachineStop& TController::MachineStop() { return parts_->stop; }
TControllerJournal& TController::Journal() { return parts_->journal; }
// clang-format on
