#pragma once

#include "core/ProgramPaths.h"
#include "core/Scheduler.h"
#include "protocol/ReadWriteThread.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class ICommonDatasView;
class TCommandList;
class TComPort;
class TCommonDatas;
class TKVTCommands;
class TLang;
class TNamedEvent;
class TReplyHandler;
class TReplyLog;
class TSettingsFiles;

// The program without its windows: it composes and owns the serial port, the shared state, the
// language table, the command vocabulary with its table, the three named events, the reply
// handler, the command list and the transmission thread, and wires them together: the port's
// received characters go to the reply handler, a change of scale or units rebuilds the command
// table. The main window holds one and delegates to it; end-to-end tests and benchmarks drive
// one without a window.
//
// It lives on the main thread. What happens on its own (characters received, the device lost,
// a transmission ended) comes out as signals; the operations return their outcome.
class TSession : public QObject {
    Q_OBJECT
public:
    // Creates the objects in the order of the main window's creation step: port, shared state
    // (which writes its defaults into `view`), the program settings (prp.dat: the language among
    // others), language table with its messages, vocabulary and table, the port number from
    // portp.dat (port 1 without it) with the fixed line settings (9600 baud, 8 data bits, even
    // parity, one stop bit), the events, the reply handler. The port is not opened yet.
    TSession(const QString& programFolder, ICommonDatasView& view, QObject* parent = nullptr);
    // Stops a running transmission and waits for it, closes the port, then releases the rest.
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const TProgramPaths Paths;

    TComPort& Port() const { return *port_; }
    TCommonDatas& Datas() const { return *datas_; }
    TLang& Lang() const { return *lang_; }
    const TKVTCommands& Commands() const { return *commands_; }
    TReplyHandler& Replies() const { return *replies_; }
    // Every character received, a token per line: what the reply list shows and port.log keeps.
    const TReplyLog& ReplyLog() const { return *replyLog_; }
    // The command list (MemoSend): what "Send" sends and the editor edits.
    TCommandList& CommandList() const { return *commandList_; }
    TNamedEvent& ReplyEvent() const { return *replyEvent_; }       // "EventPortStringName"
    TNamedEvent& ReadyEvent() const { return *readyEvent_; }       // "EventReadFuncReadyName"
    TNamedEvent& ReadBackEvent() const { return *readBackEvent_; } // "EventReadedName"
    // The settings files; the first program-settings load and the port-settings load are done
    // when the session is made (the rest is the window's, at its steps of start-up).
    TSettingsFiles& Settings() const { return *settings_; }
    // Whether portp.dat gave the port number at start.
    bool PortSettingsLoaded() const { return portSettingsLoaded_; }
    // Port n for this start only (the command line's choice): what is stored stays the number
    // read from portp.dat, until the operator chooses a port.
    void UsePortForThisStart(quint32 n);
    // The operator's choice of a port, kept as any other setting.
    void ChoosePort(quint32 n);
    // The number portp.dat is to keep.
    quint32 PortNumberToStore() const;

    // --- the port ---
    // Closes the port and opens it again. When it cannot be opened, the reason is logged in red
    // (port number, device and why). When it opens, the channels start in standby, as at a fresh
    // start, and a port without a link in ports/ logs which system device it opened. True when
    // it is open.
    bool OpenPort();
    void ClosePort();
    bool PortOpen() const;
    // The description of the port for the status panel: number, data bits, stop bits, parity.
    QString PortInfo() const;

    // --- sending ---
    enum class SendStart { Started, AlreadyRunning };
    // Resets the reply event and, unless a transmission is running, starts sending `lines`
    // (copied) on a transmission thread.
    SendStart Send(const QStringList& lines);
    // Send with the lines of the command list.
    SendStart SendCommandList();
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

    // Fills the command table from the messages, the scale, the unit name and the units mode.
    void RebuildCommandTable();

signals:
    // Characters received from the controller were added to the reply log.
    void Received();
    // The open device hung up or was removed: the port is closed, the loss logged and the
    // channels back in standby.
    void PortLost();
    // A transmission of `count` lines started.
    void TransmissionStarted(int count);
    // A transmission ended (its "no reply" line, if any, and for a list of more than one line
    // the line saying how far it went, already logged).
    void TransmissionEnded(TRWThread::End end);

private:
    void PortHungUp(const QString& device);
    void TransmissionThreadEnded(quint64 serial, const TRWThread::TReport& report);
    void LogTransmissionSummary(const TRWThread::TReport& report);
    // Every channel in standby, nothing running, no communication mode: what a controller that
    // has just been connected (or lost) is known to be.
    void ForgetChannelStates();

    std::unique_ptr<TComPort> port_;
    std::unique_ptr<TCommonDatas> datas_;
    std::unique_ptr<TSettingsFiles> settings_;
    bool portSettingsLoaded_ = false;
    std::optional<quint32> storedPortNumber_; // while the command line's port is in use
    std::unique_ptr<TLang> lang_;
    std::unique_ptr<TKVTCommands> commands_;
    std::unique_ptr<TNamedEvent> replyEvent_;
    std::unique_ptr<TNamedEvent> readyEvent_;
    std::unique_ptr<TNamedEvent> readBackEvent_;
    std::unique_ptr<TReplyLog> replyLog_;
    std::unique_ptr<TReplyHandler> replies_;
    std::unique_ptr<TCommandList> commandList_;
    // Declared after the reply handler: its pending recovery steps are dropped before it goes.
    TTimerScheduler scheduler_;
    // The running transmission, or none; at most one exists at a time.
    std::unique_ptr<TRWThread> rwThread_;
    QElapsedTimer sendingTime_;
};
