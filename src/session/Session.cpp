#include "Session.h"

#include "Channels.h"
#include "Connection.h"
#include "ListEdits.h"
#include "MachineStop.h"
#include "OperatorSettings.h"
#include "ProgramDocument.h"
#include "ProgramEditor.h"
#include "ReadingBack.h"
#include "RunningChannels.h"
#include "Sending.h"
#include "SessionLogs.h"
#include "SimpleMode.h"
#include "UserButtons.h"
#include "core/Events.h"
#include "core/Scheduler.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"
#include "protocol/UnitKVTComands.h"

// The parts, made in this order and gone in the reverse one: the logs first, the shared state
// that writes into their view (its defaults at once), the language and the vocabulary, the
// operator's settings (the settings files are read there, once; the language follows them), then
// the line, the reply handling and the rooms, each after those it stands on.
struct TSession::TParts {
    TParts(const TProgramPaths& paths, ILogView& logView, IStateView* stateView)
        : logs(paths, logView, stateView), datas(logs.View()), lang(paths, datas, datas),
          options(paths, datas, lang, commands, logs), line(paths, datas, lang, logs.View()),
          readEvent(EventNames::Readed, false),
          replies(datas, lang, readEvent, line, scheduler, &logs.ReplyLog()),
          sending(datas, lang, replies, line, logs.View()), running(replies, line, lang, logs.View()),
          channels(datas, lang, replies, running, logs.View()),
          editor(datas, lang, commands, options, sending, logs.View()), edits(editor, commands, datas, lang),
          document(editor, options, datas, commands, lang),
          reading(datas, lang, commands, replies, readEvent, line, editor, logs.View()),
          buttons(paths, lang, commands, sending),
          stop(datas, lang, sending, line, running, replies, logs.View()),
          simple(datas, lang, commands, sending, logs.View()) {}

    TSessionLogs logs;
    TCommonDatas datas;
    TLang lang;
    TKVTCommands commands;
    TOperatorSettings options;
    TConnection line;
    TNamedEvent readEvent;
    TTimerScheduler scheduler; // the reply handler's pending recovery steps go before it
    TReplyHandler replies;
    TSending sending;
    TRunningChannels running;
    TChannels channels;
    TProgramEditor editor;
    TListEdits edits;
    TProgramDocument document;
    TReadingBack reading;
    TUserButtons buttons;
    TMachineStop stop;
    TSimpleMode simple;
};

TSession::TSession(const QString& programFolder, ILogView& logView, IStateView* stateView, QObject* parent)
    : QObject(parent), Paths(programFolder), parts_(std::make_unique<TParts>(Paths, logView, stateView)) {
    // The line's read thread hands its chunks to the reply handler's reader, which answers a
    // waiting sending at once; the rest is handled on the main thread.
    parts_->line.SetReceiver(&parts_->replies.Reader());
    connect(&parts_->replies, &TReplyHandler::Alert, this, &TSession::Alert);
    connect(&parts_->replies, &TReplyHandler::CharactersReceived, this, &TSession::Received);
    parts_->datas.SetLastReply("  ");
}

TSession::~TSession() {
    // What a sending and a read use goes after them; the line closes while the sending room,
    // which keeps what the line owes, is still there.
    parts_->reading.Cancel();
    parts_->sending.StopNow();
    parts_->line.Close();
}

// clang-format off
const TCommonDatas& TSession::Datas() const { return parts_->datas; }
const TLang& TSession::Lang() const { return parts_->lang; }
const TKVTCommands& TSession::Commands() const { return parts_->commands; }
TSessionLogs& TSession::Logs() { return parts_->logs; }
TOperatorSettings& TSession::Options() { return parts_->options; }
TConnection& TSession::Connection() { return parts_->line; }
TSending& TSession::Sending() { return parts_->sending; }
TChannels& TSession::Channels() { return parts_->channels; }
TProgramEditor& TSession::Editor() { return parts_->editor; }
TListEdits& TSession::ListEdits() { return parts_->edits; }
TProgramDocument& TSession::Document() { return parts_->document; }
TReadingBack& TSession::ReadBack() { return parts_->reading; }
TUserButtons& TSession::UserButtons() { return parts_->buttons; }
TMachineStop& TSession::MachineStop() { return parts_->stop; }
TRunningChannels& TSession::Running() { return parts_->running; }
TSimpleMode& TSession::SimpleMode() { return parts_->simple; }
// clang-format on

void TSession::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    parts_->buttons.SetReadOnly(readOnly); // the buttons' file is the folder's too
}

QStringList TSession::SaveOnClose() const {
    if (readOnly_)
        return {};
    parts_->options.WriteOnClose(parts_->line.Choice().PortNumberToStore());
    parts_->logs.WriteOnClose(parts_->datas.Settings());
    return parts_->options.WriteOwnFiles() + parts_->logs.WriteSessionCopies(parts_->datas.Settings());
}
