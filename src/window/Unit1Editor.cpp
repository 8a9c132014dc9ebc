// The main window's command list editor: the command buttons with their argument edits, the grid
// StringGridSend, which shows the editor's command list, the units panel, whose changes re-scale
// it, undo and redo. Each handler hands the operator's action to the editor, which
// takes it as one step of the history.
#include "ListHistory.h"
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/CommandToolPanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/UnitsPanel.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "widgets/LineList.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

void TForm1::ConnectEditorHandlers() {
    TExtendedPanel* panel = ExtendedPanel;
    TProgramEditor& editor = Session().Editor();
    connect(panel->Tools, &TCommandToolPanel::CommandChosen, this, &TForm1::ToolButtonClick);
    connect(panel->Tools, &TCommandToolPanel::RecordingStartChosen, this, [this](int channel) {
        const auto outcome = Session().Editor().AddRecordingStart(channel);
        ShowAddOutcome(outcome.kind, outcome.refusal);
    });
    // Cleared at once, as described; the undo step is the safety net.
    connect(panel->btnAllClear, &QPushButton::clicked, &editor, &TProgramEditor::Clear);
    // Any command row can be deleted, also one whose description is empty (a program loaded with
    // a short companion file); the trailing empty row cannot.
    connect(panel->btnDelRaw, &QPushButton::clicked, this,
            [this] { Session().Editor().Remove({ExtendedPanel->StringGridSend->Row() - 1}); });
    connect(panel->StringGridSend, &TStringGrid::DeletePressed, this, [this] {
        const QList<int> rows = ExtendedPanel->StringGridSend->SelectedRows(); // highest first
        if (rows.isEmpty() || !ExtendedPanel->btnDelRaw->isEnabled())
            return;
        QList<int> indices;
        for (const int row : rows)
            indices << row - 1;
        Session().Editor().Remove(indices);
        ExtendedPanel->StringGridSend->SetRow(std::min(rows.last(), Session().Editor().List().Count()));
    });
    connect(panel->StringGridSend, &TStringGrid::RowMoved, this, [this](int from, int to) {
        const int count = Session().Editor().List().Count();
        if (from < 1 || from > count)
            return;
        // Dropped on the trailing empty row (after the last command), the command is removed.
        Session().Editor().Move(from - 1, to - 1);
        if (to <= count)
            ExtendedPanel->StringGridSend->SetRow(to);
    });
    connect(panel->btnClear, &QPushButton::clicked, panel->MemoRead, &TMemoList::Clear);
    connect(panel->chbDirectControl, &QCheckBox::clicked, &editor, &TProgramEditor::SetDirectControl);
    connect(&editor, &TProgramEditor::ListCleared, panel->MemoRead, &TMemoList::Clear);
    connect(&editor, &TProgramEditor::ListFaultyChanged, panel->btnRunTR,
            [panel](bool faulty) { panel->btnRunTR->setEnabled(!faulty); });
    // A units switch may re-scale the list: only a real change of the selection acts.
    connect(UnitsPanel->rgrUnits, &TRadioGroup::Clicked, this, [this] {
        const bool steps = UnitsPanel->rgrUnits->ItemIndex() == 0;
        if (UnitsPanel->rgrUnits->ItemIndex() == Session().Options().Settings().UnitsMode)
            return;
        UnitsPanel->EnableScale(!steps);
        const auto change = Session().Editor().ChangeUnitsMode(
            steps ? TSettings::StepsUnits : TSettings::OtherUnits, UnitsPanel->ScaleText());
        ShowScaleChange(change.badScale, change.notWhole);
    });
    connect(UnitsPanel->btnScaleChange, &QPushButton::clicked, this, [this] {
        const auto change = Session().Editor().ChangeScale(UnitsPanel->ScaleText());
        ShowScaleChange(change.badScale, change.notWhole);
    });
    // The simple mode's lists are not the operator's: nothing is undone there.
    connect(mmEditUndo, &QAction::triggered, this, [this] {
        if (mmEditUndo->isEnabled())
            history_->Undo();
    });
    connect(mmEditRedo, &QAction::triggered, this, [this] {
        if (mmEditRedo->isEnabled())
            history_->Redo();
    });
    connect(history_, &TListHistory::Changed, this, &TForm1::UpdateEditActions);
    UpdateEditActions();
}

void TForm1::UpdateEditActions() {
    const bool extended = Session().Options().Settings().ControlMode == TSettings::ExtendedMode;
    mmEditUndo->setEnabled(extended && history_->CanUndo());
    mmEditRedo->setEnabled(extended && history_->CanRedo());
}

void TForm1::ToolButtonClick(int index, const QString& argument, bool reportsParameterError) {
    try {
        const auto outcome = Session().Editor().AddCommand(index, argument);
        ShowAddOutcome(outcome.kind, outcome.refusal);
    } catch (const EAppError& error) {
        if (reportsParameterError)
            Dialogs().ShowMessage(Session().Lang().Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
    }
}

void TForm1::ShowAddOutcome(int kind, const QString& refusal) {
    if (kind == TProgramEditor::TAddOutcome::Busy)
        Dialogs().ShowMessage(Session().Lang().ExtraText(Ext::DirectControlBusy));
    else if (kind == TProgramEditor::TAddOutcome::Refused)
        Dialogs().ShowMessage(refusal);
}

void TForm1::ShowScaleChange(bool badScale, const std::optional<QString>& notWhole) {
    if (badScale)
        Dialogs().ShowMessage(Session().Lang().Message(Msg::ScaleIncorrect));
    if (notWhole)
        ReportError(EConvertError::NotAnInteger(*notWhole));
}
