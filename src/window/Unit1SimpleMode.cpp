// The main window's two control modes: the simple single-motion panel and the extended command
// list editor, and the switch between them.
#include "LangDialog.h"
#include "ListHistory.h"
#include "Unit1.h"
#include "core/UnitCommonDatas.h"
#include "panels/ChannelStatePanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/SimpleModePanel.h"
#include "session/Session.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

void TForm1::rgrSingl_MultClick() {
    // The switch clears the list: the operator's list is kept aside as the work a quit asks
    // about, and the list is tied to no file any more.
    ProgramReplacesList();
    if (rgrSingl_Mult->ItemIndex() == 0) {
        // The clear is a step of the history: an undo back in the extended mode brings the
        // list back.
        history_->Record([this] { Session().SetControlMode(TSettings::SimpleMode); });
    } else {
        // What the simple mode's buttons put into the list is not the operator's: its clear is
        // not a step.
        Session().SetControlMode(TSettings::ExtendedMode);
    }
    ApplyModeLayout();
}

void TForm1::ApplyModeLayout() {
    const TSettings& settings = Session().Settings();
    const bool simple = settings.ControlMode == TSettings::SimpleMode;
    for (QAction* action :
         {mmFileSave, mmFileSaveProgram, mmFileOpen, mmFileSaveAs, mmFileImport, mmFileExport, mmPreview})
        action->setEnabled(!simple);
    mmRecent->setEnabled(!simple && !Session().Settings().RecentFiles.isEmpty());
    UpdateEditActions();
    UpdateTitle();
    SimplePanel->EnableAll(simple);
    ExtendedPanel->EnableAll(!simple);
    // A list with a wrong command stays unsendable, whatever the layout.
    ExtendedPanel->btnRunTR->setEnabled(!simple && !Session().ListFaulty());
    ExtendedPanel->btnStopSending->setEnabled(!simple && Session().Transmitting());
    ChannelState->ShowChannelBoxes(simple);

    if (simple) {
        ExtendedPanel->hide();
        SimplePanel->setFixedWidth(361);
        SimplePanel->show();
        ResizeLaidOut(370, height());
        return;
    }
    SimplePanel->hide();
    SimplePanel->setFixedWidth(0);
    const int multWidth =
        ExtendedPanel->ShowSideLists(settings.ShowLoadLog, settings.ShowPortLog, settings.LogTimes);
    // The list may grow when the operator widens the window; this is its width at the switch.
    ExtendedPanel->setMinimumWidth(multWidth);
    ExtendedPanel->show();
    ResizeLaidOut(SimplePanel->width() + multWidth + 10, height());
}

void TForm1::SimpleButtonClick(int action) {
    ShowMessages(Session().PrepareSimpleList(TSession::SimpleAction(action), SimplePanel->CurrentMotion()));
    Session().SendCommandList();
}

void TForm1::btnLoadClick() {
    SimpleButtonClick(int(TSession::SimpleAction::Write));
}

void TForm1::btnStartClick() {
    SimpleButtonClick(int(TSession::SimpleAction::Start));
}

void TForm1::btnStopClick() {
    SimpleButtonClick(int(TSession::SimpleAction::Stop));
}

void TForm1::btnPuskClick() {
    SimpleButtonClick(int(TSession::SimpleAction::WriteAndStart));
}
