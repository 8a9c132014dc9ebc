#pragma once

#include "core/ProgramPaths.h"
#include "core/Scheduler.h"
#include "editor/PlainTextProgram.h"
#include "operations/ChanReadThread.h"
#include "operations/ReadBack.h"
#include "preview/PreviewReport.h"
#include "preview/ProgramPreview.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/ReplyHandler.h"
#include "serial/ComPort.h"
#include "serial/DeviceWatch.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <span>

class ICaptionTarget;
class ICommonDatasView;
class TCommandList;
class TCommonDatas;
class TKVTCommands;
class TLang;
class TNamedEvent;
class TOperationLogRecord;
class TSpoolFile;
class TReplyHandler;
class TReplyLog;
class TExtraSettingsFile;
class TSettingsFiles;
struct TCaptionSlot;
struct TMotion;
struct TSettings;
namespace ProgramFiles {
struct TProgram;
}

// The program without its windows, and its one face: it composes and owns the serial port, the
// shared state with the settings, the language table, the command vocabulary with its table,
// the read-back event, the reply handler, the command list, the transmission and the read-back,
// and wires them together. Whatever the main window or a dialog does goes through an operation
// of the session, which returns its outcome or reports it by a signal; what they show they read
// from the session's read-only views. A program without a window (the command-line tool, the
// end-to-end tests, the benchmarks) does the same through the same face.
//
// It lives on the main thread. What happens on its own (characters received, the device lost,
// a transmission or a read-back ended, an error the controller reported) comes out as signals.
class TSession : public QObject {
    Q_OBJECT
public:
    // Creates the parts in the order of the main window's creation step: port, shared state
    // (which writes its defaults into `view`), the settings files read once (prp.dat, portp.dat,
    // erp.dat; a missing or damaged one leaves the values before its bad line), the language
    // table with its messages, the vocabulary and its table, the port number with the fixed line
    // settings (9600 baud, 8 data bits, even parity, one stop bit), the reply handler. The port
    // is not opened yet.
    TSession(const QString& programFolder, ICommonDatasView& view, QObject* parent = nullptr);
    // Stops a running transmission and read-back and waits for them, closes the port, then
    // releases the rest.
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const TProgramPaths Paths;

    // --- read-only views ---
    const TCommonDatas& Datas() const { return *datas_; }
    const TSettings& Settings() const;
    const TLang& Lang() const { return *lang_; }
    const TKVTCommands& Commands() const { return *commands_; }
    // Every character received, a token per line: what the reply list shows and port.log keeps.
    const TReplyLog& ReplyLog() const { return *replyLog_; }
    // The command list (MemoSend): what "Send" sends and the editor edits.
    const TCommandList& CommandList() const { return *commandList_; }
    // A list with a wrong command in it may not be sent ("Send" is disabled).
    bool ListFaulty() const { return listFaulty_; }
    // The operation log: a line for the operator.
    void Log(const QString& text, bool red = false);

