// The main window's design: the menu and the panels, each with its name and design-time caption,
// and where they sit. Nothing here reacts to the operator; Unit1.cpp wires the handlers.
#include "Unit1.h"

#include "panels/ChannelStatePanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/SimpleModePanel.h"
#include "panels/UnitsPanel.h"
#include "session/OperationLogLines.h"
#include "widgets/Design.h"
#include "widgets/FittingScrollArea.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/ProgramIcon.h"
#include "widgets/RadioGroup.h"
#include "widgets/SendingProgress.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
QAction* MenuItem(QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}
// The window's column of panels. It asks for no height for its width (a word-wrapped label
// inside would make it ask), so that on a screen too low for it the scroll area lays it out at
// its minimum, the log and the list giving their room first, rather than at its preferred
// height.
class TWindowColumn : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;
    bool hasHeightForWidth() const override { return false; }
};

} // namespace

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    mmFile = Design::Named(bar->addMenu("File"), "mmFile");
    mmFileOpen = MenuItem(mmFile, "mmFileOpen", "Load from file");
    mmFileSave = MenuItem(mmFile, "mmFileSave", "Save to file");
    mmFileSaveProgram = MenuItem(mmFile, "mmFileSaveProgram", "Save");
    mmFileSaveAs = MenuItem(mmFile, "mmFileSaveAs", "Save as...");
    mmRecent = Design::Named(mmFile->addMenu("Recent files"), "mmRecent");
    mmRecent->setProperty("numbered", true); // its entries are marked by their number
    mmFile->addSeparator();
    mmFileImport = MenuItem(mmFile, "mmFileImport", "Import text...");
    mmFileExport = MenuItem(mmFile, "mmFileExport", "Export text...");
    mmFile->addSeparator();
    mmPreview = MenuItem(mmFile, "mmPreview", "Program preview...");
    mmPreview->setShortcut(QKeySequence(Qt::Key_F6));
    mmFile->addSeparator();
    mmFileQuit = MenuItem(mmFile, "mmFileQuit", "Quit");
    mmFileOpen->setShortcut(QKeySequence::Open);
    // The same keys on every desktop (the platform's sequence for "Save as" is empty on some).
    mmFileSaveProgram->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mmFileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mmFileQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mmEdit = Design::Named(bar->addMenu("Edit"), "mmEdit");
    mmEditUndo = MenuItem(mmEdit, "mmEditUndo", "Undo");
    mmEditRedo = MenuItem(mmEdit, "mmEditRedo", "Redo");
    mmEditUndo->setShortcut(QKeySequence::Undo);
    mmEditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mmSetts = Design::Named(bar->addMenu("Port settings"), "mmSetts");
    mmSettsPortName = MenuItem(mmSetts, "mmSettsPortName", "Chose port");
    mmSettsProp = MenuItem(mmSetts, "mmSettsProp", "Port settings");
    mmSettsCoord = MenuItem(mmSetts, "mmSettsCoord", "Coordinates");
    mmSettsCoord->setVisible(false);
    mmNastr = Design::Named(bar->addMenu("Program settings"), "mmNastr");
    mmNastrError = MenuItem(mmNastr, "mmNastrError", "Errore handlings");
    mmNastrLogs = MenuItem(mmNastr, "mmNastrLogs", "Program settings");
    mmLang = MenuItem(mmNastr, "mmLang", "Language");
    mmInfo = Design::Named(bar->addMenu("Info"), "mmInfo");
    mmVers = MenuItem(mmInfo, "mmVers", "Program vers.");
    mmReadCh = MenuItem(mmInfo, "mmReadCh", "Load from device");
}

QWidget* TForm1::CreatePortPanel() {
    PanelCoordinates = new TPanel("PanelCoordinates");
    PanelCoordinates->SetCaption("Coordinates:   ");
    auto* row = new QHBoxLayout(PanelCoordinates);
    row->setContentsMargins(6, 2, 6, 2);
    btnOpenPort = Design::Button("btnOpenPort", "Open Port", PanelCoordinates);
    btnClosePort = Design::Button("btnClosePort", "Close port", PanelCoordinates);
    btnClosePort->setEnabled(false);
    row->addWidget(PanelCoordinates->CaptionLabel(), 1);
    row->addWidget(btnOpenPort);
    row->addWidget(btnClosePort);
    return PanelCoordinates;
}

void TForm1::CreateControls() {
    setObjectName("Form1");
    setWindowTitle("KVT_Program - ver.4.0.1");
    setWindowIcon(ProgramIcon());
    resize(1020, 626);
    CreateMenu();

    auto* scroll = new TFittingScrollArea(this);
    scroll->setObjectName("Form1Scroll");
    auto* central = new QWidget;
    central->setObjectName("Form1Client");
    Client = central;
    auto* column = Design::Spaced(new TWindowColumn(central), 2, 2);
    ChannelState = new TChannelStatePanel(central);
    column->addWidget(ChannelState);
    auto* modes = new QHBoxLayout;
    modes->setSpacing(0);
    SimplePanel = new TSimpleModePanel(central);
    ExtendedPanel = new TExtendedPanel(central);
    modes->addWidget(SimplePanel);
    modes->addWidget(ExtendedPanel, 1);
    // A taller window gives most of its room to the command list, the rest to the operation log.
    column->addLayout(modes, 3);
    UnitsPanel = new TUnitsPanel(central);
    column->addWidget(UnitsPanel);
    rgrSingl_Mult = new TRadioGroup("rgrSingl_Mult", QString(),
                                    {"Simple control mode", "Extended control mode"}, 2, central);
    rgrSingl_Mult->SetItemIndex(0);
    column->addWidget(rgrSingl_Mult);
    column->addWidget(CreatePortPanel());
    PanelPortProp = new TPanel("PanelPortProp", central);
    auto* status = new QHBoxLayout(PanelPortProp);
    status->setContentsMargins(6, 1, 6, 1);
    status->addWidget(PanelPortProp->CaptionLabel(), 1);
    // Shown in the place of the port's description while a long list is sent.
    SendingProgress = new TSendingProgress("SendingProgress", PanelPortProp);
    status->addWidget(SendingProgress, 1);
    column->addWidget(PanelPortProp);
    MemoLog = new TLogView("MemoLog", central);
    MemoLog->setMinimumHeight(40);
    // The window shows the recent lines; the session keeps every line for work.log.
    MemoLog->setMaximumBlockCount(int(TOperationLogLines::DefaultKeep));
    column->addWidget(MemoLog, 1);
    scroll->setWidget(central);
    setCentralWidget(scroll);
}
