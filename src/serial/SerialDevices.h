#pragma once

#include <QString>
#include <QStringList>

// The serial devices of this machine, for the operator who links a port number to one: a USB
// adapter's /dev/ttyUSB<n> name changes between plugs, its name under /dev/serial/by-id does not.
namespace SerialDevices {

// What the port dialog tells of a device.
struct TDeviceState {
    bool exists = false;     // the device (or what a link names) is there
    bool accessible = false; // and this user may read and write it
};
TDeviceState Inspect(const QString& device);

// The devices present: their stable names under `byIdFolder` when there are any; otherwise the
// ttyUSB* and ttyACM* devices of `devFolder` and the ttyS* devices there that have a UART behind
// them. Sorted by name.
QStringList List(const QString& byIdFolder = "/dev/serial/by-id", const QString& devFolder = "/dev");

// Makes <portsFolder>/COM<n> a link to `device`, replacing what was there (within that folder
// only, which is made when missing, 0700). A ports folder that is itself a link is refused
// (portsIsLink): nothing is made in the folder it names. Otherwise a failure carries the system's
// reason.
struct TLinkResult {
    bool linked = false;
    bool portsIsLink = false;
    QString reason;
};
TLinkResult LinkPort(const QString& portsFolder, quint32 portNumber, const QString& device);

} // namespace SerialDevices
