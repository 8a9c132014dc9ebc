#pragma once

#include "ListHistory.h"
#include "core/CommonDatasView.h"
#include "editor/ProgramDocument.h"
#include "lang/CaptionTarget.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;
class QTimer;
class QTranslator;
class TAlertQueue;
class TChannelStatePanel;
class TExtendedPanel;
class TFormByteLen;
class TFormChanRead;
class TFormColorIndicators;
class TFormCoord;
class TFormErrNastr;
class TFormLang;
class TFormPortName;
class TFormProgProp;
class TListHistory;
class TLogView;
class TPanel;
class TProgramPreviewWindow;
class TRadioGroup;
class TSendingProgress;
class TSession;
class TSimpleModePanel;
class TUnitsPanel;
class QPushButton;
struct TSettings;

// The main window: the menu, the panels of the two control modes, the port buttons, the status
// line and the operation log, with short handlers that delegate to the session, the program's one
// face. It is the view of the shared state and the target of the language's captions; it opens
// the dialogs, which stand on the session and tell it by signals what it must do afterwards.
class TForm1 : public QMainWindow, public ICommonDatasView, public ICaptionTarget {
    Q_OBJECT
public:
    // `programFolder` holds Data, Log, lang, Users and ports; the window runs FormCreate, which
    // opens the device `deviceForThisStart` when one is given, else port `portForThisStart`
    // when it is not 0, else the stored number.
    explicit TForm1(const QString& programFolder, quint32 portForThisStart = 0,
                    const QString& deviceForThisStart = {}, QWidget* parent = nullptr);
    ~TForm1() override; // runs FormDestroy

    TSession& Session() const { return *session_; }

    // --- start, end and the port ---
    void FormCreate();
    void FormDestroy();
    void btnOpenPortClick();
    void btnClosePortClick();
    void UpdatePortControls();
    // The open port's description in the status line.
    void ShowPortStatus();
    // The device and the line's baud rate, in the status line's tooltip.
    void ShowPortTooltip();
    void mmVers1Click();
    // The operator's choice of a control mode: the list is cleared and the window laid out.
    void rgrSingl_MultClick();
    // The layout of the control mode in the settings: menu entries, panels, the side lists of
    // the extended mode (the mode switch without its "Clear all").
    void ApplyModeLayout();
    // Shows or hides the operation log; the window is 613 pixels high with it, shorter without.
    void ShowOperationLog(bool show);
    // The window's size for a layout (the start, a mode switch, the operation log shown or
    // hidden), never beyond the screen.
    void ResizeLaidOut(int width, int height);
    // The window and its minimum within the available screen.
    void FitToScreen();
    // Lays the window out at once (a window not shown yet does it only when shown).
    void LayOutNow();
    // The stored selections of the settings, shown as they are (nothing is cleared or re-scaled).
    void ShowSettings(const TSettings& settings);

    // --- dialogs ---
    void mmSettsPortNameClick();
    void mmSettsPropClick();
    void mmNastrLogsClick();
    void mmNastrErrorClick();
    void btnSetCoordStatesClick();
    void mmSettsCoordClick();
    void mmLangClick();
    void mmReadChClick();
    // The program preview of the command list (the extended mode's "Preview", F6).
    void mmPreviewClick();
    // The language changed: the window's captions follow.
    void LanguageChanged();
    // The close event's step: the logs and settings whose flags are on; false keeps the window
    // open (a file could not be written and the operator chose to stay).
    bool FormClose();

    // --- sending ---
    void btnRunTRClick();
    // "Stop sending" and Esc: the transmission ends after the line being sent.
    void btnStopSendingClick();
    // Shows how far a long transmission is; hides it when nothing is being sent.
    void UpdateSendingProgress();

    // --- simple control mode ---
    void btnLoadClick();
    void btnStartClick();
    void btnStopClick();
    void btnPuskClick();

    // --- command list editor, units, files ---
    // Adds a command from one of the editor's buttons; a refusal is shown. True when added.
    bool EditorAddCommand(int index, const QString& argument);
    void btnLD1Click();
    void btnAllClearClick();
    void btnDelRawClick();
    void StringGridSendRowMoved(int from, int to);
    void btnClearClick();
    void chbDirectControlClick();
    void rgrUnitsClick();
    void btnScaleChangeClick();
    // "Save to file": the dialog proposes a free KVT-Prog-n.kvt.
    void mmFileSaveClick();
    // "Save" (Ctrl+S): the list's own file, or a name asked for when it has none.
    void mmFileSaveProgramClick();
    void mmFileOpenClick();
    // "Save as...": the dialog proposes the program's own file name.
    void mmFileSaveAsClick();
    // A program file named on the command line (as a file manager opens it): the extended
    // mode is chosen and the file loaded as "Load from file" loads it.
    void LoadAtStart(const QString& fileName);
    // One of the recent program files, loaded as "Load from file" loads it.
    void OpenRecentFile(const QString& fileName);
    // The list as plain text, one list line per line, and back.
    void mmFileExportClick();
    void mmFileImportClick();
    // Delete on the grid: the selected rows are removed, as one step.
    void DeleteSelectedRows();

    // --- the list's history and its file ---
    void mmEditUndoClick();
    void mmEditRedoClick();
    TListHistory& History() const { return *history_; }
    // Whether the operator's work is held by no file.
    bool ProgramModified() const;
    // Before the operator's work would be lost (a quit, a load, an import): when no file holds
    // it, asks Save / Discard / Cancel (the default). True when the action may go on.
    bool MayDiscardProgram();

