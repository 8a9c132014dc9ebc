#include "ScriptedController.h"

#include <QFile>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

ScriptedController::~ScriptedController() {
    Stop();
}

bool ScriptedController::Start(const QString& linkPath, Script script) {
    Stop();
    script_ = std::move(script);
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[128];
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0)
        return false;
    keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(keeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keeper_, TCSANOW, &tio);
    QFile::remove(linkPath);
    if (!QFile::link(QString::fromLocal8Bit(name), linkPath))
        return false;
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void ScriptedController::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    if (wake_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_, &one, sizeof one);
    }
    if (thread_.joinable())
        thread_.join();
    for (int* fd : {&master_, &keeper_, &wake_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    std::lock_guard lock(mutex_);
    outbox_.clear();
    pending_.clear();
}

void ScriptedController::HangUp() {
    Stop();
}

void ScriptedController::Send(const std::string& bytes) {
    {
        std::lock_guard lock(mutex_);
        outbox_.emplace(Clock::now(), bytes);
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_, &one, sizeof one);
}

std::vector<std::string> ScriptedController::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

bool ScriptedController::WaitForCommands(size_t count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return commands_.size() >= count; });
}

void ScriptedController::Run() {
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            const auto now = Clock::now();
            while (!outbox_.empty() && outbox_.begin()->first <= now) {
                const std::string& bytes = outbox_.begin()->second;
                [[maybe_unused]] ssize_t n = ::write(master_, bytes.data(), bytes.size());
                outbox_.erase(outbox_.begin());
            }
            if (!outbox_.empty())
                timeout =
                    int(std::chrono::duration_cast<std::chrono::milliseconds>(outbox_.begin()->first - now)
                            .count()) +
                    1;
        }
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, timeout) <= 0)
            continue;
        if (fds[1].revents) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(wake_, &count, sizeof count);
        }
        if (!(fds[0].revents & POLLIN))
            continue;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        std::lock_guard lock(mutex_);
        pending_.append(buffer, size_t(n));
        for (size_t star = pending_.find('*'); star != std::string::npos; star = pending_.find('*')) {
            const std::string command = pending_.substr(0, star);
            pending_.erase(0, star + 1);
            commands_.push_back(command);
            const auto now = Clock::now();
            for (const TReply& reply : script_(command, int(commands_.size())))
                outbox_.emplace(now + std::chrono::milliseconds(reply.delayMs), reply.bytes);
        }
        arrived_.notify_all();
    }
}
