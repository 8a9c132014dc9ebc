#include "Lines.h"

#include "ComPort.h"
#include "NetworkAddress.h"
#include "NetworkLine.h"
#include "PortDevice.h"

TLines::TLines(const QString& portsFolder)
    : serial_(std::make_unique<TComPort>(portsFolder)), network_(std::make_unique<TNetworkLine>()) {}

TLines::~TLines() = default;

ILine& TLines::For(quint32 portNumber, const QString& givenDevice, const QString& systemFolder) {
    const QString device = givenDevice.isEmpty()
                               ? PortDevice::DeviceForPort(serial_->PortsFolder(), portNumber, systemFolder)
                               : givenDevice;
    const QString address = TNetworkAddress::Behind(device);
    if (!address.isEmpty()) {
        network_->SetAddress(address);
        return *network_;
    }
    serial_->SetPortNumber(portNumber);
    serial_->SetDevice(givenDevice);
    serial_->SetSystemDeviceFolder(systemFolder);
    return *serial_;
}

std::array<ILine*, 2> TLines::All() const {
    return {serial_.get(), network_.get()};
}
