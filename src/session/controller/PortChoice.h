#pragma once

#include <QString>

#include <optional>

// The operator's choice of the line to the controller: a port number (its link under ports/,
// else the system's port), kept as any other setting, or, for this start only, another number or
// a device given outright (any terminal device, or a network address), while what portp.dat keeps
// stays as it was until the operator chooses a port.
class TPortChoice {
public:
    TPortChoice(QString portsFolder, quint32 number)
        : portsFolder_(std::move(portsFolder)), number_(number) {}

    // Port n for this start only (the command line's choice).
    void UsePortForThisStart(quint32 n);
    // The operator's choice of a port (a device given outright is forgotten).
    void ChoosePort(quint32 n);
    // A device opened outright for this start (empty: the port number again).
    void UseDevice(const QString& device) { device_ = device; }
    const QString& GivenDevice() const { return device_; }
    quint32 PortNumber() const { return number_; }
    // The number portp.dat is to keep.
    quint32 PortNumberToStore() const { return storedNumber_.value_or(number_); }
    // The device the port opens (ports/COM<n>, else <system>/ttyS<n-1>), or the one given
    // outright; and the device port number n would open.
    QString Device() const;
    QString DeviceForPort(quint32 n) const;
    // Where links to devices are made.
    const QString& PortsFolder() const { return portsFolder_; }
    // Where a number without a link finds its system port: /dev, or a folder a test stands in.
    void SetSystemDeviceFolder(const QString& folder) { systemFolder_ = folder; }
    const QString& SystemFolder() const { return systemFolder_; }

private:
    const QString portsFolder_;
    quint32 number_;
    std::optional<quint32> storedNumber_; // while the command line's port is in use
    QString device_;                      // given outright, or empty
    QString systemFolder_ = "/dev";
};
