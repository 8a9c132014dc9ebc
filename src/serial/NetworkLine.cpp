#include "NetworkLine.h"

#include "ComPort.h"
#include "NetworkAddress.h"
#include "PortReceiver.h"
#include "ReadLoop.h"
#include "Rfc2217.h"
#include "core/LookUp.h"
#include "core/TextCodec.h"

#include <QMetaObject>

#include <cerrno>
#include <condition_variable>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// How long the COM port option of RFC 2217 is waited for.
constexpr int kNegotiateTimeoutMs = 2000;
// A server that closes the connection this soon after it was made, before any controller's token
// came, turned the client away (another client may hold the line).
constexpr int kClosedAtOnceMs = 1000;

TLineFailure FailureOf(int error) {
    using F = TLineFailure;
    static constexpr std::pair<int, F> kFailures[] = {
        {ECONNREFUSED, F::Refused}, {ENETUNREACH, F::Unreachable}, {EHOSTUNREACH, F::Unreachable},
        {ENETDOWN, F::Unreachable}, {EHOSTDOWN, F::Unreachable},   {ETIMEDOUT, F::TimedOut}};
    return LookUp(kFailures, error, F::Other);
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

// Writes all of `count` bytes to `fd` within `timeoutMs`.
bool SendBytes(int fd, const char* bytes, size_t count, qint64 timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (count > 0) {
        const ssize_t n = ::send(fd, bytes, count, MSG_NOSIGNAL);
        if (n > 0) {
            bytes += n;
            count -= size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, clock, timeoutMs) > 0)
            continue;
        return false;
    }
    return true;
}

// The name resolved on a thread of its own, waited for at most `timeoutMs`: a name server that
// does not answer costs no more than that (the thread ends by itself when it does).
struct TResolved {
    addrinfo* found = nullptr;
    int error = 0; // getaddrinfo's; EAI_AGAIN when it did not answer in time
};
TResolved Resolve(const QByteArray& host, const QByteArray& port, int timeoutMs) {
    struct TShared {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false, abandoned = false;
        TResolved result;
    };
    auto shared = std::make_shared<TShared>();
    std::thread([shared, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int error = ::getaddrinfo(host.constData(), port.constData(), &hints, &found);
        std::lock_guard lock(shared->mutex);
        if (shared->abandoned) {
            if (found)
                ::freeaddrinfo(found);
            return;
        }
        shared->result = {found, error};
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    if (!shared->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return shared->finished; })) {
        shared->abandoned = true;
        return {nullptr, EAI_AGAIN};
    }
    return shared->result;
}

// What the dial task made: a connected socket, the Telnet side when there is one, what came
// while the COM port option was agreed, or why nothing could be made.
class TNetworkDial : public TLineDial {
public:
    ~TNetworkDial() override {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
    std::unique_ptr<TRfc2217> telnet;
    QByteArray early;
    bool settingsApplied = true;
    TLineFailure failure = TLineFailure::None;
    int error = 0;
};

// Connects a socket to `address`: fills `dial` with the socket, or with why not.
void Connect(const TNetworkAddress& address, TNetworkDial& dial, const std::atomic<bool>& cancelled) {
    const TResolved resolved =
        Resolve(address.host.toUtf8(), QByteArray::number(address.port), TNetworkLine::ResolveTimeoutMs);
    if (resolved.error != 0 || !resolved.found) {
        dial.failure =
            resolved.error == EAI_AGAIN ? TLineFailure::NameServerSilent : TLineFailure::NameNotFound;
        dial.error = resolved.error == EAI_AGAIN ? ETIMEDOUT : ENOENT;
        return;
    }
    QElapsedTimer clock;
    clock.start();
    for (addrinfo* a = resolved.found;
         a && dial.fd < 0 && !cancelled && clock.elapsed() < TNetworkLine::ConnectTimeoutMs; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0)
            continue;
        int result = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (result < 0 && errno == EINPROGRESS) {
            const int seen = WaitFor(fd, POLLOUT, clock, TNetworkLine::ConnectTimeoutMs);
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
            dial.fd = fd;
        } else {
            dial.error = errno;
            ::close(fd);
        }
    }
    ::freeaddrinfo(resolved.found);
    if (dial.fd < 0) {
        dial.failure = FailureOf(dial.error);
        return;
    }
    // Each line is a few bytes answered before the next: sent at once, not gathered.
    const int one = 1;
    ::setsockopt(dial.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// Over RFC 2217: the options offered, the COM port option's answer waited for, and the line
// settings sent once it is agreed, all before the program's first byte. What the controller
// sends meanwhile is kept for the line.
void Negotiate(TNetworkDial& dial, const TLineChoice& line) {
    const int fd = dial.fd;
    dial.telnet = std::make_unique<TRfc2217>(
        [fd](const char* bytes, size_t count) { SendBytes(fd, bytes, count, kNegotiateTimeoutMs); });
    dial.telnet->Start();
    const quint8 baud = line.baudIndex;
    dial.telnet->SetLine(quint32(TComPort::BaudRates[baud < TComPort::BaudRateCount ? baud : 6]),
                         line.dataBitsIndex + 5, line.parity, line.stopBits);
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    while (!dial.telnet->ComPortAnswered()) {
        if (WaitFor(fd, POLLIN, clock, kNegotiateTimeoutMs) <= 0)
            break; // no answer in time: the line opens all the same, said so
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            dial.failure = TLineFailure::ClosedByServer; // turned away at once
            dial.error = ECONNRESET;
            return;
        }
        if (n > 0)
            dial.early += dial.telnet->Receive(buffer, size_t(n));
    }
    dial.settingsApplied = dial.telnet->ComPortAgreed();
}

} // namespace

