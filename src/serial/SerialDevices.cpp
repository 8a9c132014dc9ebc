#include "SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
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

TLinkResult LinkPort(const QString& portsFolder, quint32 portNumber, const QString& device) {
    const auto failed = [](int code) {
        return TLinkResult{false, false, QString::fromLocal8Bit(std::strerror(code))};
    };
    // The folder above ports/ is the program folder; ports/ itself is opened without following
    // a link, and everything happens relative to that descriptor: a ports/ that is (or becomes)
    // a link to elsewhere never has a link made in the folder it names.
    const QFileInfo ports(portsFolder);
    const QByteArray parent = QFile::encodeName(ports.absolutePath());
    const QByteArray name = QFile::encodeName(ports.fileName());
    const int parentFd = ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return failed(errno);
    if (::mkdirat(parentFd, name.constData(), 0700) != 0 && errno != EEXIST) {
        const int code = errno;
        ::close(parentFd);
        return failed(code);
    }
    const int portsFd = ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int openError = errno;
    ::close(parentFd);
    if (portsFd < 0)
        return openError == ELOOP || openError == ENOTDIR ? TLinkResult{false, true, {}} : failed(openError);
    const QByteArray link = "COM" + QByteArray::number(portNumber);
    const QByteArray target = QFile::encodeName(device);
    // A new link beside the old, then one rename: the port is never left without either.
    const QByteArray temporary = "." + link + ".kvt-new";
    ::unlinkat(portsFd, temporary.constData(), 0);
    TLinkResult result{true, false, {}};
    if (::symlinkat(target.constData(), portsFd, temporary.constData()) != 0 ||
        ::renameat(portsFd, temporary.constData(), portsFd, link.constData()) != 0) {
        result = failed(errno);
        ::unlinkat(portsFd, temporary.constData(), 0);
    }
    ::close(portsFd);
    return result;
}

} // namespace SerialDevices
