#include "Simulator.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>

namespace kvtsim {

Simulator::Simulator(Options options) : options_(options), model_(options.timeScale) {}

Simulator::~Simulator() {
    Stop();
}

bool Simulator::Start(const std::string& linkPath, std::string* error) {
    auto fail = [&](const char* what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        CloseLine();
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return fail("unlockpt");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0)
        return fail("ptsname");
    slavePath_ = name;
    slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeeper_ < 0)
        return fail("open slave");
    termios tio{};
    tcgetattr(slaveKeeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slaveKeeper_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        return fail("eventfd");
    if (!linkPath.empty()) {
        std::error_code ec;
        // The per-user program folder is not there before the program's first start: the
        // folders the link needs are made.
        const std::filesystem::path folder = std::filesystem::path(linkPath).parent_path();
        if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
            std::filesystem::create_directories(folder, ec);
            if (ec) {
                errno = ec.value();
                return fail(("the folder " + folder.string() + " cannot be made").c_str());
            }
        }
        std::filesystem::remove(linkPath, ec);
        std::filesystem::create_symlink(slavePath_, linkPath, ec);
        if (ec) {
            errno = ec.value();
            return fail("symlink");
        }
        linkPath_ = linkPath;
    }
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

bool Simulator::Listen(const std::string& host, int port, std::string* error) {
    auto fail = [&](const char* what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        if (listen_ >= 0)
            ::close(listen_);
        listen_ = -1;
        return false;
    };
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        errno = EINVAL;
        return fail("address");
    }
    listen_ = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int one = 1;
    if (listen_ >= 0)
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const bool bound = listen_ >= 0 && ::bind(listen_, found->ai_addr, found->ai_addrlen) == 0;
    ::freeaddrinfo(found);
    if (!bound || ::listen(listen_, 4) != 0)
        return fail("listen");
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
    listenPort_ = ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                                      : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        return fail("eventfd");
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void Simulator::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    Wake();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    CloseLine();
    if (listen_ >= 0) {
        ::close(listen_);
        listen_ = -1;
    }
    if (wake_ >= 0) {
        ::close(wake_);
        wake_ = -1;
    }
    if (!linkPath_.empty()) {
        std::error_code ec;
        std::filesystem::remove(linkPath_, ec);
        linkPath_.clear();
    }
}

void Simulator::CloseLine() {
    if (master_ >= 0)
        ::close(master_);
    if (slaveKeeper_ >= 0)
        ::close(slaveKeeper_);
    master_ = slaveKeeper_ = -1;
}

void Simulator::Wake() {
    if (wake_ < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

unsigned Simulator::TerminalSpeed() const {
    std::lock_guard lock(mutex_);
    termios tio{};
    return master_ >= 0 && listen_ < 0 && tcgetattr(master_, &tio) == 0 ? unsigned(cfgetospeed(&tio)) : 0;
}

unsigned Simulator::TerminalControlFlags() const {
    std::lock_guard lock(mutex_);
    termios tio{};
    return master_ >= 0 && listen_ < 0 && tcgetattr(master_, &tio) == 0 ? unsigned(tio.c_cflag) : 0;
}

void Simulator::SetOptions(const Options& options) {
    std::lock_guard lock(mutex_);
    options_ = options;
    model_.SetTimeScale(options.timeScale);
}

Options Simulator::GetOptions() const {
    std::lock_guard lock(mutex_);
    return options_;
}

void Simulator::HangUp() {
    std::lock_guard lock(mutex_);
    CloseLine();
    outbox_.clear();
    Wake();
}

void Simulator::SendRaw(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    Schedule(Clock::now(), bytes);
    Wake();
}

std::vector<std::string> Simulator::Commands() const {
    std::lock_guard lock(mutex_);
    return model_.Commands();
}

bool Simulator::WaitForCommands(size_t count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return commandArrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return model_.Commands().size() >= count; });
}

std::vector<std::string> Simulator::Program(int channel) const {
    std::lock_guard lock(mutex_);
    return model_.Program(channel);
}

void Simulator::SetProgram(int channel, std::vector<std::string> program) {
    std::lock_guard lock(mutex_);
    model_.SetProgram(channel, std::move(program));
}

bool Simulator::Running(int channel) const {
    std::lock_guard lock(mutex_);
    return model_.Running(channel);
}

std::string Simulator::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

// Called with the mutex held. Outputs never overtake one another: each starts after the last
// one scheduled.
void Simulator::Schedule(Clock::time_point due, const std::string& bytes) {
    if (bytes.empty())
        return;
    due = std::max(due, lastDue_);
    if (options_.splitBytes) {
        // Apart, so that the reader sees them as separate chunks.
        const std::chrono::microseconds gap(options_.splitGapUs);
        for (size_t i = 0; i < bytes.size(); ++i)
            outbox_.emplace(due + gap * i, std::string(1, bytes[i]));
        lastDue_ = due + gap * bytes.size();
    } else {
        outbox_.emplace(due, bytes);
        lastDue_ = due;
    }
}

