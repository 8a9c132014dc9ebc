#include "NetworkLine.h"

#include "ComPort.h"
#include "NetworkAddress.h"
#include "PortReceiver.h"
#include "Rfc2217.h"
#include "core/TextCodec.h"

#include <QElapsedTimer>
#include <QMetaObject>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

TNetworkLine::Failure FailureOf(int error) {
    switch (error) {
    case ECONNREFUSED:
        return TNetworkLine::Failure::Refused;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN:
        return TNetworkLine::Failure::Unreachable;
    case ETIMEDOUT:
        return TNetworkLine::Failure::TimedOut;
    default:
        return TNetworkLine::Failure::Other;
    }
}

// Waits for `events` on `fd` until `deadlineMs` of `clock` has passed: the events seen, 0 on
// time-out, -1 on an error.
int WaitFor(int fd, short events, const QElapsedTimer& clock, qint64 deadlineMs) {
    for (;;) {
        const qint64 left = deadlineMs - clock.elapsed();
        if (left <= 0)
            return 0;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        return n <= 0 ? n : p.revents;
    }
}

enum class Ready { Input, Woken, Failed };

// Waits until `fd` has input (or was hung up), or `wakeFd` is signalled (and then drained).
Ready WaitForInput(int fd, int wakeFd) {
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = ::poll(fds, 2, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Ready::Failed;
        if (fds[1].revents != 0) {
            uint64_t count;
            [[maybe_unused]] const ssize_t drained = ::read(wakeFd, &count, sizeof count);
            return Ready::Woken;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR))
            return Ready::Input;
    }
}

} // namespace

TNetworkLine::TNetworkLine(QObject* parent) : ILine(parent) {}

TNetworkLine::~TNetworkLine() {
    Close();
}

int TNetworkLine::Connect() {
    const auto address = TNetworkAddress::Parse(address_);
    if (!address) {
        failure_ = Failure::BadAddress;
        error_ = EINVAL;
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address->host.toUtf8().constData(), QByteArray::number(address->port).constData(),
                      &hints, &found) != 0 ||
        !found) {
        failure_ = Failure::NameNotFound;
        error_ = ENOENT;
        return -1;
    }
    QElapsedTimer clock;
    clock.start();
    int connected = -1;
    for (addrinfo* a = found; a && connected < 0 && clock.elapsed() < ConnectTimeoutMs; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0)
            continue;
        int result = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (result < 0 && errno == EINPROGRESS) {
            const int seen = WaitFor(fd, POLLOUT, clock, ConnectTimeoutMs);
            int soError = 0;
            socklen_t length = sizeof soError;
            if (seen == 0)
                soError = ETIMEDOUT;
            else if (seen < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) < 0)
                soError = errno;
            result = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (result == 0) {
            connected = fd;
        } else {
            error_ = errno;
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (connected < 0) {
        failure_ = FailureOf(error_);
        return -1;
    }
    // Each line is a few bytes answered before the next: sent at once, not gathered.
    const int one = 1;
    ::setsockopt(connected, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return connected;
}

void TNetworkLine::Open() {
    if (connected_)
        return;
    failure_ = Failure::None;
    error_ = 0;
    if (!receiver_) {
        failure_ = Failure::Other;
        error_ = EINVAL; // nothing would take what the peer sends
        return;
    }
    const int fd = Connect();
    if (fd < 0)
        return;
    {
        std::lock_guard lock(mutex_);
        socket_ = fd;
        writeFailed_ = false;
        telnet_.reset();
        if (TNetworkAddress::Parse(address_)->kind == TNetworkAddress::Kind::Rfc2217) {
            telnet_ = std::make_unique<TRfc2217>(
                [this](const char* bytes, size_t count) { SendAll(bytes, count); });
            telnet_->Start();
        }
    }
    SendLineSettings();
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    {
        std::lock_guard lock(stateMutex_);
        reading_ = false;
        stop_ = false;
    }
    closing_ = std::make_shared<std::atomic<bool>>(false);
    connected_ = true;
    receiver_->Resume();
    thread_ = std::thread([this] { Execute(); });
}

void TNetworkLine::Close() {
    if (!connected_)
        return;
    connected_ = false;
    *closing_ = true;
    {
        std::lock_guard lock(stateMutex_);
        stop_ = true;
    }
    stateChanged_.notify_all();
    if (receiver_)
        receiver_->Interrupt();
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    std::lock_guard lock(mutex_);
    ::close(socket_);
    socket_ = -1;
    telnet_.reset();
}

void TNetworkLine::EnableReading(bool on) {
    {
        std::lock_guard lock(stateMutex_);
        reading_ = on;
    }
    stateChanged_.notify_all();
    if (!on && wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void TNetworkLine::SetLine(const TLineChoice& line) {
    line_ = line;
    SendLineSettings();
}

void TNetworkLine::SendLineSettings() {
    std::lock_guard lock(mutex_);
    if (!telnet_)
        return; // a raw port has no line settings of its own: the server keeps its own
    const quint8 baud = line_.baudIndex;
    telnet_->SetLine(quint32(TComPort::BaudRates[baud < TComPort::BaudRateCount ? baud : 6]),
                     line_.dataBitsIndex + 5, line_.parity, line_.stopBits);
}

bool TNetworkLine::SendAll(const char* bytes, size_t count) {
    if (socket_ < 0 || writeFailed_)
        return false;
    QElapsedTimer clock;
    clock.start();
    // A peer that takes nothing for this long is as good as gone.
    constexpr qint64 kWriteTimeoutMs = 5000;
    while (count > 0) {
        const ssize_t n = ::send(socket_, bytes, count, MSG_NOSIGNAL);
        if (n > 0) {
            bytes += n;
            count -= size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            WaitFor(socket_, POLLOUT, clock, kWriteTimeoutMs) > 0)
            continue;
        writeFailed_ = true;
        return false;
    }
    return true;
}

bool TNetworkLine::WriteText(const QString& text) {
    return WriteBytes(TextCodec::ToSerialBytes(text));
}

bool TNetworkLine::WriteBytes(const QByteArray& bytes) {
    if (!connected_)
        return false;
    std::lock_guard lock(mutex_);
    if (telnet_) {
        telnet_->SendData(bytes.constData(), size_t(bytes.size()));
        return !writeFailed_;
    }
    return SendAll(bytes.constData(), size_t(bytes.size()));
}

void TNetworkLine::Execute() {
    char buffer[4096];
    bool lost = false;
    for (;;) {
        {
            std::unique_lock lock(stateMutex_);
            stateChanged_.wait(lock, [this] { return reading_ || stop_; });
            if (stop_)
                break;
        }
        const Ready ready = WaitForInput(socket_, wakeFd_);
        if (ready == Ready::Failed) {
            lost = true;
            break;
        }
        if (ready == Ready::Woken)
            continue; // stop or pause: look at the state again
        const ssize_t n = ::recv(socket_, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            lost = true; // the peer closed the connection, or it broke
            break;
        }
        if (n < 0)
            continue;
        QByteArray data;
        {
            std::lock_guard lock(mutex_);
            data = telnet_ ? telnet_->Receive(buffer, size_t(n)) : QByteArray(buffer, qsizetype(n));
        }
        if (!data.isEmpty())
            receiver_->ChunkReceived(data, 0);
        if (*closing_)
            break;
    }
    if (lost) {
        auto closing = closing_;
        QMetaObject::invokeMethod(
            this,
            [this, closing] {
                if (!*closing) // closed on purpose meanwhile
                    Lost();
            },
            Qt::QueuedConnection);
    }
}

void TNetworkLine::Lost() {
    Close();
    emit HungUp(address_);
}
