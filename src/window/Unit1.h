#pragma once

#include "core/CommonDatasView.h"
#include "lang/CaptionTarget.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;
class QPushButton;
class TAlertQueue;
class TChannelStatePanel;
class TExtendedPanel;
class TEditorControls;
class TFileMenu;
class TMachineControls;
class TFormByteLen;
class TFormChanRead;
class TFormColorIndicators;
class TFormCoord;
class TFormErrNastr;
class TFormLang;
class TFormPortName;
class TFormProgProp;
class TListHistory;
class TLogMenus;
class TLogView;
class TPanel;
class TPortControls;
class TProgramPreviewWindow;
class TQtTexts;
class TRadioGroup;
class TResumeControls;
class TSendControls;
class TSendingProgress;
class TSession;
class TSimpleModePanel;
class TUnitsPanel;

// The main window: the menu, the panels of the two control modes, the port buttons, the status
// line and the operation log. It lays them out and wires them to the session's rooms; what a
// menu or a panel does lives in its own component (the File menu, the logs' menus, the port's
// controls, the panels), and what is logic lives in the session. It is the view of the shared
// state and the target of the language's captions; it opens the dialogs, each on the room it
// works with.
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
    TListHistory& History() const { return *history_; }
    TFileMenu& Files() const { return *files_; }

    // --- start and end ---
    void FormCreate();
    void FormDestroy();
    // The close event's step: the operator's work, a recording under way, then the logs and
    // settings whose flags are on; false keeps the window open.
    bool FormClose();
    // A program file named on the command line (as a file manager opens it): the extended
    // mode is chosen and the file loaded as "Load from file" loads it.
    void LoadAtStart(const QString& fileName);
    // The program folder's name, shown after the title when it is another station's folder.
    void ShowFolderName(const QString& name) {
        folderName_ = name;
        UpdateTitle();
    }
    // Lays the window out at once (a window not shown yet does it only when shown).
    void LayOutNow();

    // --- the port and the dialogs ---
    void btnOpenPortClick();
    void btnClosePortClick();
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

    // --- sending ---
    // "Send", as its button does.
    void btnRunTRClick();

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
    QAction* mmRunHistory = nullptr; // Control > "Run history"
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
    QWidget* Client;     // what the window holds, in a scroll area that scrolls on a small screen
    TLogMenus* LogMenus; // the context menus of the operation log and of the reply list

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    void ConnectModeHandlers();
    void mmVers1Click();
    // The operator's choice of a control mode: the list is cleared and the window laid out.
    void rgrSingl_MultClick();
    // The layout of the control mode in the settings: menu entries, panels, the side lists of
    // the extended mode (the mode switch without its "Clear all").
    void ApplyModeLayout();
    // Shows or hides the operation log; the window is 613 pixels high with it, shorter without.
    void ShowOperationLog(bool show);
    // The stored selections of the settings, shown as they are (nothing is cleared or re-scaled).
    void ShowSettings();
    // Message 1 + the file's path + Message 2 in a message box.
    void ReportFile(const QString& path);
    void SimpleButtonClick(int action);
    void UpdateTitle();
    // The texts of this program's own controls and Qt's own, in the language in use.
    void ApplyExtraTexts();
    // The dialog of `slot`, made by `make` (and wired by `wire`) when there is none.
    template <typename D, typename Make, typename Wire> D* Ensure(QPointer<D>& slot, Make make, Wire wire);
    template <typename D, typename Make> D* Ensure(QPointer<D>& slot, Make make) {
        return Ensure(slot, make, [](D*) {});
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
    TAlertQueue* alerts_ = nullptr;
    TListHistory* history_ = nullptr;
    TFileMenu* files_ = nullptr;
    TPortControls* port_ = nullptr;
    TSendControls* sendControls_ = nullptr;
    TMachineControls* machine_ = nullptr; // the Stop key and the user buttons
    TResumeControls* resume_ = nullptr;
    TEditorControls* editor_ = nullptr;
    TQtTexts* qtTexts_ = nullptr;
    QString title_ = "KVT_Program - ver.4.0.1"; // the described title, as the language gives it
    QString folderName_;

    // The form's design: every control with its design-time caption, state and place.
    void CreateControls();
    void CreateMenu();
    QWidget* CreatePortPanel();
};

template <typename D, typename Make, typename Wire>
D* TForm1::Ensure(QPointer<D>& slot, Make make, Wire wire) {
    if (!slot) {
        slot = make();
        wire(slot.data());
    }
    return slot.data();
}
