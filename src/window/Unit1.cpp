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
#include "widgets/FittingScrollArea.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Mnemonics.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTranslator>

TForm1::TForm1(const QString& programFolder, quint32 portForThisStart, const QString& deviceForThisStart,
               QWidget* parent)
    : QMainWindow(parent) {
    CreateControls();
    // The session's shared state writes its defaults into the controls just created.
    session_ = std::make_unique<TSession>(programFolder, *this);
    history_ = new TListHistory(*session_, this);
    if (portForThisStart != 0)
        session_->UsePortForThisStart(portForThisStart);
    if (!deviceForThisStart.isEmpty())
        session_->UseDevice(deviceForThisStart);
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
    connect(session_.get(), &TSession::DeviceReturned, this, &TForm1::DeviceReturned);
    alerts_ = new TAlertQueue(session_->Lang(), this);
    // F10 opens the menu bar at its first menu, as in other programs.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName("MenuShortcut");
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });
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
        LayOutNow();
        const int logHeight = MemoLog->height();
        MemoLog->hide();
        FitToScreen(); // the minimum without the log
        layout()->activate();
        resize(width(), height() - logHeight);
    }
    FitToScreen();

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
    mmFileSaveProgram->setText(lang.ExtraText(Ext::SaveProgram));
    mmRecent->setTitle(lang.ExtraText(Ext::RecentFilesMenu));
    mmFileImport->setText(lang.ExtraText(Ext::ImportText));
    mmFileExport->setText(lang.ExtraText(Ext::ExportText));
    ExtendedPanel->StringGridSend->SetCell(TCommandList::LineColumn, 0, lang.ExtraText(Ext::CodeColumn));
    ApplyLogMenuTexts();
    ApplyHints();
    ApplyQtTexts();
    Mnemonics::Apply(menuBar());
    UpdateTitle();
}

