#include "Connection.h"

#include "PortInfo.h"
#include "core/OperationLog.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "serial/NetworkAddress.h"
#include "serial/PortDevice.h"

namespace {
// The words for why a device could not be opened.
QString OpenFailureText(const TLang& lang, int error) {
    switch (PortDevice::ClassifyOpenError(error)) {
    case PortDevice::OpenFailure::NoDevice:
        return lang.ExtraText(Ext::NoSuchDevice);
    case PortDevice::OpenFailure::PermissionDenied:
        return lang.ExtraText(Ext::PermissionDenied);
    case PortDevice::OpenFailure::Busy:
        return lang.ExtraText(Ext::PortBusy);
    case PortDevice::OpenFailure::NotSerial:
        return lang.ExtraText(Ext::NotSerialDevice);
    case PortDevice::OpenFailure::Other:
        break;
    }
    return PortDevice::SystemErrorText(error);
}
// The words for why a controller on the network could not be reached.
QString NetworkFailureText(const TLang& lang, const TNetworkLine& line) {
    using F = TNetworkLine::Failure;
    static const std::pair<F, int> words[] = {{F::BadAddress, Ext::NetworkBadAddress},
                                              {F::NameNotFound, Ext::NetworkNameNotFound},
                                              {F::Refused, Ext::NetworkRefused},
                                              {F::Unreachable, Ext::NetworkUnreachable},
                                              {F::TimedOut, Ext::NetworkTimedOut}};
    for (const auto& [failure, text] : words) {
        if (failure == line.LastFailure())
            return failure == F::TimedOut ? lang.ExtraText(text).arg(TNetworkLine::ConnectTimeoutMs / 1000)
                                          : lang.ExtraText(text);
    }
    return PortDevice::SystemErrorText(line.LastOpenError());
}
} // namespace

TConnection::TConnection(const TProgramPaths& paths, TCommonDatas& datas, const TLang& lang,
                         IOperationLog& log)
    : portsFolder_(paths.PortsFolder()), datas_(datas), lang_(lang), log_(log),
      number_(datas.Settings().PortNumber), serial_(std::make_unique<TComPort>(paths.PortsFolder())),
      network_(std::make_unique<TNetworkLine>()), line_(serial_.get()) {
    for (ILine* line : {static_cast<ILine*>(serial_.get()), static_cast<ILine*>(network_.get())})
        connect(line, &ILine::HungUp, this, &TConnection::HungUp);
    connect(&deviceWatch_, &TDeviceWatch::Returned, this, [this](const QString& device) {
        if (line()->Connected())
            return;
        log_.AddLogLine(lang_.ExtraText(Ext::DeviceBack).arg(device).arg(number_));
        emit DeviceReturned(device);
    });
    serial_->SetLine(choice_); // the same at every start
    network_->SetLine(choice_);
}

TConnection::~TConnection() {
    Close();
}

bool TConnection::WriteText(const QString& text) {
    return line()->WriteText(text);
}

bool TConnection::WriteBytes(const QByteArray& bytes) {
    return line()->WriteBytes(bytes);
}

void TConnection::UsePortForThisStart(quint32 n) {
    if (!storedNumber_)
        storedNumber_ = number_;
    number_ = n;
}

void TConnection::ChoosePort(quint32 n) {
    deviceWatch_.Stop(); // another port is the operator's choice now
    storedNumber_.reset();
    device_.clear();
    number_ = n;
}

QString TConnection::Device() const {
    return device_.isEmpty() ? DeviceForPort(number_) : device_;
}

QString TConnection::DeviceForPort(quint32 n) const {
    return PortDevice::DeviceForPort(portsFolder_, n, systemFolder_);
}

bool TConnection::Open() {
    Close();
    const QString address = TNetworkAddress::Behind(Device());
    if (address.isEmpty()) {
        serial_->SetPortNumber(number_);
        serial_->SetDevice(device_);
        serial_->SetSystemDeviceFolder(systemFolder_);
        line_ = serial_.get();
    } else {
        network_->SetAddress(address);
        line_ = network_.get();
    }
    line()->SetReceiver(receiver_);
    line()->Open();
    if (line()->Connected()) {
        deviceWatch_.Stop();
        ForgetCommunication();
        if (device_.isEmpty() && !PortDevice::HasPortLink(portsFolder_, number_))
            log_.AddLogLine(lang_.ExtraText(Ext::FallbackDevice).arg(number_).arg(line()->DeviceName()));
        emit Opened(line()->DeviceName());
        line()->EnableReading(true);
        return true;
    }
    const QString reason = address.isEmpty() ? OpenFailureText(lang_, line()->LastOpenError())
                                             : NetworkFailureText(lang_, *network_);
    // A device given outright is named as it was given: no port number stands for it.
    openFailure_ = device_.isEmpty()
                       ? lang_.ExtraText(Ext::CannotOpenPort).arg(number_).arg(line()->DeviceName(), reason)
                       : lang_.ExtraText(Ext::DeviceCannotOpen).arg(line()->DeviceName(), reason);
    log_.AddLogLine(openFailure_, true);
    return false;
}

void TConnection::Close() {
    if (line()->Connected())
        emit Closing(line()->DeviceName());
    line()->Close();
}

bool TConnection::IsOpen() const {
    return line()->Connected();
}

QString TConnection::Description() const {
    return ComposePortInfo(number_, choice_.dataBitsIndex, choice_.stopBits, choice_.parity, lang_.Messages);
}

void TConnection::SetLineSettings(const TLineChoice& line) {
    choice_ = line;
    serial_->SetLine(line);
    network_->SetLine(line);
}

int TConnection::BaudRate() const {
    return TComPort::BaudRates[std::min<int>(choice_.baudIndex, TComPort::BaudRateCount - 1)];
}

void TConnection::HungUp(const QString& device) {
    emit Losing();
    log_.AddLogLine(device_.isEmpty() ? lang_.ExtraText(Ext::ConnectionLost).arg(number_).arg(device)
                                      : lang_.ExtraText(Ext::DeviceConnectionLost).arg(device),
                    true);
    ForgetCommunication();
    log_.AddLogLine(lang_.ExtraText(Ext::StatesLastKnown));
    if (line() == network_.get()) {
        // Nothing is there to watch: whether the server is back only a connection would tell,
        // and none is made unless the operator asks.
        log_.AddLogLine(lang_.ExtraText(Ext::NetworkReopen).arg(device));
    } else {
        // The port's own name (a link under ports/ stays while its device is away).
        deviceWatch_.Watch(line()->DeviceName());
    }
    emit Lost();
}

void TConnection::ForgetCommunication() {
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        if (datas_.CoordState[n] == TCommonDatas::Communication)
            datas_.SetCoordState(n, TCommonDatas::Standby);
    }
    datas_.CommMode = false;
    datas_.ReadBackActive = false;
}