    // --- the settings files and the language at start ---
    // Whether each settings file was read whole when the session was made.
    bool PortSettingsLoaded() const { return portSettingsLoaded_; }
    bool ProgramSettingsLoaded() const { return programSettingsLoaded_; }
    bool ErrorSettingsLoaded() const { return errorSettingsLoaded_; }
    // extra-settings.txt (a missing one is no fault), saved with the program settings.
    bool ExtraSettingsLoaded() const { return extraSettingsLoaded_; }
    QString PortSettingsFile() const;
    QString ProgramSettingsFile() const;
    QString ErrorSettingsFile() const;
    QString ExtraSettingsFile() const;
    // The message-box texts of the language files that could not be read since the last call.
    QStringList TakeLanguageProblems();
    // The main window's texts of the language in use: its captions, the messages, the extras.
    void ApplyMainLanguage(ICaptionTarget& window);
    // A dialog's captions from the dialog texts of the language in use.
    void ApplyDialogLanguage(ICaptionTarget& dialog, std::span<const TCaptionSlot> captionSlots,
                             int highestEntry);
    // Switches to the language `code`: the messages, the extra texts and the command table (the
    // windows then take their own captions). A language whose files can't be read changes
    // nothing: the path of the first such file is returned (empty on success).
    QString ChangeLanguage(const QString& code);
    // The operator's settings as the dialogs change them. The modes, the scale, the port, the
    // language and Direct Control have operations of their own and keep their values here; the
    // scale and rounding texts and the command table follow the rest at once.
    void ApplySettings(const TSettings& settings);
    // What the close saves, in this order and each when its flag is on: portp.dat, prp.dat with
    // extra-settings.txt, erp.dat, then work.log and port.log, then this session's copies of
    // both logs (the settings first: they are small and must not be lost to a log that can't be
    // written). Throws EFileError at the first that can't be written.
    void SaveOnClose() const;
    // A second program on a folder another holds: nothing of the folder is saved when it closes.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool ReadOnly() const { return readOnly_; }
    // A program is being written into the controller: a channel is in communication mode.
    bool RecordingUnderWay() const;
    // What a close must do before it saves: a transmission stops at once and its summary is
    // logged; a recording it leaves open is ended ("ED*" sent, and logged).
    void EndForClose();
    // "Save log as...": the operation log with "! " before red lines, or the reply list as
    // port.log holds it; the whole session either way. Throws EFileError.
    void SaveOperationLogAs(const QString& fileName) const;
    void SaveReplyLogAs(const QString& fileName) const;
    // When this session began (its logs' copies are named by it).
    const QDateTime& Started() const { return started_; }
    // A program file was loaded or saved (`programFile`), or a file imported or exported: a
    // program file goes first among the recent ones, and the file's folder is where the file
    // dialogs open next.
    void NoteFileUsed(const QString& file, bool programFile);
    // A recent file that is no longer there is taken off the list.
    void ForgetRecentFile(const QString& file);
    // Where the file dialogs open: the folder last used while it is there, else Users.
    QString FileDialogFolder() const;
    // How many recent lines the reply log and the operation log keep in memory; the older ones
    // wait on the disk for the log files.
    void SetLogKeep(qsizetype replyLines, qsizetype operationLines);
    // The operation log as work.log will hold it: the recent lines (older ones are on the disk).
    const TOperationLogRecord& OperationLog() const { return *operationLog_; }

    // --- the port ---
    // Port n for this start only (the command line's choice): what is stored stays the number
    // read from portp.dat, until the operator chooses a port.
    void UsePortForThisStart(quint32 n);
    // The operator's choice of a port, kept as any other setting.
    void ChoosePort(quint32 n);
    // A device opened outright for this start (any terminal device, no link needed); what is
    // stored stays as it was.
    void UseDevice(const QString& device);
    quint32 PortNumber() const;
    // The number portp.dat is to keep.
    quint32 PortNumberToStore() const;
    // The device the port number opens (ports/COM<n>, else /dev/ttyS<n-1>).
    QString PortDevice() const;
    // The device port number n would open.
    QString DeviceForPort(quint32 n) const;
    // Where a number without a link finds its system port: /dev, or a folder a test stands in.
    void SetSystemDeviceFolder(const QString& folder);
    // Closes the port and opens it again. When it cannot be opened, the reason is logged in red
    // (port number, device and why). When it opens, no channel is believed to be in
    // communication mode any more (a running or paused one keeps its state), and a port without
    // a link in ports/ logs which system device it opened. True when it is open.
    bool OpenPort();
    // Why the last OpenPort failed, as the log says it (port number, device and reason).
    const QString& PortOpenFailure() const { return openFailure_; }
    void ClosePort();
    bool PortOpen() const;
    // The description of the port for the status panel: number, data bits, stop bits, parity.
    QString PortInfo() const;
    TComPort::TLineChoice LineSettings() const;
    // Applied to the port at once when it is open.
    void SetLineSettings(const TComPort::TLineChoice& line);

    // --- sending ---
    enum class SendStart { Started, AlreadyRunning };
    // Unless a transmission is running, starts sending `lines` (copied) on a transmission thread.
    SendStart Send(const QStringList& lines);
    // Send with the lines of the command list.
    SendStart SendCommandList();
    // The command list as a value (its lines share their text with the list), and the list set
    // back to such a value: what an undo step keeps and restores.
    struct TListState {
        QStringList lines, descriptions;
        bool faulty = false;
        bool operator==(const TListState&) const = default;
    };
    TListState ListState() const;
    void RestoreList(const TListState& state);
    // The preview of `lines` (or of the command list) with the travel limits of
    // the settings: its programs' figures and plots, its findings.
    Preview::TListPreview PreviewOf(const QStringList& lines) const;
    Preview::TListPreview PreviewOfList() const;
    // The question "Send" asks when a program of the list would leave its channel's travel
    // (the first such line named); empty when none would, or no travel limit is on.
    QString TravelQuestion() const;
    // The question "Send" asks when the list ends inside LD ... ED (the controller would stay in
    // program recording mode); empty when it does not.
    QString OpenRecordingQuestion() const;
    // The operator's units, for showing positions.
    TPreviewUnits PreviewUnits() const;
    // From Send until the transmission's end has been handled here (its log line written).
    bool Transmitting() const { return rwThread_ != nullptr; }
    // Stops a running transmission at once and waits for its thread.
    void StopTransmission();
    // The operator's stop: no line goes out after the one being sent, once it has its answer
    // or its reply time has run out. False when nothing is being sent.
    bool StopSending();
    // How far the running transmission is.
    struct TProgress {
        int line = 0;  // 1-based, the line waiting for its answer
        int count = 0; // lines of the list
        qint64 elapsedMs = 0;
    };
    std::optional<TProgress> Progress() const;
    // The words the operation log has for a transmission's end: how far it went, and why.
    QString TransmissionSummary(const TRWThread::TReport& report) const;

