#pragma once

#include "core/CommonDatasView.h"
#include "lang/CaptionTarget.h"
#include "settings/SettingsFiles.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QRadioButton;
class QToolButton;
class THiddenMemo;
class TFormByteLen;
class TFormChanRead;
class TFormColorIndicators;
class TFormCoord;
class TFormErrNastr;
class TFormLang;
class TFormPortName;
class TFormProgProp;
class TLogView;
class TMemoList;
class TPanel;
class TRadioGroup;
class TReplyList;
class TSession;
class TShape;
class TSendingProgress;
class TStringGrid;
struct TMotion;

// The main window: its controls, carrying the names the whole program uses as their objectName,
// and short handlers that delegate to the window-free session (port, shared state, language,
// reply handling, sending, the command list) and to the logic classes of each subsystem. It is
// the view of the shared state and the target of the language's captions.
class TForm1 : public QMainWindow, public ICommonDatasView, public ICaptionTarget, public ISettingsView {
    Q_OBJECT
public:
    // `programFolder` holds Data, Log, lang, Users and ports; the window runs FormCreate, which
    // opens port `portForThisStart` when it is not 0 (the stored number otherwise).
    explicit TForm1(const QString& programFolder, quint32 portForThisStart = 0, QWidget* parent = nullptr);
    ~TForm1() override; // runs FormDestroy

    TSession& Session() const { return *session_; }

    // --- start, end and the port ---
    void FormCreate();
    void FormDestroy();
    void btnOpenPortClick();
    void btnClosePortClick();
    void UpdatePortControls();
    void mmVers1Click();
    void rgrSingl_MultClick();
    // The layout of the control mode in the shared state: menu entries, panels, the side panels
    // of the extended mode (the mode switch without its "Clear all").
    void ApplyModeLayout();
    // Shows or hides the operation log; the window is 613 pixels high with it, shorter without.
    void ShowOperationLog(bool show);

    // --- settings, port dialogs, logs ---
    void mmSettsPortNameClick();
    void mmSettsPropClick();
    void mmNastrLogsClick();
    // The close event's step: the logs and settings whose flags are on; false keeps the window
    // open (a file could not be written and the operator chose to stay).
    bool FormClose();
    bool SaveOnClose();
    // The dialogs while they exist, none otherwise.
    TFormPortName* FormPortName() const { return formPortName_; }
    TFormByteLen* FormByteLen() const { return formByteLen_; }
    TFormProgProp* FormProgProp() const { return formProgProp_; }
    void PortNameDialogClosed(TFormPortName* dialog);
    void ByteLenDialogClosed(TFormByteLen* dialog);
    void ProgPropDialogClosed(TFormProgProp* dialog);

    // --- error handling, channel indicators, language ---
    void mmNastrErrorClick();
    void btnSetCoordStatesClick();
    void mmSettsCoordClick();
    void mmLangClick();
    // Switches the whole interface to the language `code`: the main window's texts, the messages,
    // the command table. A language whose files can't be read changes nothing (its file is named
    // in a message box); false then.
    bool ChangeLanguage(const QString& code);
    TFormErrNastr* FormErrNastr() const { return formErrNastr_; }
    TFormColorIndicators* FormColorIndicators() const { return formColorIndicators_; }
    TFormCoord* FormCoord() const { return formCoord_; }
    TFormLang* FormLang() const { return formLang_; }
    void ErrNastrClosed(TFormErrNastr* dialog);
    void ColorIndicatorsClosed(TFormColorIndicators* dialog);
    void CoordClosed(TFormCoord* dialog);
    void LangClosed(TFormLang* dialog);

    // --- read-back ---
    void mmReadChClick();
    TFormChanRead* FormChanRead() const { return formChanRead_; }
    void ChanReadClosed(TFormChanRead* dialog);

    // --- ISettingsView ---
    void SelectControlMode(int mode) override;
    void SelectUnitsMode(int mode) override;

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
    // The channel check boxes choose the channels the simple panel drives.
    void btnCoord123Click();
    // The motion the simple panel shows.
    TMotion CurrentMotion() const;

    // --- command list editor ---
    // Adds a command from one of the editor's buttons: in Direct Control the list is cleared
    // first and the command sent at once. True when it was added.
    bool EditorAddCommand(int index, const QString& argument);
    void btnLD1Click();
    void btnAllClearClick();
    void btnDelRawClick();
    void StringGridSendRowMoved(int from, int to);
    void btnClearClick();
    void chbDirectControlClick();
    void SetListFaulty(bool faulty);
    bool ListFaulty() const { return listFaulty_; }

    // --- units and scale ---
    void rgrUnitsClick();
    void btnScaleChangeClick();

    // --- program files ---
    void mmFileSaveClick();
    void mmFileOpenClick();

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

