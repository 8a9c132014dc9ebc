#include "Unit1.h"

#include "Dialogs.h"
#include "Globals.h"
#include "TextCodec.h"
#include "UnitCommonDatas.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/UnitKVTComands.h"
#include "serial/ComPort.h"
#include "serial/PortDevice.h"
#include "serial/PortInfo.h"
#include "widgets/Captions.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/ReplyList.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

TForm1::TForm1(const QString& programFolder, QWidget* parent) : QMainWindow(parent), Paths(programFolder) {
    CreateControls();
    connect(btnOpenPort, &QPushButton::clicked, this, &TForm1::btnOpenPortClick);
    connect(btnClosePort, &QPushButton::clicked, this, &TForm1::btnClosePortClick);
    connect(mmVers, &QAction::triggered, this, &TForm1::mmVers1Click);
    connect(rgrSingl_Mult, &TRadioGroup::Clicked, this, &TForm1::rgrSingl_MultClick);
    connect(btnRunTR, &QPushButton::clicked, this, &TForm1::btnRunTRClick);
    ConnectEditorHandlers();
    connect(btnLoad, &QPushButton::clicked, this, &TForm1::btnLoadClick);
    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
    connect(btnPusk, &QPushButton::clicked, this, &TForm1::btnPuskClick);
    for (QCheckBox* box : {ChboxCoord1, chboxCoord2, chboxCoord3})
        connect(box, &QCheckBox::clicked, this, &TForm1::btnCoord123Click);
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::FormCreate() {
    Form1 = this;

    ComPort = new TComPort(Paths.PortsFolder(), this);
    ComPort->OnRead = [this](const char* buffer, int count, quint32 errors) {
        PortDataReceived(buffer, count, errors);
    };
    connect(ComPort, &TComPort::HungUp, this, &TForm1::PortHungUp);
    ::ComPort = ComPort;

    CommonDatas = std::make_unique<TCommonDatas>(*this);
    ::CommonDatas = CommonDatas.get();

    Lang = std::make_unique<TLang>(Paths, *CommonDatas, *this);
    ::Lang = Lang.get();
    Lang->LoadMessages();

    KVTCommands = std::make_unique<TKVTCommands>();
    RebuildCommandTable();

    // The port number comes from the settings file once it exists; until then port 1. The line
    // settings are the same at every start: 8 data bits, 1 stop bit, even parity, 9600 baud.
    ComPort->SetPortNumber(1);
    ComPort->SetDataBitsIndex(3);
    ComPort->SetStopBits(0);
    ComPort->SetParity(2);
    ComPort->SetBaudIndex(6);
    UpdatePortControls();

    EventPortString = std::make_unique<TNamedEvent>(EventNames::PortString, false);
    EventReadFuncReady = std::make_unique<TNamedEvent>(EventNames::ReadFuncReady, true);
    EventReaded = std::make_unique<TNamedEvent>(EventNames::Readed, false);
    Replies = std::make_unique<TReplyHandler>(
        *CommonDatas, *Lang, *this, *EventPortString, *EventReadFuncReady, *EventReaded,
        [this](const QString& text) { return ComPort->WriteText(text); },
        [this](int ms, std::function<void()> step) { QTimer::singleShot(ms, this, std::move(step)); });

    btnOpenPortClick();

    resize(371, height());
    // The description column takes the rest of the grid (and keeps it as the grid grows).
    StringGridSend->SetColWidth(2, std::max(40, StringGridSend->width() - StringGridSend->ColWidth(0) -
                                                    StringGridSend->ColWidth(1) - 20));
    StringGridSend->SetCell(0, 0, QString::fromUtf8("№"));
    StringGridSend->SetCell(2, 0, "Command");

    rgrSingl_MultClick();

    if (CommonDatas->ShowOperationLog) {
        resize(width(), 613);
    } else {
        resize(width(), height() - MemoLog->height());
        MemoLog->hide();
    }

    CommonDatas->SetLastReply("  ");
    Lang->ReloadLanguage(*this);
}

void TForm1::FormDestroy() {
    if (!CommonDatas)
        return; // already done
    // A running transmission stops at once and is waited for, before what it uses goes away.
    RWThread.reset();
    delete ComPort; // closes the port and ends its read thread
    ComPort = nullptr;
    Replies.reset();
    EventPortString.reset();
    EventReadFuncReady.reset();
    CommonDatas.reset();
    KVTCommands.reset();
    Lang.reset();
    ::ComPort = nullptr;
    ::CommonDatas = nullptr;
    ::Lang = nullptr;
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::btnOpenPortClick() {
    ComPort->Close();
    ComPort->Open();
    if (ComPort->Connected()) {
        PanelPortProp->SetCaption(Lang->Message(Msg::PortPrefix) + PortInfo());
        PanelPortProp->setToolTip(ComPort->DeviceName());
        ComPort->EnableReading(true);
    } else {
        AddLogLine(QString("Cannot open port COM%1 (%2): %3.")
                       .arg(ComPort->PortNumber())
                       .arg(ComPort->DeviceName(), PortDevice::DescribeOpenError(ComPort->LastOpenError())),
                   true);
        Dialogs().ShowMessage(Lang->Message(Msg::ErrorOpeningPort));
    }
    UpdatePortControls();
}

void TForm1::btnClosePortClick() {
    ComPort->Close();
    PanelPortProp->SetCaption(QString());
    UpdatePortControls();
}

void TForm1::UpdatePortControls() {
    const bool open = ComPort->Connected();
    btnClosePort->setEnabled(open);
    btnOpenPort->setEnabled(!open);
    mmSettsProp->setEnabled(open);
}

QString TForm1::PortInfo() const {
    return ComposePortInfo(ComPort->PortNumber(), ComPort->DataBitsIndex(), ComPort->StopBits(),
                           ComPort->Parity(), Lang->Messages);
}

void TForm1::PortHungUp(const QString& device) {
    AddLogLine(
        QString("Connection lost on COM%1 (%2): the device hung up or was removed. The port is closed.")
            .arg(ComPort->PortNumber())
            .arg(device),
        true);
    PanelPortProp->SetCaption(QString());
    UpdatePortControls();
}

void TForm1::mmVers1Click() {
    const QString& version = CommonDatas->VersionText;
    Dialogs().ShowMessage(Lang->Message(Msg::AboutSoftware) + version + Lang->Message(Msg::AboutQuestions));
    Dialogs().ShowMessage(version + Lang->Message(Msg::AboutIntended));
}

// --- ICommonDatasView ---

void TForm1::PaintIndicator(int channel, const QColor& colour) {
    TShape* shapes[] = {shpX, shpY, shpZ};
    if (channel >= 1 && channel <= 3)
        shapes[channel - 1]->SetColour(colour);
}

void TForm1::ShowCoordinatesActive(const QString& caption, bool channel1, bool channel2, bool channel3) {
    PanelCoordinates->SetCaption(caption);
    ChboxCoord1->setChecked(channel1);
    chboxCoord2->setChecked(channel2);
    chboxCoord3->setChecked(channel3);
}

void TForm1::EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) {
    btnPusk->setEnabled(pusk);
    btnStop->setEnabled(stop);
    btnStart->setEnabled(start);
    btnLoad->setEnabled(load);
}

bool TForm1::SimpleModeSelected() const {
    return rgrSingl_Mult->ItemIndex() == 0;
}

void TForm1::ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel) {
    lblScale->setText(scaleText);
    EditStepsToUnits->setText(scaleText);
    GrBoxStepsToUnits->setTitle(groupCaption);
    Label3->setText(unitLabel);
}

void TForm1::ShowRounding(const QString& text) {
    lblTrunc->setText(text);
}

void TForm1::ScaleChanged() {
    if (KVTCommands)
        RebuildCommandTable();
}

void TForm1::AddLogLine(const QString& text, bool red) {
    MemoLog->AddLine(text, red);
}

void TForm1::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}
