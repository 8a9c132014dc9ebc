#include "Session.h"

#include "ListEdits.h"
#include "OperatorSettings.h"
#include "ProgramDocument.h"
#include "ProgramEditor.h"
#include "ReadBackToList.h"
#include "SessionLogs.h"
#include "SimpleMode.h"
#include "UserButtons.h"
#include "controller/Connection.h"
#include "controller/Controller.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

// The parts, made in this order and gone in the reverse one: the logs first, the settings that
// write into their view (its defaults at once), the language and the vocabulary, the operator's
// settings (the settings files are read there, once; the language follows them), the controller,
// then the workplace's rooms, each after those it stands on.
struct TSession::TParts {
    TParts(const TProgramPaths& paths, ILogView& logView, IStateView* stateView)
        : logs(paths, logView, stateView), datas(logs.View()), lang(paths, datas, logs.View()),
          options(paths, datas, lang, commands, logs),
          controller(paths, datas, lang, commands, logs.View(), logs.View(), &logs.ReplyLog()),
          editor(datas, lang, commands, options, controller.Sending(), logs.View()),
          edits(editor, commands, datas, lang), document(editor, options, datas, commands, lang),
          buttons(paths, lang, commands, controller.Sending()),
          simple(datas, controller.State(), lang, commands, controller.Sending(), logs.View()),
          toList(editor, logs.View()) {}

    TSessionLogs logs;
    TCommonDatas datas;
    TLang lang;
    TKVTCommands commands;
    TOperatorSettings options;
    TController controller;
    TProgramEditor editor;
    TListEdits edits;
    TProgramDocument document;
    TUserButtons buttons;
    TSimpleMode simple;
    TReadBackToList toList;
};

TSession::TSession(const QString& programFolder, ILogView& logView, IStateView* stateView, QObject* parent)
    : QObject(parent), Paths(programFolder), parts_(std::make_unique<TParts>(Paths, logView, stateView)) {}

TSession::~TSession() {
    parts_->controller.Shutdown(); // while the workplace that listens to it is still there
}

// clang-format off
const TCommonDatas& TSession::Datas() const { return parts_->datas; }
const TLang& TSession::Lang() const { return parts_->lang; }
const TKVTCommands& TSession::Commands() const { return parts_->commands; }
TController& TSession::Controller() { return parts_->controller; }
TSessionLogs& TSession::Logs() { return parts_->logs; }
TOperatorSettings& TSession::Options() { return parts_->options; }
TProgramEditor& TSession::Editor() { return parts_->editor; }
TListEdits& TSession::ListEdits() { return parts_->edits; }
TProgramDocument& TSession::Document() { return parts_->document; }
TUserButtons& TSession::UserButtons() { return parts_->buttons; }
TSimpleMode& TSession::SimpleMode() { return parts_->simple; }
TReadBackToList& TSession::ReadBackToList() { return parts_->toList; }
// clang-format on

void TSession::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    parts_->buttons.SetReadOnly(readOnly); // the buttons' file is the folder's too
}

QStringList TSession::SaveOnClose() const {
    if (readOnly_)
        return {};
    parts_->options.WriteOnClose(parts_->controller.Connection().Choice().PortNumberToStore());
    parts_->logs.WriteOnClose(parts_->datas.Settings());
    return parts_->options.WriteOwnFiles() + parts_->logs.WriteSessionCopies(parts_->datas.Settings());
}