void TForm1::ApplyQtTexts() {
    // Qt's own texts (file dialogs, the buttons of message boxes) in the language in use, from
    // the translations installed with Qt; a language Qt has none for leaves them in English.
    const QString code = Session().Settings().Language;
    if (code == qtTextsLanguage_)
        return;
    qtTextsLanguage_ = code;
    if (qtTexts_) {
        QCoreApplication::removeTranslator(qtTexts_);
        delete qtTexts_;
        qtTexts_ = nullptr;
    }
    auto translator = std::make_unique<QTranslator>(this);
    if (code != "en" && translator->load("qt_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTexts_ = translator.release();
        QCoreApplication::installTranslator(qtTexts_);
    }
}

void TForm1::ApplyHints() {
    // Every tool button's hint, and those of the other controls that have one, in the
    // language in use.
    const TLang& lang = Session().Lang();
    static const struct {
        const char* name;
        int text;
    } hints[] = {
        {"btnAL", Ext::HintAL},
        {"btnSF", Ext::HintSF},
        {"btnSD", Ext::HintSD},
        {"btnCF", Ext::HintCF},
        {"btnSS", Ext::HintSS},
        {"btnWL", Ext::HintWL},
        {"btnMVn", Ext::HintMVn},
        {"btnWH", Ext::HintWH},
        {"btnSP", Ext::HintSP},
        {"btnLP", Ext::HintJP},
        {"btnML", Ext::HintML},
        {"btnSB", Ext::HintSB},
        {"btnMH", Ext::HintMH},
        {"btnBG", Ext::HintBG},
        {"btnEN", Ext::HintEN},
        {"btnDS", Ext::HintDS},
        {"btnMV", Ext::HintMV},
        {"btnDL", Ext::HintDL},
        {"btnDR", Ext::HintDR},
        {"btnRS", Ext::HintRS},
        {"bthHM", Ext::HintHM},
        {"btnLL", Ext::HintLL},
        {"btnLB", Ext::HintLB},
        {"btnLD1", Ext::HintLD1},
        {"btnED", Ext::HintED},
        {"btnST", Ext::HintST},
        {"btnPS1", Ext::HintPS1},
        {"btnPusk", Ext::HintPusk},
        {"chbDirectControl", Ext::HintDirectControl},
        {"btnSetCoordStates", Ext::HintChannelStates},
    };
    for (const auto& h : hints) {
        if (QWidget* control = findChild<QWidget*>(h.name))
            control->setToolTip(lang.ExtraText(h.text));
    }
}

void TForm1::ShowOperationLog(bool show) {
    if (show) {
        MemoLog->show();
        ResizeLaidOut(width(), 613);
    } else if (MemoLog->isVisibleTo(this)) {
        // Shorter by the log's height, less 5, whatever size the operator had given it. (A log
        // hidden already is not hidden again: a second OK does not shrink the window further.)
        const int height = this->height() - MemoLog->height() + 5;
        MemoLog->hide();
        ResizeLaidOut(width(), height);
    }
}

void TForm1::LayOutNow() {
    layout()->activate();
    // The scroll area lays its content out at its next resize event, which a window not shown
    // yet has not had.
    Client->resize(centralWidget()->size().expandedTo(Client->minimumSizeHint()));
    Client->layout()->setGeometry(Client->rect());
}

void TForm1::ResizeLaidOut(int width, int height) {
    // The sizes the layout sets hold, within the screen; between them the operator may size the
    // window as he likes.
    FitToScreen(); // the minimum of the new layout first: it bounds the resize
    resize(width, height);
    FitToScreen();
}

void TForm1::FitToScreen() {
    // The content keeps its minimum where the screen has room for it; on a smaller screen the
    // window may be smaller, the log and the list shrinking first and the rest then scrolling.
    Client->layout()->activate();
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    const QSize room = screen->availableGeometry().size() - frame;
    const int menu = menuBar()->sizeHint().height();
    static_cast<TFittingScrollArea*>(centralWidget())->SetRoom(room - QSize(0, menu));
    centralWidget()->updateGeometry(); // the content's minimum may have changed just now
    if (this->width() > room.width() || this->height() > room.height())
        resize(size().boundedTo(room));
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
    const TLang& lang = Session().Lang();
    if (Session().OpenPort()) {
        ShowPortStatus();
    } else {
        // The described message, then which port and why, and where to choose another.
        Dialogs().ShowMessage(lang.Message(Msg::ErrorOpeningPort) + "\n\n" + Session().PortOpenFailure() +
                              "\n\n" + lang.ExtraText(Ext::PortWhatToDo));
    }
    UpdatePortControls();
}

void TForm1::ShowPortStatus() {
    // The description, composed when the port opens; the device and the baud rate, which the
    // description leaves out, in the panel's tooltip.
    PanelPortProp->SetCaption(Session().Lang().Message(Msg::PortPrefix) + Session().PortInfo());
    ShowPortTooltip();
}

void TForm1::ShowPortTooltip() {
    const TSession& session = Session();
    const int baud =
        TComPort::BaudRates[std::min<int>(session.LineSettings().baudIndex, TComPort::BaudRateCount - 1)];
    PanelPortProp->setToolTip(session.PortOpen() ? session.PortDevice() + "  " +
                                                       session.Lang().ExtraText(Ext::PortBaud).arg(baud)
                                                 : QString());
}

void TForm1::btnClosePortClick() {
    Session().ClosePort();
    PanelPortProp->SetCaption(QString());
    ShowPortTooltip();
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
    ShowPortTooltip();
    UpdatePortControls();
}

void TForm1::DeviceReturned(const QString& device) {
    // Asked, never done on its own: the controller may have been running all along.
    const QString question =
        Session().Lang().ExtraText(Ext::ReopenPort).arg(device).arg(Session().PortNumber());
    if (!Session().PortOpen() && Dialogs().Confirm(question, false) && !Session().PortOpen())
        btnOpenPortClick();
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
