#pragma once

#include "serial/ComPort.h"
#include "serial/DeviceWatch.h"
#include "serial/LineWriter.h"
#include "serial/NetworkLine.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class IPortReceiver;
class TCommonDatas;
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
    TConnection(const TProgramPaths& paths, TCommonDatas& datas, const TLang& lang, IOperationLog& log);
    ~TConnection() override;

    // Who takes the received chunks, on the line's read thread (set before the line opens).
    void SetReceiver(IPortReceiver* receiver) { receiver_ = receiver; }
    bool WriteText(const QString& text) override;
    bool WriteBytes(const QByteArray& bytes) override;

    // Port n for this start only (the command line's choice): what is stored stays the number
    // read from portp.dat, until the operator chooses a port.
    void UsePortForThisStart(quint32 n);
    // The operator's choice of a port, kept as any other setting.
    void ChoosePort(quint32 n);
    // A device opened outright for this start (any terminal device, no link needed).
    void UseDevice(const QString& device) { device_ = device; }
    quint32 PortNumber() const { return number_; }
    // The number portp.dat is to keep.
    quint32 PortNumberToStore() const { return storedNumber_.value_or(number_); }
    // The device the port opens (ports/COM<n>, else /dev/ttyS<n-1>), or the one given outright;
    // and the device port number n would open; and where links to devices are made.
    QString Device() const;
    QString DeviceForPort(quint32 n) const;
    const QString& PortsFolder() const { return portsFolder_; }
    // Where a number without a link finds its system port: /dev, or a folder a test stands in.
    void SetSystemDeviceFolder(const QString& folder) { systemFolder_ = folder; }

    // Closes the line and opens it again. When it cannot be opened, the reason is logged in red
    // (port number, device and why). When it opens, no channel is believed to be in
    // communication mode any more (a running or paused one keeps its state). True when open.
    bool Open();
    // Why the last Open failed, as the log says it.
    const QString& OpenFailure() const { return openFailure_; }
    void Close();
    bool IsOpen() const;
    // The description for the status panel: number, data bits, stop bits, parity.
    QString Description() const;
    const TLineChoice& LineSettings() const { return choice_; }
    // Applied to the line at once when it is open.
    void SetLineSettings(const TLineChoice& line);
    int BaudRate() const;

signals:
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
    void HungUp(const QString& device);
    // A controller just connected (or lost) cannot still be recording: a channel in
    // communication mode goes back to standby, a read under way is over.
    void ForgetCommunication();

    const QString portsFolder_;
    TCommonDatas& datas_;
    const TLang& lang_;
    IOperationLog& log_;
    quint32 number_;
    std::optional<quint32> storedNumber_; // while the command line's port is in use
    QString device_;                      // given outright, or empty
    QString systemFolder_ = "/dev";
    TLineChoice choice_;
    IPortReceiver* receiver_ = nullptr;
    // The lines, made once (a sending may be writing to one from its thread); `line_` is the one
    // the device names, chosen at each Open.
    std::unique_ptr<TComPort> serial_;
    std::unique_ptr<TNetworkLine> network_;
    std::atomic<ILine*> line_;
    QString openFailure_;
    TDeviceWatch deviceWatch_; // after a hang-up, for the device to come back
};