    // --- ICommonDatasView ---
    void PaintIndicator(int channel, TRgb colour) override;
    void ShowCoordinatesActive(const QString& caption, bool channel1, bool channel2, bool channel3) override;
    void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) override;
    void ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel) override;
    void ShowRounding(const QString& text) override;
    void AddLogLine(const QString& text, bool red = false) override;
    void AddRecordingLine(const QString& text) override;

    // --- ICaptionTarget ---
    void SetCaption(const QString& objectName, int item, const QString& text) override;

    // --- the menu and the panels (the form's design) ---
    QMenu *mmFile, *mmEdit, *mmRecent, *mmSetts, *mmNastr, *mmInfo;
    QAction *mmFileOpen, *mmFileSave, *mmFileSaveProgram, *mmFileSaveAs, *mmFileImport, *mmFileExport,
        *mmFileQuit, *mmEditUndo, *mmEditRedo, *mmSettsPortName, *mmSettsProp, *mmSettsCoord, *mmNastrError,
        *mmNastrLogs, *mmLang, *mmVers, *mmReadCh, *mmPreview;
    TChannelStatePanel* ChannelState;
    TSimpleModePanel* SimplePanel;
    TExtendedPanel* ExtendedPanel;
    TUnitsPanel* UnitsPanel;
    TRadioGroup* rgrSingl_Mult;
    TPanel* PanelCoordinates;
    QPushButton* btnOpenPort;
    QPushButton* btnClosePort;
    TPanel* PanelPortProp;
    TSendingProgress* SendingProgress;
    TLogView* MemoLog;
    QWidget* Client; // what the window holds, in a scroll area that scrolls on a small screen
    // The context menus of the operation log and of the reply list.
    QAction *pmSaveLog, *pmClearLog, *pmSaveReplies, *pmClearReplies;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    void ConnectEditorHandlers();
    void ConnectSendingHandlers();
    void ConnectFileHandlers();
    void ConnectLogMenus();
    void ApplyLogMenuTexts();
    // "Save log as...": the reply list when `replies`, else the operation log.
    void SaveLogAs(bool replies);
    // The command list as it stands.
    TProgramDocument::TText ListText() const;
    // The operator changed the list (an edit, undo, redo): it is the operator's work again.
    void OperatorChangedList();
    // The program is about to replace the list by a list of its own.
    void ProgramReplacesList();
    // An operator's change of the list, as one step of the history.
    template <typename Action> void RecordEdit(Action&& action);
    // Saves `text` to `fileName` (a program file pair); false when it can't be.
    bool SaveProgramTo(const QString& fileName, const TProgramDocument::TText& text);
    // The save dialog, proposing `proposed`, until a program file name is chosen; then saves.
    bool SaveProgramWithDialog(const QString& proposed, const TProgramDocument::TText& text);
    // Loads a program file pair into the list, as one step of the history.
    void LoadProgram(const QString& fileName);
    // The described title, the program file's name and a mark while it has unsaved changes.
    void UpdateTitle();
    void UpdateRecentMenu();
    void UpdateEditActions();
    // Message 1 + the file's path + Message 2 in a message box.
    void ReportFile(const QString& path);
    void ToolButtonClick(int index, const QString& argument, bool reportsParameterError);
    void SimpleButtonClick(int action);
    void ShowScaleChange(bool badScale, const std::optional<QString>& notWhole);
    void PortLost();
    void DeviceReturned(const QString& device);
    // The texts of this program's own controls, from the language's extra texts.
    void ApplyExtraTexts();
    // The hints of the tool buttons and the other controls, from the language's extra texts.
    void ApplyHints();
    void ApplyQtTexts();
    void TransmissionStarted(int count);
    void TransmissionEnded();
    void HideSendingProgress();
    // The dialog of `slot`, made (and wired by `wire`) when there is none.
    template <typename D, typename Wire> D* Ensure(QPointer<D>& slot, Wire wire);
    template <typename D> D* Ensure(QPointer<D>& slot) {
        return Ensure(slot, [](D*) {});
    }

    std::unique_ptr<TSession> session_;
    QPointer<TFormPortName> formPortName_;
    QPointer<TFormByteLen> formByteLen_;
    QPointer<TFormProgProp> formProgProp_;
    QPointer<TFormErrNastr> formErrNastr_;
    QPointer<TFormColorIndicators> formColorIndicators_;
    QPointer<TFormCoord> formCoord_;
    QPointer<TFormLang> formLang_;
    QPointer<TFormChanRead> formChanRead_;
    QPointer<TProgramPreviewWindow> formPreview_;
    QTimer* progressTimer_ = nullptr;
    TAlertQueue* alerts_ = nullptr;
    TListHistory* history_ = nullptr;
    QTranslator* qtTexts_ = nullptr; // Qt's own texts in the language in use, when it has them
    QString qtTextsLanguage_ = "en";
    TProgramDocument document_;
    QString title_ = "KVT_Program - ver.4.0.1"; // the described title, as the language gives it

    // The form's design: every control with its design-time caption, state and place.
    void CreateControls();
    void CreateMenu();
    QWidget* CreatePortPanel();
};

template <typename Action> void TForm1::RecordEdit(Action&& action) {
    history_->Record(std::forward<Action>(action));
    OperatorChangedList();
}

template <typename D, typename Wire> D* TForm1::Ensure(QPointer<D>& slot, Wire wire) {
    if (!slot) {
        slot = new D(*session_, this);
        wire(slot.data());
    }
    return slot.data();
}
