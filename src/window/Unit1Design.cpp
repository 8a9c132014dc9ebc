// The main window's design: every control with its name, design-time caption and state, and
// where it sits. Nothing here reacts to the operator; Unit1.cpp wires the handlers.
#include "Unit1.h"

#include "widgets/HiddenMemo.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/SendingProgress.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QPushButton(caption, parent), name);
}

QLabel* Label(const char* name, const QString& caption, QWidget* parent) {
    auto* label = Named(new QLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* Edit(const char* name, const QString& text, int maxLength, QWidget* parent) {
    auto* edit = Named(new QLineEdit(text, parent), name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

// Wide enough for `sample` in the edit's font, with the frame around it.
int EditWidthFor(const char* sample) {
    QLineEdit probe;
    return probe.fontMetrics().horizontalAdvance(sample) + 14;
}

QToolButton* Tool(const char* name, const QString& caption, const QString& hint, QWidget* parent) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setMinimumWidth(std::max(30, button->sizeHint().width()));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

// Stacks `caption` over `list` in `panel`, the list taking every pixel of height the panel gets.
void CaptionOverList(QFrame* panel, QWidget* caption, QWidget* list) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(caption);
    column->addWidget(list, 1);
}

} // namespace

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    mmFile = Named(bar->addMenu("File"), "mmFile");
    mmFileOpen = MenuItem(mmFile, "mmFileOpen", "Load from file");
    mmFileSave = MenuItem(mmFile, "mmFileSave", "Save to file");
    mmFile->addSeparator();
    mmFileQuit = MenuItem(mmFile, "mmFileQuit", "Quit");
    mmFileOpen->setShortcut(QKeySequence::Open);
    mmFileSave->setShortcut(QKeySequence::Save);
    mmFileQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mmSetts = Named(bar->addMenu("Port settings"), "mmSetts");
    mmSettsPortName = MenuItem(mmSetts, "mmSettsPortName", "Chose port");
    mmSettsProp = MenuItem(mmSetts, "mmSettsProp", "Port settings");
    mmSettsCoord = MenuItem(mmSetts, "mmSettsCoord", "Coordinates");
    mmSettsCoord->setVisible(false);
    mmNastr = Named(bar->addMenu("Program settings"), "mmNastr");
    mmNastrError = MenuItem(mmNastr, "mmNastrError", "Errore handlings");
    mmNastrLogs = MenuItem(mmNastr, "mmNastrLogs", "Program settings");
    mmLang = MenuItem(mmNastr, "mmLang", "Language");
    mmInfo = Named(bar->addMenu("Info"), "mmInfo");
    mmVers = MenuItem(mmInfo, "mmVers", "Program vers.");
    mmReadCh = MenuItem(mmInfo, "mmReadCh", "Load from device");
}

QWidget* TForm1::CreateChannelStatePanel() {
    PanelChanelState = new TPanel("PanelChanelState");
    auto* row = new QHBoxLayout(PanelChanelState);
    row->setContentsMargins(6, 2, 6, 2);
    const struct {
        QLabel** text;
        const char* textName;
        TShape** shape;
        const char* shapeName;
        QCheckBox** box;
        const char* boxName;
    } channels[] = {{&txtX, "txtX", &shpX, "shpX", &ChboxCoord1, "ChboxCoord1"},
                    {&txtY, "txtY", &shpY, "shpY", &chboxCoord2, "chboxCoord2"},
                    {&txtZ, "txtZ", &shpZ, "shpZ", &chboxCoord3, "chboxCoord3"}};
    int n = 1;
    for (const auto& c : channels) {
        *c.text = Label(c.textName, QString::number(n++), PanelChanelState);
        *c.shape = new TShape(c.shapeName, QColor(0, 128, 0), PanelChanelState);
        *c.box = Named(new QCheckBox(PanelChanelState), c.boxName);
        row->addWidget(*c.text);
        row->addWidget(*c.shape);
        row->addWidget(*c.box);
        auto* bevel = new QFrame(PanelChanelState);
        bevel->setFrameShape(QFrame::VLine);
        bevel->setFrameShadow(QFrame::Sunken);
        row->addWidget(bevel);
    }
    ChboxCoord1->setChecked(true);
    btnSetCoordStates = Button("btnSetCoordStates", "?", PanelChanelState);
    btnSetCoordStates->setToolTip("Coordinates mode");
    row->addStretch();
    row->addWidget(btnSetCoordStates);
    return PanelChanelState;
}

QWidget* TForm1::CreateSimplePanel() {
    PanelSingeC = new TPanel("PanelSingeC");
    PanelSingeC->setFrameShadow(QFrame::Sunken);
    PanelSingeC->setFixedWidth(361);
    auto* column = new QVBoxLayout(PanelSingeC);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(2);
    const int editWidth = EditWidthFor("10000000");

    grbSteps = Named(new QGroupBox("Motion", PanelSingeC), "grbSteps");
    auto* steps = new QGridLayout(grbSteps);
    steps->setContentsMargins(6, 2, 6, 2);
    steps->setVerticalSpacing(2);
    StTStepsNum = Label("StTStepsNum", "movement", grbSteps);
    EditStepsNum = Edit("EditStepsNum", "200", 8, grbSteps);
    chbStepsConst = Named(new QCheckBox("permanent motion", grbSteps), "chbStepsConst");
    steps->addWidget(StTStepsNum, 0, 0);
    steps->addWidget(EditStepsNum, 0, 1);
    steps->addWidget(chbStepsConst, 1, 0, 1, 3);
    steps->setColumnStretch(2, 1);

    grbSpeed = Named(new QGroupBox("Velocity", PanelSingeC), "grbSpeed");
    auto* speed = new QGridLayout(grbSpeed);
    speed->setContentsMargins(6, 2, 6, 2);
    speed->setVerticalSpacing(2);
    StTSpeed = Label("StTSpeed", "Maximum speed", grbSpeed);
    EditSpeed = Edit("EditSpeed", "200", 5, grbSpeed);
    StTBeginSpeed = Label("StTBeginSpeed", "Start speed", grbSpeed);
    EditBeginSpeed = Edit("EditBeginSpeed", "200", 0, grbSpeed);
    speed->addWidget(StTSpeed, 0, 0);
    speed->addWidget(EditSpeed, 0, 1);
    speed->addWidget(StTBeginSpeed, 1, 0);
    speed->addWidget(EditBeginSpeed, 1, 1);
    speed->setColumnStretch(2, 1);

    grbAccel = Named(new QGroupBox("Acceleration/Deceleration", PanelSingeC), "grbAccel");
    auto* accel = new QHBoxLayout(grbAccel);
    accel->setContentsMargins(6, 2, 6, 2);
    rbtnAccel = Named(new QRadioButton("Acceleration:", grbAccel), "rbtnAccel");
    EditAccel = Edit("EditAccel", "0", 4, grbAccel);
    rbtnNonAccel = Named(new QRadioButton("No acceleration", grbAccel), "rbtnNonAccel");
    rbtnNonAccel->setChecked(true);
    accel->addWidget(rbtnAccel);
    accel->addWidget(EditAccel);
    accel->addSpacing(8);
    accel->addWidget(rbtnNonAccel, 1);

    for (QLineEdit* edit : {EditStepsNum, EditSpeed, EditBeginSpeed, EditAccel})
        edit->setFixedWidth(editWidth);

    rgrDirect = new TRadioGroup("rgrDirect", "Direction", {"Forward", "Backward"}, 2, PanelSingeC);
    rgrDirect->SetItemIndex(0);

    btnLoad = Button("btnLoad", "Write", PanelSingeC);
    btnStart = Button("btnStart", "Start", PanelSingeC);
    btnStop = Button("btnStop", "Stop", PanelSingeC);
    btnPusk = Button("btnPusk", "Write and Start", PanelSingeC);
    btnPusk->setToolTip(QString::fromUtf8("Записать программу в контроллер и запустить"));
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(btnLoad, 0, 0);
    buttons->addWidget(btnStart, 0, 1);
    buttons->addWidget(btnStop, 1, 0);
    buttons->addWidget(btnPusk, 1, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{grbSteps, grbSpeed, grbAccel, rgrDirect})
        column->addWidget(w);
    column->addLayout(buttons);
    column->addStretch();
    return PanelSingeC;
}

QWidget* TForm1::CreateToolPanel() {
    pnlTools = Named(new QFrame, "pnlTools");
    auto* grid = new QGridLayout(pnlTools);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);

    // Commands with an argument: a button and the edit that holds its argument, two per row.
    const struct {
        QToolButton** button;
        const char* name;
        const char* caption;
        const char* hint;
        QLineEdit** edit;
        const char* editName;
        const char* text;
    } withArgument[] = {
        {&btnAL, "btnAL", "AL", "Acceleration/deceleration", &EditAL, "EditAL", "0"},
        {&btnSF, "btnSF", "SF", "Set signal (close relay)", &EditSF, "EditSF", "1"},
        {&btnSD, "btnSD", "SD", "Maximum speed", &EditSD, "EditSD", "200"},
        {&btnCF, "btnCF", "CF", "Clear signal (open relay)", &EditCF, "EditCF", "1"},
        {&btnSS, "btnSS", "SS", "Start speed", &EditSS, "EditSS", "1"},
        {&btnWL, "btnWL", "WL", "Waint until signal to input 1", &EditWL, "EditWL", "1"},
        {&btnMVn, "btnMVn", "MV n", "Move step number", &EditMVn, "EditMVn", "10000000"},
        {&btnWH, "btnWH", "WH", "Wait until signal to input 2", &EditWH, "EditWH", "1"},
        {&btnSP, "btnSP", "SP", "Pause, ms", &EditSP, "EditSP", "10000000"},
        {&btnLP, "btnLP", "JP", "Repeat from label", &EditJP, "EditJP", "255"},
        {&btnML, "btnML", "ML", "Move until signal to input 1", &EditML, "EditML", "1"},
        {&btnSB, "btnSB", "SB", "", &EditSB, "EditSB", "250"},
        {&btnMH, "btnMH", "MH", "Move until signal to input 2", &EditMh, "EditMh", "1"},
    };
    // The left column holds the large arguments, the right one values of three digits at most.
    int i = 0;
    for (const auto& c : withArgument) {
        *c.button = Tool(c.name, c.caption, c.hint, pnlTools);
        *c.edit = Edit(c.editName, c.text, 0, pnlTools);
        (*c.edit)->setFixedWidth(EditWidthFor(i % 2 == 0 ? "10000000" : "255"));
        grid->addWidget(*c.button, i / 2, (i % 2) * 2);
        grid->addWidget(*c.edit, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    int row = (i + 1) / 2;

    // Commands without an argument, in rows of four.
    const struct {
        QToolButton** button;
        const char* name;
        const char* caption;
        const char* hint;
    } plain[] = {
        {&btnBG, "btnBG", "BG", "Begin program"},   {&btnEN, "btnEN", "EN", "Allow motion"},
        {&btnDS, "btnDS", "DS", "Prohibit motion"}, {&btnMV, "btnMV", "MV", "permanent motion"},
        {&btnDL, "btnDL", "DL", "Motion forward"},  {&btnDR, "btnDR", "DR", "Motion backward"},
        {&btnRS, "btnRS", "RS", "Reverse motion"},  {&bthHM, "bthHM", "HM", "Move to zero switch"},
        {&btnLL, "btnLL", "LL", "Set cycle label"}, {&btnLB, "btnLB", "LB", ""},
    };
    auto* plainGrid = new QGridLayout;
    plainGrid->setSpacing(2);
    i = 0;
    for (const auto& c : plain) {
        *c.button = Tool(c.name, c.caption, c.hint, pnlTools);
        plainGrid->addWidget(*c.button, i / 4, i % 4);
        ++i;
    }
    grid->addLayout(plainGrid, row, 0, 1, 4);

    // Program management at the bottom of the tool panel.
    pnlMainTools = Named(new QFrame(pnlTools), "pnlMainTools");
    pnlMainTools->setFrameShape(QFrame::StyledPanel);
    auto* main = new QHBoxLayout(pnlMainTools);
    main->setContentsMargins(2, 2, 2, 2);
    main->setSpacing(2);
    btnLD1 = Tool("btnLD1", "LD1", "Load program to coordinate 1", pnlMainTools);
    btnED = Tool("btnED", "ED", "End programmig", pnlMainTools);
    btnST = Tool("btnST", "ST", "Start/Stop", pnlMainTools);
    btnPS1 = Tool("btnPS1", "PS1", "", pnlMainTools);
    for (QToolButton* b : {btnLD1, btnED, btnST, btnPS1})
        main->addWidget(b);
    grid->addWidget(pnlMainTools, row + 1, 0, 1, 4);
    grid->setRowStretch(row + 2, 1);
    pnlTools->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return pnlTools;
}

QWidget* TForm1::CreateExtendedPanel() {
    PanelMultC = new TPanel("PanelMultC");
    auto* row = new QHBoxLayout(PanelMultC);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    row->addWidget(CreateToolPanel());

    auto* listColumn = new QVBoxLayout;
    // It shows the session's command list, attached when the window is created (FormCreate).
    StringGridSend = new TStringGrid("StringGridSend", PanelMultC);
    StringGridSend->horizontalHeader()->setStretchLastSection(true);
    btnRunTR = Button("btnRunTR", "Send", PanelMultC);
    btnRunTR->setEnabled(false);
    btnRunTR->setToolTip(QKeySequence(Qt::Key_F5).toString(QKeySequence::NativeText));
    btnStopSending = Button("btnStopSending", "Stop sending", PanelMultC);
    btnStopSending->setEnabled(false);
    btnStopSending->setToolTip(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText));
    btnAllClear = Button("btnAllClear", "Clear all", PanelMultC);
    btnDelRaw = Button("btnDelRaw", "Clear current string", PanelMultC);
    chbDirectControl = Named(new QCheckBox("Direct Control", PanelMultC), "chbDirectControl");
    chbDirectControl->setToolTip("Check to send commands directly");
    btnClear = Button("btnClear", "Clear", PanelMultC);
    btnClear->hide();
    listColumn->addWidget(StringGridSend, 1);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(btnDelRaw, 0, 0);
    buttons->addWidget(btnAllClear, 0, 1);
    buttons->addWidget(chbDirectControl, 1, 0, 1, 2);
    buttons->addWidget(btnRunTR, 2, 0);
    buttons->addWidget(btnStopSending, 2, 1);
    listColumn->addLayout(buttons);
    row->addLayout(listColumn, 1);

    panelLoadAns = Named(new QFrame(PanelMultC), "panelLoadAns");
    lblLoading = Label("lblLoading", "Loading:", panelLoadAns);
    MemoRead = new TMemoList("MemoRead", panelLoadAns);
    CaptionOverList(panelLoadAns, lblLoading, MemoRead);
    row->addWidget(panelLoadAns);

    panelPortAns = Named(new QFrame(PanelMultC), "panelPortAns");
    lblResponse = Label("lblResponse", "Response:", panelPortAns);
    lbBufRead = new TReplyList("lbBufRead", panelPortAns);
    CaptionOverList(panelPortAns, lblResponse, lbBufRead);
    row->addWidget(panelPortAns);

    PanelMultC->setEnabled(false);
    PanelMultC->hide();
    return PanelMultC;
}

QWidget* TForm1::CreateUnitsPanel() {
    PanelUnits = new TPanel("PanelUnits");
    auto* row = new QHBoxLayout(PanelUnits);
    row->setContentsMargins(4, 2, 4, 2);
    rgrUnits = new TRadioGroup("rgrUnits", "Units:", {"steps", "other units"}, 1, PanelUnits);
    rgrUnits->SetItemIndex(0);
    row->addWidget(rgrUnits);

    GrBoxStepsToUnits = Named(new QGroupBox("Scale:", PanelUnits), "GrBoxStepsToUnits");
    auto* grid = new QGridLayout(GrBoxStepsToUnits);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    Label3 = Label("Label3", "One unit =", GrBoxStepsToUnits);
    EditStepsToUnits = Edit("EditStepsToUnits", "1", 0, GrBoxStepsToUnits);
    EditStepsToUnits->setFixedWidth(80);
    btnScaleChange = Button("btnScaleChange", "Change", GrBoxStepsToUnits);
    lblScale = Label("lblScale", "1", GrBoxStepsToUnits);
    QFont bold = lblScale->font();
    bold.setBold(true);
    lblScale->setFont(bold);
    lblScale->setStyleSheet("color: red");
    lblSteps = Label("lblSteps", "steps", GrBoxStepsToUnits);
    lblTrunc = Label("lblTrunc", "Decreasing rounding", GrBoxStepsToUnits);
    lblTrunc->setWordWrap(true);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(EditStepsToUnits, 0, 1);
    grid->addWidget(btnScaleChange, 0, 2);
    grid->addWidget(lblScale, 1, 0);
    grid->addWidget(lblSteps, 1, 1);
    grid->addWidget(lblTrunc, 2, 0, 1, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{GrBoxStepsToUnits, Label3, EditStepsToUnits,
                                                      btnScaleChange, lblScale, lblSteps, lblTrunc})
        w->setEnabled(false);
    row->addWidget(GrBoxStepsToUnits, 1);
    return PanelUnits;
}

QWidget* TForm1::CreatePortPanel() {
    PanelCoordinates = new TPanel("PanelCoordinates");
    PanelCoordinates->SetCaption("Coordinates:   ");
    auto* row = new QHBoxLayout(PanelCoordinates);
    row->setContentsMargins(6, 2, 6, 2);
    btnOpenPort = Button("btnOpenPort", "Open Port", PanelCoordinates);
    btnClosePort = Button("btnClosePort", "Close port", PanelCoordinates);
    btnClosePort->setEnabled(false);
    row->addWidget(PanelCoordinates->CaptionLabel(), 1);
    row->addWidget(btnOpenPort);
    row->addWidget(btnClosePort);
    return PanelCoordinates;
}

void TForm1::CreateControls() {
    setObjectName("Form1");
    setWindowTitle("KVT_Program - ver.4.0.1");
    resize(1020, 626);
    CreateMenu();

    auto* central = new QWidget(this);
    central->setObjectName("Form1Client");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addWidget(CreateChannelStatePanel());
    auto* modes = new QHBoxLayout;
    modes->setSpacing(0);
    modes->addWidget(CreateSimplePanel());
    modes->addWidget(CreateExtendedPanel(), 1);
    // The command list and the operation log share the room of a taller window.
    column->addLayout(modes, 1);
    column->addWidget(CreateUnitsPanel());
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
    column->addWidget(MemoLog, 1);
    TempMemo = new THiddenMemo("TempMemo", central);
    setCentralWidget(central);
}