TNetworkLine::TNetworkLine(QObject* parent) : ILine(parent) {}

TNetworkLine::~TNetworkLine() {
    Close();
}

ILine::TDialTask TNetworkLine::DialTask() const {
    const QString text = address_;
    const TLineChoice line = line_;
    return [text, line](const std::atomic<bool>& cancelled) -> std::shared_ptr<TLineDial> {
        auto dial = std::make_shared<TNetworkDial>();
        const auto address = TNetworkAddress::Parse(text);
        if (!address) {
            dial->failure = TLineFailure::BadAddress;
            dial->error = EINVAL;
            return dial;
        }
        Connect(*address, *dial, cancelled);
        if (dial->fd >= 0 && !cancelled && address->kind == TNetworkAddress::Kind::Rfc2217)
            Negotiate(*dial, line);
        return dial;
    };
}

void TNetworkLine::Open(std::shared_ptr<TLineDial> dialed) {
    if (connected_)
        return;
    failure_ = TLineFailure::None;
    error_ = 0;
    closedAtOnce_ = false;
    if (!receiver_) {
        failure_ = TLineFailure::Other;
        error_ = EINVAL; // nothing would take what the peer sends
        return;
    }
    static const std::atomic<bool> never{false};
    if (!dialed)
        dialed = DialTask()(never);
    auto* dial = dynamic_cast<TNetworkDial*>(dialed.get());
    if (!dial || dial->failure != TLineFailure::None || dial->fd < 0) {
        failure_ = dial ? dial->failure : TLineFailure::Other;
        error_ = dial ? dial->error : EINVAL;
        if (failure_ == TLineFailure::None)
            failure_ = TLineFailure::Other;
        return;
    }
    {
        std::lock_guard lock(mutex_);
        socket_ = std::exchange(dial->fd, -1);
        writeFailed_ = false;
        telnet_ = std::move(dial->telnet);
        if (telnet_)
            telnet_->SetToNetwork([this](const char* bytes, size_t count) { SendAll(bytes, count); });
    }
    settingsApplied_ = dial->settingsApplied;
    connectedFor_.start();
    connected_ = true;
    tokenCame_ = dial->early.contains('*');
    TReadLoop::TSource source;
    source.fd = socket_;
    source.early = dial->early;
    source.decode = [this](const char* bytes, qsizetype count) {
        QByteArray data;
        {
            std::lock_guard lock(mutex_);
            data = telnet_ ? telnet_->Receive(bytes, size_t(count)) : QByteArray(bytes, count);
        }
        if (!tokenCame_ && data.contains('*'))
            tokenCame_ = true;
        return data;
    };
    loop_ = std::make_unique<TReadLoop>(source, *receiver_, this, [this] { Lost(); });
}

void TNetworkLine::Close() {
    if (!connected_)
        return;
    connected_ = false;
    loop_.reset(); // stops the loop and joins it; it never waits on this thread
    std::lock_guard lock(mutex_);
    ::close(socket_);
    socket_ = -1;
    telnet_.reset();
}

void TNetworkLine::EnableReading(bool on) {
    if (loop_)
        loop_->SetRunning(on);
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
    // A peer that takes nothing for this long is as good as gone.
    if (!SendBytes(socket_, bytes, count, 5000))
        writeFailed_ = true;
    return !writeFailed_;
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

void TNetworkLine::Lost() {
    // Turned away: closed soon after it was made, before any token of a controller came (a
    // server's own words, such as "Port already in use", may have).
    const bool atOnce = connectedFor_.isValid() && connectedFor_.elapsed() < kClosedAtOnceMs && !tokenCame_;
    Close();
    closedAtOnce_ = atOnce;
    if (atOnce)
        failure_ = TLineFailure::ClosedByServer;
    emit HungUp(address_);
}
