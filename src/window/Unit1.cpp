#include "Unit1.h"

#include "PortName.h"
#include "UnitByteLen.h"
#include "UnitChanRead.h"
#include "UnitColorIndicators.h"
#include "UnitCoord.h"
#include "UnitErrNastr.h"
#include "UnitLang.h"
#include "UnitProgProp.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "serial/ComPort.h"
#include "session/Session.h"
#include "settings/SettingsFiles.h"
#include "widgets/Captions.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm1::TForm1(const QString& programFolder, quint32 portForThisStart, QWidget* parent)
    : QMainWindow(parent) {
    CreateControls();
    // The session's shared state writes its defaults into the controls just created.
    session_ = std::make_unique<TSession>(programFolder, *this);
    if (portForThisStart != 0)
        session_->UsePortForThisStart(portForThisStart);
    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::ConnectHandlers() {
    connect(btnOpenPort, &QPushButton::clicked, this, &TForm1::btnOpenPortClick);
    connect(btnClosePort, &QPushButton::clicked, this, &TForm1::btnClosePortClick);
    connect(mmVers, &QAction::triggered, this, &TForm1::mmVers1Click);
    connect(mmSettsPortName, &QAction::triggered, this, &TForm1::mmSettsPortNameClick);
    connect(mmSettsProp, &QAction::triggered, this, &TForm1::mmSettsPropClick);
    connect(mmNastrLogs, &QAction::triggered, this, &TForm1::mmNastrLogsClick);
    connect(mmNastrError, &QAction::triggered, this, &TForm1::mmNastrErrorClick);
    connect(mmSettsCoord, &QAction::triggered, this, &TForm1::mmSettsCoordClick);
    connect(mmLang, &QAction::triggered, this, &TForm1::mmLangClick);
    connect(mmReadCh, &QAction::triggered, this, &TForm1::mmReadChClick);
    connect(mmFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(btnSetCoordStates, &QPushButton::clicked, this, &TForm1::btnSetCoordStatesClick);
    // The mode switch clears the list: it acts only when the selection really changes, never on
    // a click on the mode already selected.
    connect(rgrSingl_Mult, &TRadioGroup::Clicked, this, [this] {
        if (rgrSingl_Mult->ItemIndex() != Session().Datas().ControlMode)
            rgrSingl_MultClick();
    });
    ConnectSendingHandlers();
    ConnectEditorHandlers();
    connect(btnLoad, &QPushButton::clicked, this, &TForm1::btnLoadClick);
    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
    connect(btnPusk, &QPushButton::clicked, this, &TForm1::btnPuskClick);
    for (QCheckBox* box : {ChboxCoord1, chboxCoord2, chboxCoord3})
        connect(box, &QCheckBox::clicked, this, &TForm1::btnCoord123Click);
    connect(session_.get(), &TSession::Received, lbBufRead, &TReplyList::Refresh);
    connect(session_.get(), &TSession::PortLost, this, &TForm1::PortLost);
}

void TForm1::FormCreate() {
    TSession& session = Session();
    TLang& lang = session.Lang();
    StringGridSend->SetList(&session.CommandList());
    lbBufRead->SetLog(&session.ReplyLog());
    if (!session.PortSettingsLoaded())
        ReportFile(session.Settings().PortFile());
    UpdatePortControls();

    btnOpenPortClick();

    resize(371, height());
    // The description column takes the rest of the grid (and keeps it as the grid grows).
    StringGridSend->SetColWidth(0, 20);
    StringGridSend->SetColWidth(1, 20);
    StringGridSend->SetColWidth(2, std::max(40, StringGridSend->width() - StringGridSend->ColWidth(0) -
                                                    StringGridSend->ColWidth(1) - 20));
    StringGridSend->SetCell(0, 0, QString::fromUtf8("№"));
    StringGridSend->SetCell(2, 0, "Command");

    // The second reading of prp.dat applies every value to the finished window.
    if (!session.Settings().LoadProgramSettings(this))
        ReportFile(session.Settings().ProgramFile());
    rgrSingl_MultClick();

    if (session.Datas().ShowOperationLog) {
        resize(width(), 613);
    } else {
        resize(width(), height() - MemoLog->height());
        MemoLog->hide();
    }

    if (!session.Settings().LoadErrorSettings())
        ReportFile(session.Settings().ErrorFile());
    session.Datas().SetLastReply("  ");
    lang.ReloadLanguage(*this);
    ApplyExtraTexts();
}

void TForm1::ApplyExtraTexts() {
    const TLang& lang = Session().Lang();
    StringGridSend->SetDragHint(lang.ExtraText(Ext::DragRowHint));
    btnStopSending->setText(lang.ExtraText(Ext::StopSending));
    mmFileQuit->setText(lang.ExtraText(Ext::Quit));
}

void TForm1::ShowOperationLog(bool show) {
    if (show) {
        MemoLog->show();
        resize(width(), 613);
    } else if (MemoLog->isVisibleTo(this)) {
        resize(width(), height() - MemoLog->height() + 5);
        MemoLog->hide();
    }
}

void TForm1::FormDestroy() {
    // The dialogs go first, while the window they report to is whole.
    delete formPortName_;
    delete formByteLen_;
    delete formProgProp_;
    delete formErrNastr_;
    delete formColorIndicators_;
    delete formCoord_;
    delete formLang_;
    delete formChanRead_;
    // A running transmission stops at once and is waited for, before the port and the events
    // go (the session's own order).
    session_.reset();
}

void TForm1::btnOpenPortClick() {
    if (Session().OpenPort()) {
        PanelPortProp->SetCaption(Session().Lang().Message(Msg::PortPrefix) + Session().PortInfo());
        PanelPortProp->setToolTip(Session().Port().DeviceName());
    } else {
        Dialogs().ShowMessage(Session().Lang().Message(Msg::ErrorOpeningPort));
    }
    UpdatePortControls();
}

void TForm1::btnClosePortClick() {
    Session().ClosePort();
    PanelPortProp->SetCaption(QString());
    UpdatePortControls();
}

void TForm1::UpdatePortControls() {
    const bool open = Session().PortOpen();
    btnClosePort->setEnabled(open);
    btnOpenPort->setEnabled(!open);
    mmSettsProp->setEnabled(open);
    // The data bits of an open or closed port are not changed from the line settings dialog.
    if (formByteLen_)
        formByteLen_->rgrDataLen->setEnabled(false);
}

void TForm1::PortLost() {
    PanelPortProp->SetCaption(QString());
    UpdatePortControls();
}

void TForm1::mmVers1Click() {
    const TLang& lang = Session().Lang();
    const QString& version = Session().Datas().VersionText;
    Dialogs().ShowMessage(lang.Message(Msg::AboutSoftware) + version + lang.Message(Msg::AboutQuestions));
    Dialogs().ShowMessage(version + lang.Message(Msg::AboutIntended));
}

// --- ICommonDatasView ---

void TForm1::PaintIndicator(int channel, TRgb colour) {
    TShape* shapes[] = {shpX, shpY, shpZ};
    if (channel >= 1 && channel <= 3)
        shapes[channel - 1]->SetColour(QColor::fromRgb(colour));
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

void TForm1::ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel) {
    lblScale->setText(scaleText);
    EditStepsToUnits->setText(scaleText);
    GrBoxStepsToUnits->setTitle(groupCaption);
    Label3->setText(unitLabel);
}

void TForm1::ShowRounding(const QString& text) {
    lblTrunc->setText(text);
}

void TForm1::AddLogLine(const QString& text, bool red) {
    MemoLog->AddLine(text, red);
}

void TForm1::AddRecordingLine(const QString& text) {
    MemoRead->AppendLine(text);
}

void TForm1::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}
