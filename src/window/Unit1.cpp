#include "Unit1.h"

#include "AlertQueue.h"
#include "CommandInput.h"
#include "EditorControls.h"
#include "FileMenu.h"
#include "InfoMenu.h"
#include "ListEditControls.h"
#include "ListHistory.h"
#include "LogMenus.h"
#include "MachineControls.h"
#include "PortControls.h"
#include "ResumeControls.h"
#include "SendControls.h"
#include "TranslatedDialog.h"
#include "UnitByteLen.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "history/RunHistoryWindow.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/ChannelStatePanel.h"
#include "panels/ExtendedPanel.h"
#include "panels/SimpleModePanel.h"
#include "panels/UnitsPanel.h"
#include "session/OperatorSettings.h"
#include "session/ProgramDocument.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "session/SessionLogs.h"
#include "session/controller/Channels.h"
#include "session/controller/Connection.h"
#include "session/controller/Controller.h"
#include "session/controller/ControllerJournal.h"
#include "session/controller/Sending.h"
#include "widgets/Captions.h"
#include "widgets/FittingScrollArea.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Mnemonics.h"
#include "widgets/Panel.h"
#include "widgets/QtTexts.h"
#include "widgets/RadioGroup.h"
#include "widgets/SendingProgress.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

TForm1::TForm1(const QString& programFolder, quint32 portForThisStart, const QString& deviceForThisStart,
               QWidget* parent)
    : QMainWindow(parent) {
    CreateControls();
    // The session's shared state writes its defaults into the controls just created.
    session_ = std::make_unique<TSession>(programFolder, *this, this);
    TSession& session = *session_;
    history_ = new TListHistory(session.Editor(), this);
    files_ = new TFileMenu(
        {mmFileOpen, mmFileSave, mmFileSaveProgram, mmFileSaveAs, mmFileImport, mmFileExport, mmRecent},
        session.Document(), session.Options(), session.Controller().Sending(), this);
    LogMenus = new TLogMenus(MemoLog, ExtendedPanel->lbBufRead, session.Logs(), session.Lang(), this);
    port_ = new TPortControls({btnOpenPort, btnClosePort, mmSettsProp, PanelPortProp},
                              session.Controller().Connection(), session.Lang(), this);
    sendControls_ = new TSendControls(
        {session.Controller().Sending(), session.Editor(), session.Options(), session.Document()},
        ExtendedPanel, SendingProgress, PanelPortProp->CaptionLabel(), this);
    auto* input = new TCommandInput({session.Editor(), session.Options(), session.Commands()}, this);
    ExtendedPanel->PlaceBelowList(input);
    new TListEditControls({session.ListEdits(), session.Editor(), session.Options()},
                          ExtendedPanel->StringGridSend, input, mmEdit, this);
    machine_ = new TMachineControls({session.Controller().MachineStop(), session.UserButtons(),
                                     session.Options(), session.Controller().Running()},
                                    menuBar(), this);
    SimplePanel->FollowRanges(session.Options(), session.Commands());
    machine_->OfferOnIndicators(
        {ChannelState->Indicator(1), ChannelState->Indicator(2), ChannelState->Indicator(3)});
    Client->layout()->addWidget(machine_->Row());
    mmRunHistory = TRunHistoryWindow::AddToMenu(machine_->mmControl, session.Controller().Journal().Files(),
                                                session.Lang(), this);
    resume_ = new TResumeControls({session.Resume(), session.Document(), session.Lang()}, machine_->mmControl,
                                  ExtendedPanel->StringGridSend, PanelPortProp, this);
    new TInfoMenu(mmInfo, session.Options(), this);
    alerts_ = new TAlertQueue(session.Lang(), this);
    qtTexts_ = new TQtTexts(this);
    if (portForThisStart != 0)
        session.Controller().Connection().Choice().UsePortForThisStart(portForThisStart);
    if (!deviceForThisStart.isEmpty())
        session.Controller().Connection().Choice().UseDevice(deviceForThisStart);
    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::ConnectHandlers() {
    TSession& session = *session_;
    // clang-format off
    const std::pair<QAction*, void (TForm1::*)()> menu[] = {
        {mmVers, &TForm1::mmVers1Click}, {mmSettsPortName, &TForm1::mmSettsPortNameClick}, {mmSettsProp, &TForm1::mmSettsPropClick},
        {mmNastrLogs, &TForm1::mmNastrLogsClick}, {mmNastrError, &TForm1::mmNastrErrorClick}, {mmSettsCoord, &TForm1::mmSettsCoordClick},
        {mmLang, &TForm1::mmLangClick}, {mmReadCh, &TForm1::mmReadChClick}, {mmPreview, &TForm1::mmPreviewClick}};
    // clang-format on
    for (const auto& [action, handler] : menu)
        connect(action, &QAction::triggered, this, handler);
    connect(ExtendedPanel->btnPreview, &QPushButton::clicked, this, &TForm1::mmPreviewClick);
    connect(mmFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(ChannelState->StatesButton(), &QPushButton::clicked, this, &TForm1::btnSetCoordStatesClick);
    connect(
        ChannelState, &TChannelStatePanel::ChannelsClicked, this,
        [&channels = session.Controller().Channels()](bool a, bool b, bool c) { channels.Select(a, b, c); });
    connect(port_, &TPortControls::ControlsUpdated, this, [this] {
        // The data bits of an open or closed port are not changed from the line settings dialog.
        if (formByteLen_)
            formByteLen_->rgrDataLen->setEnabled(false);
    });
    connect(&session.Controller(), &TController::Received, ExtendedPanel->lbBufRead, &TReplyList::Refresh);
    connect(&session.Controller(), &TController::Alert, alerts_, &TAlertQueue::Add);
    connect(&session.Document(), &TProgramDocument::Changed, this, &TForm1::UpdateTitle);
    // F10 opens the menu bar at its first menu, as in other programs.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName("MenuShortcut");
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });
    editor_ = new TEditorControls({ExtendedPanel, UnitsPanel, mmEditUndo, mmEditRedo, history_},
                                  session.Editor(), session.Options(), this);
    ConnectModeHandlers();
}

