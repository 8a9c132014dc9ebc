#include "PortChoice.h"

#include "serial/PortDevice.h"

void TPortChoice::UsePortForThisStart(quint32 n) {
    if (!storedNumber_)
        storedNumber_ = number_;
    number_ = n;
}

void TPortChoice::ChoosePort(quint32 n) {
    storedNumber_.reset();
    device_.clear();
    number_ = n;
}

QString TPortChoice::Device() const {
    return device_.isEmpty() ? DeviceForPort(number_) : device_;
}

QString TPortChoice::DeviceForPort(quint32 n) const {
    return PortDevice::DeviceForPort(portsFolder_, n, systemFolder_);
}
