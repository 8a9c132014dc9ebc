#include "Connection.h"

#include "PortInfo.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "core/ProgramPaths.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "serial/ComPort.h" // its baud rates
#include "serial/NetworkAddress.h"
#include "serial/PortDevice.h"

#include <QCoreApplication>

#include <thread>

TConnection::TConnection(const TProgramPaths& paths, quint32 portNumber, TChannelState& state,
                         const TLang& lang, IOperationLog& log)
    : state_(state), lang_(lang), log_(log), port_(paths.PortsFolder(), portNumber),
      lines_(paths.PortsFolder()), line_(lines_.All()[0]), alive_(std::make_shared<bool>(true)) {
    for (ILine* line : lines_.All()) {
        connect(line, &ILine::HungUp, this, &TConnection::HungUp);
        line->SetLine(lineSettings_); // the same at every start
    }
    connect(&deviceWatch_, &TDeviceWatch::Returned, this, [this](const QString& device) {
        if (line()->Connected())
            return;
        log_.AddLogLine(lang_.ExtraText(Ext::DeviceBack).arg(device).arg(port_.PortNumber()));
        emit DeviceReturned(device);
    });
}

TConnection::~TConnection() {
    *alive_ = false; // a dial still under way finds no one to hand its line to
    CancelOpen();
    Close();
}

bool TConnection::WriteText(const QString& text) {
    return line()->WriteText(text);
}

bool TConnection::WriteBytes(const QByteArray& bytes) {
    return line()->WriteBytes(bytes);
}

void TConnection::ChoosePort(quint32 n) {
    deviceWatch_.Stop(); // another port is the operator's choice now
    port_.ChoosePort(n);
}

ILine& TConnection::Choose() {
    Close();
    CancelOpen();
    ILine& line = lines_.For(port_.PortNumber(), port_.GivenDevice(), port_.SystemFolder());
    line_ = &line;
    line.SetReceiver(receiver_);
    return line;
}

bool TConnection::Open() {
    ILine& line = Choose();
    // Dialled here: kvtctl and the tests wait; the window begins the open instead.
    static const std::atomic<bool> never{false};
    const ILine::TDialTask dial = line.DialTask();
    return Finish(line, dial ? dial(never) : nullptr);
}

void TConnection::BeginOpen() {
    ILine& line = Choose();
    const ILine::TDialTask dial = line.DialTask();
    if (!dial) {
        emit OpenDone(Finish(line, nullptr));
        return;
    }
    // Resolving, connecting and negotiating take their time on a thread of their own: the window
    // stays live, and the open can be given up (a dial given up lets go of what it made).
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    cancelDial_ = cancelled;
    const quint64 attempt = ++dialAttempt_;
    std::thread([dial, cancelled, attempt, alive = alive_, self = this, &line] {
        std::shared_ptr<TLineDial> dialed = dial(*cancelled);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive, self, attempt, dialed, &line] {
                if (!*alive || self->dialAttempt_ != attempt || !self->cancelDial_)
                    return; // given up, or the connection is gone
                self->cancelDial_.reset();
                emit self->OpenDone(self->Finish(line, dialed));
            },
            Qt::QueuedConnection);
    }).detach();
    emit Opening(line.DeviceName());
}

void TConnection::CancelOpen() {
    if (!cancelDial_)
        return;
    *cancelDial_ = true;
    cancelDial_.reset();
    ++dialAttempt_;
    openFailure_.clear();
    log_.AddLogLine(lang_.ExtraText(Ext::NetworkConnectGivenUp).arg(line()->DeviceName()));
    emit OpenDone(false);
}

bool TConnection::Finish(ILine& line, std::shared_ptr<TLineDial> dialed) {
    line.Open(std::move(dialed));
    if (line.Connected()) {
        deviceWatch_.Stop();
        state_.ForgetCommunication(); // a controller just connected (or lost) cannot still be recording
        if (port_.GivenDevice().isEmpty() &&
            !PortDevice::HasPortLink(port_.PortsFolder(), port_.PortNumber()))
            log_.AddLogLine(
                lang_.ExtraText(Ext::FallbackDevice).arg(port_.PortNumber()).arg(line.DeviceName()));
        if (!line.SettingsApplied())
            log_.AddLogLine(lang_.ExtraText(Ext::NetworkSettingsNotApplied).arg(line.DeviceName()), true);
        emit Opened(line.DeviceName());
        line.EnableReading(true);
        return true;
    }
    const QString reason = LineFailureText(lang_, line);
    // A device given outright is named as it was given: no port number stands for it.
    openFailure_ =
        port_.GivenDevice().isEmpty()
            ? lang_.ExtraText(Ext::CannotOpenPort).arg(port_.PortNumber()).arg(line.DeviceName(), reason)
            : lang_.ExtraText(Ext::DeviceCannotOpen).arg(line.DeviceName(), reason);
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
    return ComposePortInfo(port_.PortNumber(), lineSettings_.dataBitsIndex, lineSettings_.stopBits,
                           lineSettings_.parity, lang_.Messages);
}

void TConnection::SetLineSettings(const TLineChoice& line) {
    lineSettings_ = line;
    for (ILine* each : lines_.All())
        each->SetLine(line);
}

int TConnection::BaudRate() const {
    return TComPort::BaudRates[std::min<int>(lineSettings_.baudIndex, TComPort::BaudRateCount - 1)];
}

void TConnection::HungUp(const QString& device) {
    emit Losing();
    log_.AddLogLine(line()->LastFailure() == TLineFailure::ClosedByServer
                        ? lang_.ExtraText(Ext::ServerClosedAtOnceLoss).arg(device)
                    : port_.GivenDevice().isEmpty()
                        ? lang_.ExtraText(Ext::ConnectionLost).arg(port_.PortNumber()).arg(device)
                        : lang_.ExtraText(Ext::DeviceConnectionLost).arg(device),
                    true);
    state_.ForgetCommunication(); // a controller just connected (or lost) cannot still be recording
    log_.AddLogLine(lang_.ExtraText(Ext::StatesLastKnown));
    if (!TNetworkAddress::Behind(line()->DeviceName()).isEmpty()) {
        // Nothing is there to watch: whether the server is back only a connection would tell,
        // and none is made unless the operator asks.
        log_.AddLogLine(lang_.ExtraText(Ext::NetworkReopen).arg(device));
    } else {
        // The port's own name (a link under ports/ stays while its device is away).
        deviceWatch_.Watch(line()->DeviceName());
    }
    emit Lost();
}
