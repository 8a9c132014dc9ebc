#pragma once

#include "PortChoice.h"
#include "serial/DeviceWatch.h"
#include "serial/LineWriter.h"
#include "serial/Lines.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class IPortReceiver;
class TChannelState;
class TLang;
class TProgramPaths;
class IOperationLog;

// The line to the controller: the operator's choice of it (a port number, whose link under
// ports/ or system port names the device, or a device given outright; the line settings), opening
// and closing it, its description, a device that hangs up and comes back. It talks to the line
// through ILine (open, close, write, bytes received, lost): the serial port, or a connection to
// a controller on the network when the device (or the link of the port number) is an address
// (tcp://HOST:PORT, rfc2217://HOST:PORT); it is what the rest of the session writes to
// (ILineWriter), whatever line is open.
//
// A lost device is logged, with the channel states that are now those last known; when its
// name is there again the room says so (DeviceReturned) and never reopens it on its own: the
// controller may have been running all along.
class TConnection : public QObject, public ILineWriter {
    Q_OBJECT
public:
    TConnection(const TProgramPaths& paths, quint32 portNumber, TChannelState& state, const TLang& lang,
                IOperationLog& log);
    ~TConnection() override;

    // Who takes the received chunks, on the line's read thread (set before the line opens).
    void SetReceiver(IPortReceiver* receiver) { receiver_ = receiver; }
    bool WriteText(const QString& text) override;
    bool WriteBytes(const QByteArray& bytes) override;

    // The operator's choice of the line: the port number, or a device given outright.
    TPortChoice& Choice() { return port_; }
    const TPortChoice& Choice() const { return port_; }
    // The operator's choice of a port, kept as any other setting.
    void ChoosePort(quint32 n);

    // Closes the line and opens it again. When it cannot be opened, the reason is logged in red
    // (port number, device and why). When it opens, no channel is believed to be in
    // communication mode any more (a running or paused one keeps its state). True when open.
    // It waits for a line that opens slowly (a name resolved, a connection made: a few seconds
    // at most); the window begins the open instead.
    bool Open();
    // The same without waiting: a line that opens slowly is dialled on a thread of its own
    // (Opening, then OpenDone); another opens at once (OpenDone at once).
    void BeginOpen();
    // Gives up an open begun (OpenDone(false), no failure).
    void CancelOpen();
    bool IsOpening() const { return cancelDial_ != nullptr; }
    // Why the last Open failed, as the log says it.
    const QString& OpenFailure() const { return openFailure_; }
    void Close();
    bool IsOpen() const;
    // The description for the status panel: number, data bits, stop bits, parity.
    QString Description() const;
    const TLineChoice& LineSettings() const { return lineSettings_; }
    // Applied to the line at once when it is open.
    void SetLineSettings(const TLineChoice& line);
    int BaudRate() const;

signals:
    // An open begun waits for `device` (a connection being made).
    void Opening(const QString& device);
    // An open begun ended: opened, or not (OpenFailure says why, empty when given up).
    void OpenDone(bool opened);
    // The line opened on `device`, or is about to close.
    void Opened(const QString& device);
    void Closing(const QString& device);
    // The open device hung up or was removed: Losing before the loss is logged (what was under
    // way ends first, in order), Lost after.
    void Losing();
    void Lost();
    // The device lost is there again (logged) while the line is still closed.
    void DeviceReturned(const QString& device);

private:
    ILine* line() const { return line_.load(); }
    // The line the port choice names, closed and ready to open.
    ILine& Choose();
    // Opens `line` with what its dial made: the log and the signals as Open says.
    bool Finish(ILine& line, std::shared_ptr<TLineDial> dialed);
    void HungUp(const QString& device);

    TChannelState& state_;
    const TLang& lang_;
    IOperationLog& log_;
    TPortChoice port_;
    TLineChoice lineSettings_;
    IPortReceiver* receiver_ = nullptr;
    // The lines, made once (a sending may be writing to one from its thread); `line_` is the one
    // the device names, chosen at each Open.
    TLines lines_;
    std::atomic<ILine*> line_;
    std::shared_ptr<std::atomic<bool>> cancelDial_; // an open begun and not yet done
    quint64 dialAttempt_ = 0;
    std::shared_ptr<bool> alive_; // false once the connection is gone
    QString openFailure_;
    TDeviceWatch deviceWatch_; // after a hang-up, for the device to come back
};
