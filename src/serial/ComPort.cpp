#include "ComPort.h"

#include "PortDevice.h"
#include "ReadLoop.h"
#include "core/TextCodec.h"

#include <cerrno>

const qint32 TComPort::BaudRates[TComPort::BaudRateCount] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                                             14400, 19200, 38400, 56000, 57600, 115200};

TComPort::TComPort(QString portsFolder, QObject* parent)
    : ILine(parent), portsFolder_(std::move(portsFolder)) {}

TComPort::~TComPort() {
    Close();
}

std::shared_ptr<TPortHandle> TComPort::Handle() const {
    std::lock_guard lock(handleMutex_);
    return handle_;
}

bool TComPort::Connected() const {
    return Handle() != nullptr;
}

QString TComPort::DeviceName() const {
    return device_.isEmpty() ? DeviceForPort(portNumber_) : device_;
}

QString TComPort::DeviceForPort(quint32 n) const {
    return PortDevice::DeviceForPort(portsFolder_, n, systemFolder_);
}

void TComPort::Open(std::shared_ptr<TLineDial>) {
    if (Connected())
        return;
    if (!receiver_) {
        lastOpenError_ = EINVAL; // nothing would take what the device sends
        return;
    }
    int error = 0;
    const QString device = DeviceName();
    auto handle = TPortHandle::Open(device, error);
    lastOpenError_ = error;
    if (!handle)
        return;
    openedDevice_ = device;
    {
        std::lock_guard lock(handleMutex_);
        handle_ = handle;
    }
    ApplyLineSettings();
    if (readLoop_)
        return;
    // The loop holds the handle as long as it reads; the line errors are the driver's counts.
    auto counters = std::make_shared<PortDevice::ErrorCounters>();
    TReadLoop::TSource source;
    source.fd = handle->Fd();
    source.bufferSize = inBufSize_;
    source.waitFull = &WaitFullBuffer;
    source.lineErrors = [handle, counters] { return PortDevice::TakeLineErrors(handle->Fd(), *counters); };
    readLoop_ = std::make_unique<TReadLoop>(source, *receiver_, this, [this] { DeviceLost(); });
}

TLineFailure TComPort::LastFailure() const {
    if (lastOpenError_ == 0)
        return TLineFailure::None;
    switch (PortDevice::ClassifyOpenError(lastOpenError_)) {
    case PortDevice::OpenFailure::NoDevice:
        return TLineFailure::NoSuchDevice;
    case PortDevice::OpenFailure::PermissionDenied:
        return TLineFailure::PermissionDenied;
    case PortDevice::OpenFailure::Busy:
        return TLineFailure::Busy;
    case PortDevice::OpenFailure::NotSerial:
        return TLineFailure::NotSerial;
    case PortDevice::OpenFailure::Other:
        break;
    }
    return TLineFailure::Other;
}

void TComPort::Close() {
    if (!Connected())
        return;
    EnableReading(false);
    readLoop_.reset(); // stops the thread and joins it; it never waits on this thread
    std::shared_ptr<TPortHandle> handle;
    {
        std::lock_guard lock(handleMutex_);
        handle = std::move(handle_);
    }
    // A writer still inside WriteBuffer gives up now; the device closes when it lets go.
    handle->SignalClosing();
}

void TComPort::SetPortNumber(quint32 n) {
    if (n == portNumber_)
        return;
    if (Connected()) {
        Close();
        portNumber_ = n;
        Open();
    } else {
        portNumber_ = n;
    }
}

void TComPort::SetLineValue(std::atomic<quint8>& field, quint8 value, quint8 highest) {
    if (value == field || value > highest)
        return; // the same value, or none the port knows
    field = value;
    ApplyLineSettings();
}

void TComPort::SetBaudIndex(quint8 i) {
    SetLineValue(baudIndex_, i, BaudRateCount - 1);
}

void TComPort::SetDataBitsIndex(quint8 i) {
    SetLineValue(dataBitsIndex_, i, 3);
}

void TComPort::SetParity(quint8 p) {
    SetLineValue(parity_, p, 4);
}

void TComPort::SetStopBits(quint8 s) {
    SetLineValue(stopBits_, s, 2);
}

void TComPort::SetLine(const TLineChoice& line) {
    SetDataBitsIndex(line.dataBitsIndex);
    SetStopBits(line.stopBits);
    SetParity(line.parity);
    SetBaudIndex(line.baudIndex);
}

void TComPort::ApplyLineSettings() {
    const auto handle = Handle();
    if (!handle)
        return;
    PortDevice::LineSettings settings;
    const quint8 baud = baudIndex_;
    settings.baudRate = BaudRates[baud < BaudRateCount ? baud : 6];
    settings.dataBits = dataBitsIndex_ + 5;
    settings.parity = parity_;
    settings.stopBits = stopBits_;
    PortDevice::ApplyLineSettings(handle->Fd(), settings); // the result is not examined
}

void TComPort::SetInBufSize(qint32 size) {
    if (size > 0 && !Connected())
        inBufSize_ = size;
}

bool TComPort::WriteText(const QString& text) {
    const QByteArray bytes = TextCodec::ToSerialBytes(text);
    return WriteBuffer(bytes.constData(), bytes.size());
}

bool TComPort::WriteBuffer(const char* bytes, qsizetype count) {
    if (!bytes)
        return false;
    const auto handle = Handle();
    if (!handle)
        return false;
    // Enough for the line itself at the slowest rate, plus a margin for a busy driver.
    const quint8 baudIndex = baudIndex_;
    const qint32 baud = BaudRates[baudIndex < BaudRateCount ? baudIndex : 6];
    const int timeoutMs = 2000 + int(count * 11 * 1000 / baud);
    return handle->WriteAll(bytes, count, timeoutMs);
}

void TComPort::EnableReading(bool on) {
    if (readLoop_)
        readLoop_->SetRunning(on);
}

void TComPort::DeviceLost() {
    // The name it was opened under: a link that named it may be gone by now.
    const QString device = openedDevice_;
    Close();
    emit HungUp(device);
}
