#pragma once

#include "Line.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

class IPortReceiver;
class TPortHandle;
class TReadLoop;

// A serial device as the line to the controller: opened exclusively, its line settings through
// termios, its read loop handing every received chunk to the port's receiver, on the loop's
// thread. Writing blocks until the device has taken the bytes. The component knows nothing of
// the controller's protocol.
//
// Open, Close, the setters and EnableReading run on the main thread; WriteText and WriteBuffer
// may be called from any thread.
class TComPort : public ILine {
    Q_OBJECT
public:
    static constexpr int BaudRateCount = 13;
    static const qint32 BaudRates[BaudRateCount];

    using TLineChoice = ::TLineChoice;

    // `portsFolder` is the program's ports folder, where COM<n> links may name devices.
    explicit TComPort(QString portsFolder, QObject* parent = nullptr);
    ~TComPort() override;

    void Open(std::shared_ptr<TLineDial> dialed = {}) override;
    void Close() override;
    bool Connected() const override;
    TLineFailure LastFailure() const override;

    quint32 PortNumber() const { return portNumber_; }
    void SetPortNumber(quint32 n);
    const QString& PortsFolder() const { return portsFolder_; }
    // Where a number without a link finds its system port (ttyS<n-1>): /dev, unless a test
    // stands a folder of its own in.
    void SetSystemDeviceFolder(const QString& folder) { systemFolder_ = folder; }
    QString DeviceForPort(quint32 n) const;
    // The line settings may be read from any thread (a writer sizes its time-out by the baud
    // rate) while the main thread changes them.
    quint8 BaudIndex() const { return baudIndex_; }
    quint8 DataBitsIndex() const { return dataBitsIndex_; }
    quint8 Parity() const { return parity_; }
    quint8 StopBits() const { return stopBits_; }
    void SetBaudIndex(quint8 i);
    void SetDataBitsIndex(quint8 i);
    void SetParity(quint8 p);
    void SetStopBits(quint8 s);
    void ApplyLineSettings();
    TLineChoice Line() const { return {baudIndex_, dataBitsIndex_, parity_, stopBits_}; }
    // Data bits, stop bits, parity and baud rate in this order, each applied at once when open.
    void SetLine(const TLineChoice& line) override;

    qint32 InBufSize() const { return inBufSize_; }
    // Takes the new size only while the port is closed and the size is positive.
    void SetInBufSize(qint32 size);
    std::atomic<bool> WaitFullBuffer{false};

    bool WriteText(const QString& text) override;
    bool WriteBytes(const QByteArray& bytes) override { return WriteBuffer(bytes.constData(), bytes.size()); }

    // Who takes the received chunks, on the read thread (not owned; set before the port opens:
    // a port without a receiver does not open).
    void SetReceiver(IPortReceiver* receiver) override { receiver_ = receiver; }
    bool WriteBuffer(const char* bytes, qsizetype count);
    void EnableReading(bool on) override;

    // The device the current port number opens, or the device given outright.
    QString DeviceName() const override;
    // Opens `device` (any terminal device) instead of what the port number names; empty: the
    // number again.
    void SetDevice(const QString& device) { device_ = device; }
    // The errno of the last failed Open, 0 after a successful one.
    int LastOpenError() const override { return lastOpenError_; }

    // Called by the read loop, through the main thread's event loop: the device is gone.
    void DeviceLost();

private:
    std::shared_ptr<TPortHandle> Handle() const;
    // Takes a line setting that differs and is in 0..highest, and applies the line settings.
    void SetLineValue(std::atomic<quint8>& field, quint8 value, quint8 highest);

    QString portsFolder_;
    QString systemFolder_ = "/dev";
    QString device_; // given outright, or empty
    quint32 portNumber_ = 0;
    std::atomic<quint8> baudIndex_{0};
    std::atomic<quint8> dataBitsIndex_{0};
    std::atomic<quint8> parity_{0};
    std::atomic<quint8> stopBits_{0};
    qint32 inBufSize_ = 1000;
    int lastOpenError_ = 0;
    QString openedDevice_; // the device the port has open, or had when it was last open

    mutable std::mutex handleMutex_;
    std::shared_ptr<TPortHandle> handle_;
    std::unique_ptr<TReadLoop> readLoop_;
    IPortReceiver* receiver_ = nullptr;
};