    // --- controls (the form's design) ---
    QMenu* mmFile;
    QAction* mmFileOpen;
    QAction* mmFileSave;
    QAction* mmFileQuit;
    QMenu* mmSetts;
    QAction* mmSettsPortName;
    QAction* mmSettsProp;
    QAction* mmSettsCoord;
    QMenu* mmNastr;
    QAction* mmNastrError;
    QAction* mmNastrLogs;
    QAction* mmLang;
    QMenu* mmInfo;
    QAction* mmVers;
    QAction* mmReadCh;

    TPanel* PanelChanelState;
    QLabel* txtX;
    QLabel* txtY;
    QLabel* txtZ;
    TShape* shpX;
    TShape* shpY;
    TShape* shpZ;
    QCheckBox* ChboxCoord1;
    QCheckBox* chboxCoord2;
    QCheckBox* chboxCoord3;
    QPushButton* btnSetCoordStates;

    TPanel* PanelSingeC;
    QGroupBox* grbSteps;
    QLabel* StTStepsNum;
    QLineEdit* EditStepsNum;
    QCheckBox* chbStepsConst;
    QGroupBox* grbSpeed;
    QLabel* StTSpeed;
    QLineEdit* EditSpeed;
    QLabel* StTBeginSpeed;
    QLineEdit* EditBeginSpeed;
    QGroupBox* grbAccel;
    QRadioButton* rbtnAccel;
    QLineEdit* EditAccel;
    QRadioButton* rbtnNonAccel;
    TRadioGroup* rgrDirect;
    QPushButton* btnStart;
    QPushButton* btnStop;
    QPushButton* btnLoad;
    QPushButton* btnPusk;

    TPanel* PanelMultC;
    QFrame* pnlTools;
    QFrame* pnlMainTools;
    TStringGrid* StringGridSend;
    QPushButton* btnRunTR;
    QPushButton* btnStopSending;
    QPushButton* btnAllClear;
    QPushButton* btnDelRaw;
    QCheckBox* chbDirectControl;
    QPushButton* btnClear;
    QFrame* panelLoadAns;
    QLabel* lblLoading;
    TMemoList* MemoRead;
    QFrame* panelPortAns;
    QLabel* lblResponse;
    TReplyList* lbBufRead;

    TPanel* PanelUnits;
    TRadioGroup* rgrUnits;
    QGroupBox* GrBoxStepsToUnits;
    QLabel* Label3;
    QLineEdit* EditStepsToUnits;
    QPushButton* btnScaleChange;
    QLabel* lblScale;
    QLabel* lblSteps;
    QLabel* lblTrunc;

    TRadioGroup* rgrSingl_Mult;
    TPanel* PanelCoordinates;
    QPushButton* btnOpenPort;
    QPushButton* btnClosePort;
    TPanel* PanelPortProp;
    TSendingProgress* SendingProgress;
    TLogView* MemoLog;
    THiddenMemo* TempMemo;

    // The tool panel's command buttons and argument edits.
    QToolButton *btnBG, *btnDL, *btnDR, *btnRS, *btnDS, *btnEN, *btnAL, *btnSD, *btnSS, *btnMVn, *btnMV,
        *btnSP, *bthHM, *btnML, *btnMH, *btnSF, *btnCF, *btnWL, *btnWH, *btnLL, *btnLP, *btnLB, *btnSB;
    QLineEdit *EditAL, *EditSD, *EditSS, *EditMVn, *EditSP, *EditML, *EditMh, *EditSF, *EditCF, *EditWL,
        *EditWH, *EditJP, *EditSB;
    QToolButton *btnLD1, *btnED, *btnST, *btnPS1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    // Message 1 + the file's path + Message 2 in a message box.
    void ReportFile(const QString& path);
    void ConnectEditorHandlers();
    void ToolButtonClick(int index, QLineEdit* edit, bool reportsParameterError);
    void PortLost();
    // The texts of this program's own controls, from the language's extra texts.
    void ApplyExtraTexts();
    void ConnectSendingHandlers();
    void TransmissionStarted(int count);
    void TransmissionEnded();
    void HideSendingProgress();
    // Puts the lines of a simple-mode list into the command list and sends it.
    template <typename Build> void SendSimpleList(Build build);

    std::unique_ptr<TSession> session_;
    bool listFaulty_ = false;
    TFormPortName* formPortName_ = nullptr;
    TFormByteLen* formByteLen_ = nullptr;
    TFormProgProp* formProgProp_ = nullptr;
    TFormErrNastr* formErrNastr_ = nullptr;
    TFormColorIndicators* formColorIndicators_ = nullptr;
    TFormCoord* formCoord_ = nullptr;
    TFormLang* formLang_ = nullptr;
    TFormChanRead* formChanRead_ = nullptr;
    QTimer* progressTimer_ = nullptr;

    // The form's design: every control with its design-time caption, state and place.
    void CreateControls();
    void CreateMenu();
    QWidget* CreateChannelStatePanel();
    QWidget* CreateSimplePanel();
    QWidget* CreateExtendedPanel();
    QWidget* CreateToolPanel();
    QWidget* CreateUnitsPanel();
    QWidget* CreatePortPanel();
};