void TForm1::FormCreate() {
    TSession& session = Session();
    TOperatorSettings& options = session.Options();
    ShowMessages(options.TakeLanguageProblems());
    TStringGrid* grid = ExtendedPanel->StringGridSend;
    grid->SetList(&session.Editor().List());
    ExtendedPanel->lbBufRead->SetLog(&session.Logs().ReplyLog());
    for (const QString& file : options.DamagedFiles())
        ReportFile(file);
    btnOpenPortClick();

    resize(371, height());
    grid->SetCell(0, 0, QString::fromUtf8("№"));
    grid->SetCell(2, 0, "Command");
    grid->FitCodeColumns();
    ShowSettings();
    rgrSingl_MultClick();

    if (options.Settings().ShowOperationLog) {
        resize(width(), 613);
    } else {
        // Laid out first: the window is shorter by the height it gives the log, not by the log's
        // height before any layout; hidden first, so that the log's minimum holds nothing back.
        LayOutNow();
        const int logHeight = MemoLog->height();
        MemoLog->hide();
        TFittingScrollArea::FitToScreen(this); // the minimum without the log
        layout()->activate();
        resize(width(), height() - logHeight);
    }
    TFittingScrollArea::FitToScreen(this);

    if (!options.DamagedExtraFile().isEmpty())
        Dialogs().ShowError(
            session.Lang().ExtraText(Ext::ExtraSettingsDamaged).arg(options.DamagedExtraFile()));
    ShowMessages(options.ApplyMainLanguage(*this));
    ApplyExtraTexts();
}

void TForm1::ShowSettings() {
    const TSettings& settings = Session().Options().Settings();
    rgrSingl_Mult->SetItemIndex(settings.ControlMode);
    UnitsPanel->rgrUnits->SetItemIndex(settings.UnitsMode);
    UnitsPanel->EnableScale(settings.UnitsMode == TSettings::OtherUnits);
}

void TForm1::ApplyExtraTexts() {
    const TLang& lang = Session().Lang();
    ExtendedPanel->ApplyTexts(lang);
    SimplePanel->ApplyTexts(lang);
    ChannelState->ApplyTexts(lang);
    LogMenus->ApplyTexts();
    if (resume_)
        resume_->ApplyTexts();
    const struct {
        QAction* action;
        int text;
    } actions[] = {{mmFileQuit, Ext::Quit},
                   {mmPreview, Ext::PreviewMenu},
                   {mmEditUndo, Ext::Undo},
                   {mmEditRedo, Ext::Redo},
                   {mmFileSaveAs, Ext::SaveAs},
                   {mmFileSaveProgram, Ext::SaveProgram},
                   {mmFileImport, Ext::ImportText},
                   {mmFileExport, Ext::ExportText},
                   {mmRunHistory, Ext::RunHistoryTitle}};
    for (const auto& a : actions)
        a.action->setText(lang.ExtraText(a.text));
    mmEdit->setTitle(lang.ExtraText(Ext::EditMenu));
    mmRecent->setTitle(lang.ExtraText(Ext::RecentFilesMenu));
    qtTexts_->Use(Session().Options().Settings().Language);
    Mnemonics::Apply(menuBar());
    UpdateTitle();
}

void TForm1::UpdateTitle() {
    const QString title =
        Session().Document().Title(title_) + (folderName_.isEmpty() ? QString() : " [" + folderName_ + "]");
    if (windowTitle() != title)
        setWindowTitle(title);
}

void TForm1::ShowOperationLog(bool show) {
    if (show) {
        MemoLog->show();
        TFittingScrollArea::Resize(this, width(), 613);
    } else if (MemoLog->isVisibleTo(this)) {
        // Shorter by the log's height, less 5, whatever size the operator had given it. (A log
        // hidden already is not hidden again: a second OK does not shrink the window further.)
        const int height = this->height() - MemoLog->height() + 5;
        MemoLog->hide();
        TFittingScrollArea::Resize(this, width(), height);
    }
}

void TForm1::LayOutNow() {
    TFittingScrollArea::LayOutNow(this);
}

void TForm1::ReportFile(const QString& path) {
    const TLang& lang = Session().Lang();
    Dialogs().ShowError(lang.Message(Msg::FilePrefix) + path + lang.Message(Msg::NotFoundOrDamaged));
}

void TForm1::btnOpenPortClick() {
    port_->Open();
}

void TForm1::btnClosePortClick() {
    port_->Close();
}

void TForm1::btnRunTRClick() {
    sendControls_->Send();
}

void TForm1::LoadAtStart(const QString& fileName) {
    // A name that is no program file's is refused as it is, in the mode the window is in; the
    // question about unsaved work comes before the mode changes, and Cancel leaves it as it was.
    if (!ProgramFiles::HasProgramExtension(fileName))
        return files_->Load(fileName);
    if (!files_->MayDiscard())
        return;
    if (Session().Options().Settings().ControlMode != TSettings::ExtendedMode)
        rgrSingl_Mult->Click(TSettings::ExtendedMode);
    files_->Load(fileName, true);
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
