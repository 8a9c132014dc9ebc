#include "SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace SerialDevices {

TDeviceState Inspect(const QString& device) {
    TDeviceState state;
    const QByteArray path = QFile::encodeName(device);
    state.exists = ::access(path.constData(), F_OK) == 0;
    state.accessible = state.exists && ::access(path.constData(), R_OK | W_OK) == 0;
    return state;
}

namespace {

// Whether a ttyS device has a UART behind it: most of the thirty-two the kernel makes have none.
bool HasUart(const QString& device) {
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info{};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

} // namespace

QStringList List(const QString& byIdFolder, const QString& devFolder) {
    QStringList devices;
    const QDir byId(byIdFolder);
    for (const QString& name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        devices.append(byId.filePath(name));
    if (!devices.isEmpty())
        return devices;
    const QDir dev(devFolder);
    for (const QString& name :
         dev.entryList({"ttyUSB*", "ttyACM*"}, QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        devices.append(dev.filePath(name));
    for (const QString& name :
         dev.entryList({"ttyS*"}, QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (HasUart(dev.filePath(name)))
            devices.append(dev.filePath(name));
    }
    return devices;
}

bool LinkPort(const QString& portsFolder, quint32 portNumber, const QString& device, QString* error) {
    QDir().mkpath(portsFolder);
    const QString link = portsFolder + "/COM" + QString::number(portNumber);
    const QByteArray linkPath = QFile::encodeName(link);
    const QByteArray target = QFile::encodeName(device);
    // A new link beside the old, then one rename: the port is never left without either.
    const QByteArray temporary = linkPath + ".new";
    ::unlink(temporary.constData());
    if (::symlink(target.constData(), temporary.constData()) != 0 ||
        ::rename(temporary.constData(), linkPath.constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

} // namespace SerialDevices
