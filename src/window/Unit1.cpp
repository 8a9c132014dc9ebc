#include "Unit1.h"

#include "AlertQueue.h"
#include "LangDialog.h"
#include "ListHistory.h"
#include "PortName.h"
#include "ProgramPreviewWindow.h"
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
#include "panels/ChannelStatePanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/SimpleModePanel.h"
#include "panels/UnitsPanel.h"
#include "session/Session.h"
#include "widgets/Captions.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QPushButton>

TForm1::TForm1(const QString& programFolder, quint32 portForThisStart, QWidget* parent)
    : QMainWindow(parent) {
    CreateControls();
    // The session's shared state writes its defaults into the controls just created.
    session_ = std::make_unique<TSession>(programFolder, *this);
    history_ = new TListHistory(*session_, this);
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
    connect(mmPreview, &QAction::triggered, this, &TForm1::mmPreviewClick);
    connect(ExtendedPanel->btnPreview, &QPushButton::clicked, this, &TForm1::mmPreviewClick);
    connect(mmFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(ChannelState->StatesButton(), &QPushButton::clicked, this, &TForm1::btnSetCoordStatesClick);
    connect(ChannelState, &TChannelStatePanel::ChannelsClicked, session_.get(), &TSession::SetChannelsActive);
    // The mode switch clears the list: it acts only when the selection really changes, never on
    // a click on the mode already selected.
    connect(rgrSingl_Mult, &TRadioGroup::Clicked, this, [this] {
        if (rgrSingl_Mult->ItemIndex() != Session().Datas().Settings().ControlMode)
            rgrSingl_MultClick();
    });
    ConnectSendingHandlers();
    ConnectEditorHandlers();
    ConnectFileHandlers();
    ConnectLogMenus();
    const struct {
        QPushButton* button;
        TSession::SimpleAction action;
    } simple[] = {{SimplePanel->btnLoad, TSession::SimpleAction::Write},
                  {SimplePanel->btnStart, TSession::SimpleAction::Start},
                  {SimplePanel->btnStop, TSession::SimpleAction::Stop},
                  {SimplePanel->btnPusk, TSession::SimpleAction::WriteAndStart}};
    for (const auto& b : simple)
        connect(b.button, &QPushButton::clicked, this, [this, b] { SimpleButtonClick(int(b.action)); });
    connect(session_.get(), &TSession::Received, ExtendedPanel->lbBufRead, &TReplyList::Refresh);
    connect(session_.get(), &TSession::PortLost, this, &TForm1::PortLost);
    alerts_ = new TAlertQueue(session_->Lang(), this);
    connect(session_.get(), &TSession::Alert, alerts_, &TAlertQueue::Add);
}

void TForm1::FormCreate() {
    TSession& session = Session();
    ShowMessages(session.TakeLanguageProblems());
    TStringGrid* grid = ExtendedPanel->StringGridSend;
    grid->SetList(&session.CommandList());
    ExtendedPanel->lbBufRead->SetLog(&session.ReplyLog());
    if (!session.PortSettingsLoaded())
        ReportFile(session.PortSettingsFile());
    UpdatePortControls();

    btnOpenPortClick();

    resize(371, height());
    grid->SetCell(0, 0, QString::fromUtf8("№"));
    grid->SetCell(2, 0, "Command");
    grid->FitCodeColumns();

    if (!session.ProgramSettingsLoaded())
        ReportFile(session.ProgramSettingsFile());
    ShowSettings(session.Settings());
    rgrSingl_MultClick();

    if (session.Settings().ShowOperationLog) {
        resize(width(), 613);
    } else {
        // Laid out first: the window is shorter by the height it gives the log, not by the log's
        // height before any layout; hidden first, so that the log's minimum holds nothing back.
        layout()->activate();
        centralWidget()->layout()->activate();
        const int logHeight = MemoLog->height();
        MemoLog->hide();
        layout()->activate();
        resize(width(), height() - logHeight);
    }

    if (!session.ErrorSettingsLoaded())
        ReportFile(session.ErrorSettingsFile());
    if (!session.ExtraSettingsLoaded())
        Dialogs().ShowMessage(
            session.Lang().ExtraText(Ext::ExtraSettingsDamaged).arg(session.ExtraSettingsFile()));
    session.ApplyMainLanguage(*this);
    ShowMessages(session.TakeLanguageProblems());
    ApplyExtraTexts();
}

void TForm1::ShowSettings(const TSettings& settings) {
    rgrSingl_Mult->SetItemIndex(settings.ControlMode);
    UnitsPanel->rgrUnits->SetItemIndex(settings.UnitsMode);
    UnitsPanel->EnableScale(settings.UnitsMode == TSettings::OtherUnits);
}

void TForm1::ApplyExtraTexts() {
    const TLang& lang = Session().Lang();
    ExtendedPanel->StringGridSend->SetDragHint(lang.ExtraText(Ext::DragRowHint));
    ExtendedPanel->btnStopSending->setText(lang.ExtraText(Ext::StopSending));
    mmFileQuit->setText(lang.ExtraText(Ext::Quit));
    mmPreview->setText(lang.ExtraText(Ext::PreviewMenu));
    ExtendedPanel->btnPreview->setText(lang.ExtraText(Ext::PreviewButton));
    mmEdit->setTitle(lang.ExtraText(Ext::EditMenu));
    mmEditUndo->setText(lang.ExtraText(Ext::Undo));
    mmEditRedo->setText(lang.ExtraText(Ext::Redo));
    mmFileSaveAs->setText(lang.ExtraText(Ext::SaveAs));
    mmRecent->setTitle(lang.ExtraText(Ext::RecentFilesMenu));
    mmFileImport->setText(lang.ExtraText(Ext::ImportText));
    mmFileExport->setText(lang.ExtraText(Ext::ExportText));
    ExtendedPanel->StringGridSend->SetCell(TCommandList::LineColumn, 0, lang.ExtraText(Ext::CodeColumn));
    ApplyLogMenuTexts();
    UpdateTitle();
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
    // The dialogs go first, while the session they stand on is whole.
    const auto close = [](auto& dialog) { delete dialog.data(); };
    close(formPortName_);
    close(formByteLen_);
    close(formProgProp_);
    close(formErrNastr_);
    close(formColorIndicators_);
    close(formCoord_);
    close(formLang_);
    close(formChanRead_);
    close(formPreview_);
    // The history's steps stand on the session too.
    delete history_;
    history_ = nullptr;
    // A running transmission stops at once and is waited for, before the port goes.
    session_.reset();
}

void TForm1::ReportFile(const QString& path) {
    const TLang& lang = Session().Lang();
    Dialogs().ShowMessage(lang.Message(Msg::FilePrefix) + path + lang.Message(Msg::NotFoundOrDamaged));
}

void TForm1::btnOpenPortClick() {
    if (Session().OpenPort()) {
        PanelPortProp->SetCaption(Session().Lang().Message(Msg::PortPrefix) + Session().PortInfo());
        PanelPortProp->setToolTip(Session().PortDevice());
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
    if (channel >= 1 && channel <= 3)
        ChannelState->Indicator(channel)->SetColour(QColor::fromRgb(colour));
}

void TForm1::ShowCoordinatesActive(const QString& caption, bool channel1, bool channel2, bool channel3) {
    PanelCoordinates->SetCaption(caption);
    ChannelState->ShowChannels(channel1, channel2, channel3);
}

void TForm1::EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) {
    SimplePanel->EnableButtons(load, start, stop, pusk);
}

void TForm1::ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel) {
    UnitsPanel->ShowScale(scaleText, groupCaption, unitLabel);
}

void TForm1::ShowRounding(const QString& text) {
    UnitsPanel->ShowRounding(text);
}

void TForm1::AddLogLine(const QString& text, bool red) {
    MemoLog->AddLine(text, red);
}

void TForm1::AddRecordingLine(const QString& text) {
    ExtendedPanel->MemoRead->AppendLine(text);
}

void TForm1::SetCaption(const QString& objectName, int item, const QString& text) {
    // The window's own caption is the described title, which the file's name follows.
    if (objectName == this->objectName() && item < 0) {
        title_ = text;
        UpdateTitle();
        return;
    }
    SetControlCaption(this, objectName, item, text);
}