    // --- the command list ---
    struct TAddOutcome {
        enum Kind { Added, Refused, Busy } kind = Added;
        QString refusal; // Refused: the range message
    };
    // Adds a command from the editor (argument in the operator's units, "no" for none). With
    // Direct Control the list is cleared first and the command sent at once; while something
    // is being sent that cannot be done (Busy). An argument that must be whole but is not throws
    // EConvertError.
    TAddOutcome AddCommand(int index, const QString& argument);
    // "Clear all": the list emptied and no longer faulty; ListCleared tells the window.
    void ClearList();
    void RemoveLine(int index);
    // Moves command `from` to position `to` (positions among the commands); `to` one past the
    // last command removes it (dropped on the trailing empty row).
    void MoveLine(int from, int to);
    // Replaces the list (a program loaded, or lines from elsewhere). Wrong commands make it
    // faulty, with one red log line naming the first of them and their number.
    void SetProgram(const QStringList& lines, const QStringList& descriptions = {});
    // A plain text file's lines as commands, each described as if typed in the operator's units
    // (the list is not changed). Throws EFileError.
    PlainTextProgram::TImported ImportPlainText(const QString& fileName);
    void SetDirectControl(bool on);   // clears the list
    void SetControlMode(quint8 mode); // clears the list
    // What a change of units or scale did, for the window to show: the scale text could not be
    // read (it became 1), or the re-scaling stopped at an argument that is not whole.
    struct TScaleChange {
        bool badScale = false;
        std::optional<QString> notWhole;
    };
    // Steps (scale 1, the list as it is) or other units (the scale typed, the list re-scaled);
    // the command table is rebuilt once.
    TScaleChange ChangeUnitsMode(quint8 mode, const QString& scaleText);
    // The scale typed: the list re-scaled by new / old, lines that did not fit logged in red.
    TScaleChange ChangeScale(const QString& scaleText);

    // --- the simple control mode ---
    enum class SimpleAction { Write, Start, Stop, WriteAndStart };
    // Puts the list of a simple-mode button into the command list, for the selected channels
    // (the motion for Write and WriteAndStart); SendCommandList then sends it. The refusals of
    // values left out are returned in order.
    QStringList PrepareSimpleList(SimpleAction action, const TMotion& motion);
    void SetChannelsActive(bool a, bool b, bool c);
    // The states the operator gives the channels by hand: states 0 to 3 in turn, and within
    // each the channels 1 to 3, so that the last one set decides the simple-mode buttons.
    void SetChannelStates(const std::array<quint8, 3>& states);

    // --- reading the program back ---
    enum class ReadBackStart { Started, RecordingMode, NotInStandby, AlreadyReading };
    // Sends "RB*" (Direct Control) or "RD1*" and waits, at most the reply time, for the program;
    // ReadBackDone reports the end.
    ReadBackStart StartReadBack();
    // Abandons a read under way (its end is never reported) and ends the collection.
    void CancelReadBack();
    bool ReadingBack() const { return readThread_ != nullptr; }
    // The collected text as a list of commands, with the scale as for typed values.
    TReadBack ParseReadBack(const QStringList& lines, TCommandList& into);
    // "Add to the command list": the list replaced by a read's commands, ended by ED when the
    // read was whole and its program would otherwise leave the recording open.
    void SetProgramFromRead(const TCommandList& read, const TReadBack& parsed);

    // --- the recovery steps ---
    void RunErrorRecovery();
    void BreakCommunication();
    void ClearReadinessMarks();

