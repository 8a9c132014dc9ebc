// The main window's two control modes: the simple single-motion panel and the extended command
// list editor, and the switch between them.
#include "EditorControls.h"
#include "FileMenu.h"
#include "TranslatedDialog.h"
#include "Unit1.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "panels/ChannelStatePanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/SimpleModePanel.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "session/SimpleMode.h"
#include "session/controller/Controller.h"
#include "session/controller/Sending.h"
#include "widgets/FittingScrollArea.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

void TForm1::ConnectModeHandlers() {
    // The mode switch clears the list: it acts only when the selection really changes, never on
    // a click on the mode already selected.
    connect(rgrSingl_Mult, &TRadioGroup::Clicked, this, [this] {
        if (rgrSingl_Mult->ItemIndex() != Session().Options().Settings().ControlMode)
            rgrSingl_MultClick();
    });
    const struct {
        QPushButton* button;
        TSimpleAction action;
    } simple[] = {{SimplePanel->btnLoad, TSimpleAction::Write},
                  {SimplePanel->btnStart, TSimpleAction::Start},
                  {SimplePanel->btnStop, TSimpleAction::Stop},
                  {SimplePanel->btnPusk, TSimpleAction::WriteAndStart}};
    for (const auto& b : simple)
        connect(b.button, &QPushButton::clicked, this, [this, b] { SimpleButtonClick(int(b.action)); });
}

void TForm1::rgrSingl_MultClick() {
    // The switch clears the list (the operator's list kept aside as the work a quit asks about;
    // the switch to the simple mode is a step an undo back in the extended mode takes back).
    Session().Editor().SetControlMode(rgrSingl_Mult->ItemIndex() == 0 ? TSettings::SimpleMode
                                                                      : TSettings::ExtendedMode);
    ApplyModeLayout();
}

void TForm1::ApplyModeLayout() {
    const TSettings& settings = Session().Options().Settings();
    const bool simple = settings.ControlMode == TSettings::SimpleMode;
    for (QAction* action :
         {mmFileSave, mmFileSaveProgram, mmFileOpen, mmFileSaveAs, mmFileImport, mmFileExport, mmPreview})
        action->setEnabled(!simple);
    mmRecent->setEnabled(!simple && !settings.RecentFiles.isEmpty());
    editor_->UpdateEditActions();
    UpdateTitle();
    SimplePanel->EnableAll(simple);
    ExtendedPanel->EnableAll(!simple);
    // A list with a wrong command stays unsendable, whatever the layout.
    ExtendedPanel->btnRunTR->setEnabled(!simple && !Session().Editor().ListFaulty());
    ExtendedPanel->btnStopSending->setEnabled(!simple && Session().Controller().Sending().IsSending());
    ChannelState->ShowChannelBoxes(simple);

    if (simple) {
        ExtendedPanel->hide();
        SimplePanel->setFixedWidth(361);
        SimplePanel->show();
        TFittingScrollArea::Resize(this, 370, height());
        return;
    }
    SimplePanel->hide();
    SimplePanel->setFixedWidth(0);
    const int multWidth =
        ExtendedPanel->ShowSideLists(settings.ShowLoadLog, settings.ShowPortLog, settings.LogTimes);
    // The list may grow when the operator widens the window; this is its width at the switch.
    ExtendedPanel->setMinimumWidth(multWidth);
    ExtendedPanel->show();
    TFittingScrollArea::Resize(this, SimplePanel->width() + multWidth + 10, height());
}

void TForm1::SimpleButtonClick(int action) {
    ShowMessages(Session().SimpleMode().Send(TSimpleAction(action), SimplePanel->CurrentMotion()));
}
