#include "Connection.h"

#include "PortInfo.h"
#include "core/OperationLog.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
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
} // namespace

TConnection::TConnection(const TProgramPaths& paths, TCommonDatas& datas, const TLang& lang,
                         IOperationLog& log)
    : portsFolder_(paths.PortsFolder()), datas_(datas), lang_(lang), log_(log),
      number_(datas.Settings().PortNumber), serial_(std::make_unique<TComPort>(paths.PortsFolder())),
      line_(*serial_) {
    connect(&line_, &ILine::HungUp, this, &TConnection::HungUp);
    connect(&deviceWatch_, &TDeviceWatch::Returned, this, [this](const QString& device) {
        if (line_.Connected())
            return;
        log_.AddLogLine(lang_.ExtraText(Ext::DeviceBack).arg(device).arg(number_));
        emit DeviceReturned(device);
    });
    line_.SetLine(choice_); // the same at every start
}

TConnection::~TConnection() {
    Close();
}

bool TConnection::WriteText(const QString& text) {
    return line_.WriteText(text);
}

bool TConnection::WriteBytes(const QByteArray& bytes) {
    return line_.WriteBytes(bytes);
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
    serial_->SetPortNumber(number_);
    serial_->SetDevice(device_);
    serial_->SetSystemDeviceFolder(systemFolder_);
    line_.SetReceiver(receiver_);
    line_.Open();
    if (line_.Connected()) {
        deviceWatch_.Stop();
        ForgetCommunication();
        if (device_.isEmpty() && !PortDevice::HasPortLink(portsFolder_, number_))
            log_.AddLogLine(lang_.ExtraText(Ext::FallbackDevice).arg(number_).arg(line_.DeviceName()));
        emit Opened(line_.DeviceName());
        line_.EnableReading(true);
        return true;
    }
    openFailure_ = lang_.ExtraText(Ext::CannotOpenPort)
                       .arg(number_)
                       .arg(line_.DeviceName(), OpenFailureText(lang_, line_.LastOpenError()));
    log_.AddLogLine(openFailure_, true);
    return false;
}

void TConnection::Close() {
    if (line_.Connected())
        emit Closing(line_.DeviceName());
    line_.Close();
}

bool TConnection::IsOpen() const {
    return line_.Connected();
}

QString TConnection::Description() const {
    return ComposePortInfo(number_, choice_.dataBitsIndex, choice_.stopBits, choice_.parity, lang_.Messages);
}

void TConnection::SetLineSettings(const TLineChoice& line) {
    choice_ = line;
    line_.SetLine(line);
}

int TConnection::BaudRate() const {
    return TComPort::BaudRates[std::min<int>(choice_.baudIndex, TComPort::BaudRateCount - 1)];
}

void TConnection::HungUp(const QString& device) {
    log_.AddLogLine(lang_.ExtraText(Ext::ConnectionLost).arg(number_).arg(device), true);
    ForgetCommunication();
    log_.AddLogLine(lang_.ExtraText(Ext::StatesLastKnown));
    // The port's own name (a link under ports/ stays while its device is away).
    deviceWatch_.Watch(line_.DeviceName());
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