    // Fills the command table from the messages, the scale, the unit name and the units mode.
    void RebuildCommandTable();
    // The logs show the time before each line as the settings say.
    void ApplyLogTimes();

signals:
    // Characters received from the controller were added to the reply log.
    void Received();
    // A whole token of the controller's (an echo or a status), before the log lines it causes.
    void TokenReceived(const QString& token);
    // The line `index` (0-based) of the transmission running was answered: its echo and status.
    void LineAnswered(int index, const QString& line, const QString& echo, const QString& status);
    // A channel's report of its program (completed, paused, an execution error, resumed).
    void ChannelReported(int channel, TReplyHandler::Report report, const QString& token);
    // The open device hung up or was removed: the port is closed, the loss logged and no
    // channel left in communication mode.
    void PortLost();
    // The device lost is there again (logged) while the port is still closed: the operator may
    // open it again; it is never reopened on its own (the controller may be running).
    void DeviceReturned(const QString& device);
    // A transmission of `count` lines started.
    void TransmissionStarted(int count);
    // A transmission ended (its "no reply" line, if any, and for a list of more than one line
    // the line saying how far it went, already logged); `report` tells where and how.
    void TransmissionEnded(TRWThread::End end, const TRWThread::TReport& report);
    // A read-back ended: NoAnswer (logged) or Read with the collected text ("no correct program"
    // already logged when it lacks its end).
    void ReadBackDone(TChanReadThread::Outcome outcome, const QString& text);
    // A text for a message box: a program error or a communication error of the controller.
    void Alert(const QString& text);
    // The command list was cleared by "Clear all" (or a clear that stands for it).
    void ListCleared();
    // Whether the list holds a wrong command (and may not be sent).
    void ListFaultyChanged(bool faulty);
    // The units, the scale, the language or the settings changed: whatever shows values in the
    // operator's units or words shows them again.
    void ShownValuesChanged();

private:
    void PortHungUp(const QString& device);
    // Tells the lines answered by status tokens up to `throughSerial`.
    void TellAnswers(quint64 throughSerial);
    // A save that would turn a link, a pipe or a device into a file is refused (EFileError).
    void RefuseIrreplaceable(const QString& fileName) const;
    // What the line owes (a late answer) is left for the next session on the device.
    void KeepOwedAnswer();
    int OwedQuietMs() const;
    void TransmissionThreadEnded(quint64 serial, const TRWThread::TReport& report);
    void LogTransmissionSummary(const TRWThread::TReport& report);
    // After a whole list that stopped inside a recording: "ED*" ends it, and the log says so.
    void EndRecordingLeftOpen(const TRWThread::TReport& report, bool wholeList);
    void ReadThreadDone(TChanReadThread::Outcome outcome);
    void SetListFaulty(bool faulty);
    // Applies the scale text and re-scales the list by the ratio to the scale before.
    TScaleChange ApplyScaleText(const QString& scaleText);
    // A controller that has just been connected (or lost) cannot still be recording: a channel
    // in communication mode goes back to standby, and a read under way is over. A running or
    // paused channel keeps the state last known (its program may well still run).
    void ForgetCommunication();

    class TRecordingView;
    std::unique_ptr<TOperationLogRecord> operationLog_;
    std::unique_ptr<TRecordingView> recordingView_;
    std::unique_ptr<TSpoolFile> replySpool_;
    std::unique_ptr<TComPort> port_;
    std::unique_ptr<TCommonDatas> datas_;
    std::unique_ptr<TSettingsFiles> settingsFiles_;
    std::unique_ptr<TExtraSettingsFile> extraSettingsFile_;
    bool closing_ = false; // EndForClose has begun
    QString openFailure_;
    QDateTime started_ = QDateTime::currentDateTime();
    bool portSettingsLoaded_ = false;
    bool programSettingsLoaded_ = false;
    bool errorSettingsLoaded_ = false;
    bool extraSettingsLoaded_ = true;
    std::optional<quint32> storedPortNumber_; // while the command line's port is in use
    std::unique_ptr<TLang> lang_;
    std::unique_ptr<TKVTCommands> commands_;
    std::unique_ptr<TNamedEvent> readBackEvent_;
    std::unique_ptr<TReplyLog> replyLog_;
    std::unique_ptr<TReplyHandler> replies_;
    std::unique_ptr<TCommandList> commandList_;
    bool listFaulty_ = false;
    bool readOnly_ = false;
    bool languageFound_ = true; // the three files of the language in use could be read
    quint64 loggedSerial_ = 0;  // a transmission whose end was logged already (at a close)
    quint64 directSerial_ = 0;  // the last transmission of a single command of Direct Control
    // Declared after the reply handler: its pending recovery steps are dropped before it goes.
    TTimerScheduler scheduler_;
    // The running transmission, or none; at most one exists at a time.
    std::unique_ptr<TRWThread> rwThread_;
    QElapsedTimer sendingTime_;
    // The running read-back, or none.
    std::unique_ptr<TChanReadThread> readThread_;
    // After a hang-up, for the device to come back.
    TDeviceWatch deviceWatch_;
};