// Called with the mutex held.
void Simulator::Answer(const std::vector<std::string>& replies, int commandNumber, Clock::time_point now) {
    if (options_.silent || (options_.silentFrom > 0 && commandNumber >= options_.silentFrom) ||
        replies.empty())
        return;
    const Clock::time_point due = now + std::chrono::milliseconds(options_.replyDelayMs);
    std::vector<std::string> pieces = replies;
    if (commandNumber > 0 && options_.commErrorEvery > 0 && commandNumber % options_.commErrorEvery == 0)
        pieces = {replies.front(), "E15*"};
    else if (commandNumber > 0 && options_.commErrorAlongEvery > 0 &&
             commandNumber % options_.commErrorAlongEvery == 0)
        pieces.insert(pieces.begin() + 1, "E15*");
    ++answers_;
    if (options_.garbageEvery > 0 && answers_ % options_.garbageEvery == 0)
        pieces.insert(pieces.begin(), std::string("\x00\xff#~\r\n", 6));
    if (options_.joinReplies || options_.splitBytes || options_.statusGapUs <= 0) {
        std::string joined;
        for (const std::string& p : pieces)
            joined += p;
        Schedule(due, joined);
    } else {
        // Consecutive writes a little apart, as a real controller's echo and status are.
        int i = 0;
        for (const std::string& p : pieces)
            Schedule(due + std::chrono::microseconds(options_.statusGapUs * i++), p);
    }
}

// Called with the mutex held.
void Simulator::WriteDue(Clock::time_point now) {
    while (!outbox_.empty() && outbox_.begin()->first <= now && master_ >= 0) {
        std::string& bytes = outbox_.begin()->second;
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EAGAIN) {
                outputBlocked_ = true; // the terminal is full; poll says when it takes more
                return;
            }
            outbox_.erase(outbox_.begin());
            continue;
        }
        if (size_t(n) < bytes.size()) {
            bytes.erase(0, size_t(n));
            outputBlocked_ = true;
            return;
        }
        outbox_.erase(outbox_.begin());
    }
}

void Simulator::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        for (const std::string& report : model_.Due(now))
            Answer({report}, 0, now);
        WriteDue(now);

        // Sleeps until a byte comes, an answer or a program step is due, or the terminal takes
        // output it refused; never spins while an answer waits for its time.
        std::optional<Clock::time_point> next = model_.NextDeadline();
        if (!outputBlocked_ && !outbox_.empty() && (!next || outbox_.begin()->first < *next))
            next = outbox_.begin()->first;
        timespec timeout{};
        timespec* wait = nullptr;
        if (next) {
            const auto ns = std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::nanoseconds>(*next - Clock::now()).count());
            timeout.tv_sec = time_t(ns / 1000000000);
            timeout.tv_nsec = long(ns % 1000000000);
            wait = &timeout;
        }
        const bool blocked = outputBlocked_ && !outbox_.empty();
        pollfd fds[2] = {{wake_, POLLIN, 0}, {master_, short(POLLIN | (blocked ? POLLOUT : 0)), 0}};
        int count = master_ >= 0 ? 2 : 1;
        // Listening and no client: the second place waits for one.
        const bool accepting = listen_ >= 0 && master_ < 0;
        if (accepting) {
            fds[1] = {listen_, POLLIN, 0};
            count = 2;
        }
        lock.unlock();
        ::ppoll(fds, nfds_t(count), wait, nullptr);
        lock.lock();
        if (accepting) {
            if (fds[1].revents & POLLIN) {
                master_ = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                const int one = 1;
                if (master_ >= 0)
                    ::setsockopt(master_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                outputBlocked_ = false;
            }
            if (fds[0].revents & POLLIN) {
                uint64_t value;
                [[maybe_unused]] const ssize_t n = ::read(wake_, &value, sizeof value);
            }
            continue;
        }
        if (count == 2 && (fds[1].revents & POLLOUT))
            outputBlocked_ = false;
        if (fds[0].revents & POLLIN) {
            uint64_t value;
            [[maybe_unused]] const ssize_t n = ::read(wake_, &value, sizeof value);
        }
        if (count == 2 && master_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n == 0 && listen_ >= 0) {
                // The client went: the next one is let in; what was due for it is dropped.
                CloseLine();
                outbox_.clear();
            }
            if (n > 0) {
                const std::string bytes(buffer, size_t(n));
                received_ += bytes;
                const size_t before = model_.Commands().size();
                const auto answers = model_.Receive(bytes, Clock::now());
                const size_t after = model_.Commands().size();
                if (after > before)
                    commandArrived_.notify_all();
                for (size_t i = 0; i < answers.size(); ++i)
                    Answer(answers[i], int(before + i + 1), Clock::now());
                if (options_.hangUpAfter > 0 && int(after) >= options_.hangUpAfter) {
                    CloseLine();
                    outbox_.clear();
                }
            }
        }
    }
}

} // namespace kvtsim
