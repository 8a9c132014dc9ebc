// The main window's command list editor: the command buttons with their argument edits, the grid
// StringGridSend, which shows the session's command list, and the units panel, whose changes
// re-scale it.
#include "ListHistory.h"
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/CommandToolPanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/UnitsPanel.h"
#include "protocol/UnitKVTComands.h"
#include "session/Session.h"
#include "widgets/LineList.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

void TForm1::ConnectEditorHandlers() {
    TExtendedPanel* panel = ExtendedPanel;
    connect(panel->Tools, &TCommandToolPanel::CommandChosen, this, &TForm1::ToolButtonClick);
    connect(panel->Tools, &TCommandToolPanel::RecordingStartChosen, this, &TForm1::btnLD1Click);
    connect(panel->btnAllClear, &QPushButton::clicked, this, &TForm1::btnAllClearClick);
    connect(panel->btnDelRaw, &QPushButton::clicked, this, &TForm1::btnDelRawClick);
    connect(panel->btnClear, &QPushButton::clicked, this, &TForm1::btnClearClick);
    connect(panel->chbDirectControl, &QCheckBox::clicked, this, &TForm1::chbDirectControlClick);
    connect(panel->StringGridSend, &TStringGrid::RowMoved, this, &TForm1::StringGridSendRowMoved);
    connect(panel->StringGridSend, &TStringGrid::DeletePressed, this, &TForm1::DeleteSelectedRows);
    connect(session_.get(), &TSession::ListCleared, panel->MemoRead, &TMemoList::Clear);
    connect(session_.get(), &TSession::ListFaultyChanged, panel->btnRunTR,
            [panel](bool faulty) { panel->btnRunTR->setEnabled(!faulty); });
    // A units switch may re-scale the list: only a real change of the selection acts.
    connect(UnitsPanel->rgrUnits, &TRadioGroup::Clicked, this, [this] {
        if (UnitsPanel->rgrUnits->ItemIndex() != Session().Settings().UnitsMode)
            rgrUnitsClick();
    });
    connect(UnitsPanel->btnScaleChange, &QPushButton::clicked, this, &TForm1::btnScaleChangeClick);
    connect(mmEditUndo, &QAction::triggered, this, &TForm1::mmEditUndoClick);
    connect(mmEditRedo, &QAction::triggered, this, &TForm1::mmEditRedoClick);
    connect(history_, &TListHistory::Changed, this, &TForm1::UpdateEditActions);
    UpdateEditActions();
}

void TForm1::mmEditUndoClick() {
    if (!mmEditUndo->isEnabled())
        return;
    history_->Undo();
    OperatorChangedList();
}

void TForm1::mmEditRedoClick() {
    if (!mmEditRedo->isEnabled())
        return;
    history_->Redo();
    OperatorChangedList();
}

void TForm1::UpdateEditActions() {
    // The simple mode's lists are not the operator's: nothing is undone there.
    const bool extended = Session().Settings().ControlMode == TSettings::ExtendedMode;
    mmEditUndo->setEnabled(extended && history_->CanUndo());
    mmEditRedo->setEnabled(extended && history_->CanRedo());
}

void TForm1::ToolButtonClick(int index, const QString& argument, bool reportsParameterError) {
    try {
        EditorAddCommand(index, argument);
    } catch (const EAppError& error) {
        if (reportsParameterError)
            Dialogs().ShowMessage(Session().Lang().Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
    }
}

bool TForm1::EditorAddCommand(int index, const QString& argument) {
    // A command of Direct Control is sent, not kept: the list is no work of the operator's.
    TSession::TAddOutcome outcome;
    if (Session().Settings().DirectControl) {
        ProgramReplacesList();
        outcome = Session().AddCommand(index, argument);
    } else {
        RecordEdit([&] { outcome = Session().AddCommand(index, argument); });
    }
    if (outcome.kind == TSession::TAddOutcome::Busy)
        Dialogs().ShowMessage(Session().Lang().ExtraText(Ext::DirectControlBusy));
    else if (outcome.kind == TSession::TAddOutcome::Refused)
        Dialogs().ShowMessage(outcome.refusal);
    return outcome.kind == TSession::TAddOutcome::Added;
}

void TForm1::btnLD1Click() {
    const TSettings& settings = Session().Settings();
    if (settings.DirectControl) {
        EditorAddCommand(TKVTCommands::LD, "1");
        return;
    }
    // The recording's start with its automatic commands is one step.
    RecordEdit([&] {
        EditorAddCommand(TKVTCommands::LD, "1");
        if (settings.AutoAddBG)
            EditorAddCommand(TKVTCommands::BG, "no");
        if (settings.AutoAddEN)
            EditorAddCommand(TKVTCommands::EN, "no");
    });
}

void TForm1::btnAllClearClick() {
    // Cleared at once, as described; the undo step is the safety net.
    RecordEdit([this] { Session().ClearList(); });
}

void TForm1::btnDelRawClick() {
    // Any command row can be deleted, also one whose description is empty (a program loaded
    // with a short companion file); the trailing empty row cannot.
    const int row = ExtendedPanel->StringGridSend->Row();
    RecordEdit([&] { Session().RemoveLine(row - 1); });
}

void TForm1::DeleteSelectedRows() {
    const QList<int> rows = ExtendedPanel->StringGridSend->SelectedRows(); // highest first
    if (rows.isEmpty() || !ExtendedPanel->btnDelRaw->isEnabled())
        return;
    RecordEdit([&] {
        for (const int row : rows)
            Session().RemoveLine(row - 1);
    });
    ExtendedPanel->StringGridSend->SetRow(std::min(rows.last(), Session().CommandList().Count()));
}

void TForm1::StringGridSendRowMoved(int from, int to) {
    const int count = Session().CommandList().Count();
    if (from < 1 || from > count)
        return;
    // Dropped on the trailing empty row (after the last command), the command is removed.
    RecordEdit([&] { Session().MoveLine(from - 1, to - 1); });
    if (to <= count)
        ExtendedPanel->StringGridSend->SetRow(to);
}

void TForm1::btnClearClick() {
    ExtendedPanel->MemoRead->Clear();
}

void TForm1::chbDirectControlClick() {
    const bool on = ExtendedPanel->chbDirectControl->isChecked();
    ProgramReplacesList();
    history_->Record([&] { Session().SetDirectControl(on); });
}

void TForm1::rgrUnitsClick() {
    const bool steps = UnitsPanel->rgrUnits->ItemIndex() == 0;
    UnitsPanel->EnableScale(!steps);
    TSession::TScaleChange change;
    RecordEdit([&] {
        change = Session().ChangeUnitsMode(steps ? TSettings::StepsUnits : TSettings::OtherUnits,
                                           UnitsPanel->ScaleText());
    });
    ShowScaleChange(change.badScale, change.notWhole);
}

void TForm1::btnScaleChangeClick() {
    TSession::TScaleChange change;
    RecordEdit([&] { change = Session().ChangeScale(UnitsPanel->ScaleText()); });
    ShowScaleChange(change.badScale, change.notWhole);
}

void TForm1::ShowScaleChange(bool badScale, const std::optional<QString>& notWhole) {
    if (badScale)
        Dialogs().ShowMessage(Session().Lang().Message(Msg::ScaleIncorrect));
    if (notWhole)
        ReportError(EConvertError::NotAnInteger(*notWhole));
}
