#include "PortDevice.h"

#include "core/LookUp.h"

#include <QFileInfo>

#include <optional>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace PortDevice {

bool HasPortLink(const QString& portsFolder, quint32 portNumber) {
    const QString link = portsFolder + "/COM" + QString::number(portNumber);
    // The entry counts even when it is a link to a device that is gone: the open then fails with
    // "no such device", naming the link.
    return QFileInfo(link).isSymLink() || QFileInfo::exists(link);
}

QString DeviceForPort(const QString& portsFolder, quint32 portNumber, const QString& systemFolder) {
    if (HasPortLink(portsFolder, portNumber))
        return portsFolder + "/COM" + QString::number(portNumber);
    return systemFolder + "/ttyS" + QString::number(qint64(portNumber) - 1);
}

OpenFailure ClassifyOpenError(int error) {
    using F = OpenFailure;
    static constexpr std::pair<int, F> kFailures[] = {
        {ENOENT, F::NoDevice},         {ENODEV, F::NoDevice},        {ENXIO, F::NoDevice},
        {EACCES, F::PermissionDenied}, {EPERM, F::PermissionDenied}, {EBUSY, F::Busy},
        {EWOULDBLOCK, F::Busy},        {ENOTTY, F::NotSerial}};
    return LookUp(kFailures, error, F::Other);
}

QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace PortDevice

std::shared_ptr<TPortHandle> TPortHandle::Open(const QString& device, int& error) {
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    auto fail = [&](int code) -> std::shared_ptr<TPortHandle> {
        ::close(fd);
        error = code;
        return nullptr;
    };
    if (!isatty(fd))
        return fail(ENOTTY);
    // flock keeps out every other program that asks (root included); TIOCEXCL keeps out plain
    // opens by other users.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    ioctl(fd, TIOCEXCL);
    const int closingFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (closingFd < 0)
        return fail(errno);
    return std::shared_ptr<TPortHandle>(new TPortHandle(fd, closingFd));
}

TPortHandle::~TPortHandle() {
    ioctl(fd_, TIOCNXCL);
    flock(fd_, LOCK_UN);
    ::close(fd_);
    ::close(closingFd_);
}

void TPortHandle::SignalClosing() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(closingFd_, &one, sizeof one);
}

bool TPortHandle::WriteAll(const char* bytes, qsizetype count, int timeoutMs) {
    std::lock_guard lock(writeMutex_);
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> deadline; // taken when the first wait begins
    qsizetype done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, size_t(count - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        // The output queue is full: wait until it takes more, the port closes, or time runs out.
        if (!deadline)
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {closingFd_, POLLIN, 0}};
        if (::poll(fds, 2, int(left)) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
    }
    return true;
}
