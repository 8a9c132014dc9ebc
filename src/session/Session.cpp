#include "Session.h"

#include "ListEdits.h"
#include "OperatorSettings.h"
#include "ProgramDocument.h"
#include "ProgramEditor.h"
#include "ReadBackToList.h"
#include "ResumeSending.h"
#include "SessionLogs.h"
#include "SimpleMode.h"
#include "UserButtons.h"
#include "controller/Connection.h"
#include "controller/Controller.h"
#include "controller/ControllerJournal.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

namespace {

// The unit values are shown in, as the journal tells a change of it.
struct TShownUnit {
    bool steps = true;
    double scale = 1.0;
    QString name;
    static TShownUnit Of(const TSettings& s) {
        if (s.UnitsMode == TSettings::StepsUnits)
            return {}; // steps have neither a scale nor a name of their own
        return {false, s.Scale, s.UnitsName};
    }
    bool operator==(const TShownUnit&) const = default;
};

} // namespace

// The parts, made in this order and gone in the reverse one: the logs first, the settings that
// write into their view (its defaults at once), the language and the vocabulary, the operator's
// settings (the settings files are read there, once; the language follows them), the controller,
// then the workplace's rooms, each after those it stands on.
struct TSession::TParts {
    TParts(const TProgramPaths& paths, ILogView& logView, IStateView* stateView)
        : logs(paths, logView, stateView), datas(logs.View()), lang(paths, datas, logs.View()),
          options(paths, datas, lang, commands, logs),
          controller(paths, datas, lang, commands, logs.View(), logs.View(), &logs.ReplyLog()),
          editor(datas, options, controller.Sending(), logs.View()), edits(editor, commands, datas, lang),
          document(editor, options, datas, commands, lang),
          buttons(paths, lang, commands, controller.Sending()),
          simple(TControllerBasis{datas, controller.State(), lang}, commands, controller.Sending(),
                 logs.View()),
          toList(editor, logs.View()), resume(editor, controller.Sending(), lang) {}

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
    TResumeSending resume;
};

TSession::TSession(const QString& programFolder, ILogView& logView, IStateView* stateView, QObject* parent)
    : QObject(parent), Paths(programFolder), parts_(std::make_unique<TParts>(Paths, logView, stateView)) {
    // What only the workplace knows goes into the controller's journal too: a user button run,
    // a change of the unit or the scale.
    TControllerJournal& journal = parts_->controller.Journal();
    connect(&parts_->buttons, &TUserButtons::Ran, this, [&journal](const QString& name) {
        journal.Record("button", 0, {{"name", name}});
    });
    const TSettings& shown = parts_->options.Settings();
    connect(&parts_->options, &TOperatorSettings::ShownValuesChanged, this,
            [&journal, &shown, unit = TShownUnit::Of(shown)]() mutable {
                const TShownUnit now = TShownUnit::Of(shown);
                if (now == unit)
                    return;
                unit = now;
                journal.Record("scale", 0,
                               {{"scale", now.scale}, {"unit", now.steps ? QString("steps") : now.name}});
            });
}

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
TResumeSending& TSession::Resume() { return parts_->resume; }
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
