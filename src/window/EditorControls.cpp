// The main window's command list editor: the command buttons with their argument edits, the grid
// StringGridSend, which shows the editor's command list, the units panel, whose changes re-scale
// it, undo and redo. Each handler hands the operator's action to the editor, which takes it as
// one step of the history.
#include "EditorControls.h"

#include "ListHistory.h"
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
#include "widgets/LineList.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

TEditorControls::TEditorControls(const TParts& parts, TProgramEditor& editor, TOperatorSettings& options,
                                 QObject* parent)
    : QObject(parent), parts_(parts), editor_(editor), options_(options) {
    connect(parts_.panel->Tools, &TCommandToolPanel::CommandChosen, this, &TEditorControls::ToolButtonClick);
    connect(parts_.panel->Tools, &TCommandToolPanel::RecordingStartChosen, this, [this](int channel) {
        const auto outcome = editor_.AddRecordingStart(channel);
        ShowAddOutcome(outcome.kind, outcome.refusal);
    });
    // Cleared at once, as described; the undo step is the safety net.
    connect(parts_.panel->btnAllClear, &QPushButton::clicked, &editor_, &TProgramEditor::Clear);
    // Any command row can be deleted, also one whose description is empty (a program loaded with
    // a short companion file); the trailing empty row cannot.
    connect(parts_.panel->btnDelRaw, &QPushButton::clicked, this,
            [this] { editor_.Remove({parts_.panel->StringGridSend->Row() - 1}); });
    connect(parts_.panel->StringGridSend, &TStringGrid::DeletePressed, this, [this] {
        const QList<int> rows = parts_.panel->StringGridSend->SelectedRows(); // highest first
        if (rows.isEmpty() || !parts_.panel->btnDelRaw->isEnabled())
            return;
        QList<int> indices;
        for (const int row : rows)
            indices << row - 1;
        editor_.Remove(indices);
        parts_.panel->StringGridSend->SetRow(std::min(rows.last(), editor_.List().Count()));
    });
    connect(parts_.panel->StringGridSend, &TStringGrid::RowMoved, this, [this](int from, int to) {
        const int count = editor_.List().Count();
        if (from < 1 || from > count)
            return;
        // Dropped on the trailing empty row (after the last command), the command is removed.
        editor_.Move(from - 1, to - 1);
        if (to <= count)
            parts_.panel->StringGridSend->SetRow(to);
    });
    connect(parts_.panel->btnClear, &QPushButton::clicked, parts_.panel->MemoRead, &TMemoList::Clear);
    connect(parts_.panel->chbDirectControl, &QCheckBox::clicked, &editor_, &TProgramEditor::SetDirectControl);
    connect(&editor_, &TProgramEditor::ListCleared, parts_.panel->MemoRead, &TMemoList::Clear);
    connect(&editor_, &TProgramEditor::ListFaultyChanged, parts_.panel->btnRunTR,
            [this](bool faulty) { parts_.panel->btnRunTR->setEnabled(!faulty); });
    // A units switch may re-scale the list: only a real change of the selection acts.
    connect(parts_.units->rgrUnits, &TRadioGroup::Clicked, this, [this] {
        const bool steps = parts_.units->rgrUnits->ItemIndex() == 0;
        if (parts_.units->rgrUnits->ItemIndex() == options_.Settings().UnitsMode)
            return;
        parts_.units->EnableScale(!steps);
        const auto change = editor_.ChangeUnitsMode(steps ? TSettings::StepsUnits : TSettings::OtherUnits,
                                                    parts_.units->ScaleText());
        ShowScaleChange(change.badScale, change.notWhole);
    });
    parts_.units->FollowUnitsMode(options_);
    // Column 1 shows the lines only when the operator asks for it.
    const auto showCodes = [this] {
        parts_.panel->StringGridSend->SetShowCodes(options_.Settings().ShowCodes);
    };
    connect(&options_, &TOperatorSettings::ShownValuesChanged, this, showCodes);
    showCodes();
    connect(parts_.units->btnScaleChange, &QPushButton::clicked, this, [this] {
        const auto change = editor_.ChangeUnitsMode(options_.Settings().UnitsMode, parts_.units->ScaleText());
        ShowScaleChange(change.badScale, change.notWhole);
    });
    // The simple mode's lists are not the operator's: nothing is undone there.
    connect(parts_.undo, &QAction::triggered, this, [this] {
        if (parts_.undo->isEnabled())
            parts_.history->Undo();
    });
    connect(parts_.redo, &QAction::triggered, this, [this] {
        if (parts_.redo->isEnabled())
            parts_.history->Redo();
    });
    connect(parts_.history, &TListHistory::Changed, this, &TEditorControls::UpdateEditActions);
    UpdateEditActions();
}

void TEditorControls::UpdateEditActions() {
    const bool extended = options_.Settings().ControlMode == TSettings::ExtendedMode;
    parts_.undo->setEnabled(extended && parts_.history->CanUndo());
    parts_.redo->setEnabled(extended && parts_.history->CanRedo());
}

void TEditorControls::ToolButtonClick(int index, const QString& argument, bool reportsParameterError) {
    try {
        const auto outcome = editor_.AddCommand(index, argument);
        ShowAddOutcome(outcome.kind, outcome.refusal);
    } catch (const EAppError& error) {
        if (reportsParameterError)
            Dialogs().ShowError(options_.Lang().Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
    }
}

void TEditorControls::ShowAddOutcome(int kind, const QString& refusal) {
    if (kind == TProgramEditor::TAddOutcome::Busy)
        Dialogs().ShowError(options_.Lang().ExtraText(Ext::DirectControlBusy));
    else if (kind == TProgramEditor::TAddOutcome::Refused)
        Dialogs().ShowError(refusal);
}

void TEditorControls::ShowScaleChange(bool badScale, const std::optional<QString>& notWhole) {
    if (badScale)
        Dialogs().ShowError(options_.Lang().Message(Msg::ScaleIncorrect));
    if (notWhole)
        ReportError(EConvertError::NotAnInteger(*notWhole));
}
