#include "ReadLoop.h"

#include "PortReceiver.h"

#include <QMetaObject>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

TReadLoop::TReadLoop(TSource source, IPortReceiver& receiver, QObject* context, std::function<void()> lost)
    : source_(std::move(source)), receiver_(receiver), context_(context), lost_(std::move(lost)),
      buffer_(size_t(std::max(1, source_.bufferSize))), stopping_(std::make_shared<std::atomic<bool>>(false)),
      wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    receiver_.Resume();
    thread_ = std::thread([this] { Execute(); });
}

TReadLoop::~TReadLoop() {
    Stop();
    if (thread_.joinable())
        thread_.join();
    ::close(wakeFd_);
}

void TReadLoop::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void TReadLoop::SetRunning(bool on) {
    {
        std::lock_guard lock(stateMutex_);
        running_ = on;
    }
    if (on)
        stateChanged_.notify_all();
    else
        Wake(); // out of its poll, to see that it is to wait
}

void TReadLoop::Stop() {
    {
        std::lock_guard lock(stateMutex_);
        stop_ = true;
    }
    stateChanged_.notify_all();
    *stopping_ = true;
    receiver_.Interrupt();
    Wake();
}

bool TReadLoop::WaitUntilRunning() {
    std::unique_lock lock(stateMutex_);
    stateChanged_.wait(lock, [this] { return running_ || stop_; });
    return !stop_;
}

bool TReadLoop::Deliver(const QByteArray& bytes, quint32 errors) {
    if (!bytes.isEmpty())
        receiver_.ChunkReceived(bytes, errors);
    return !*stopping_;
}

void TReadLoop::Execute() {
    const int size = int(buffer_.size());
    const int fd = source_.fd;
    int pending = 0;
    bool lost = false;
    bool earlyGiven = source_.early.isEmpty();

    while (!lost && WaitUntilRunning()) {
        if (!earlyGiven) {
            earlyGiven = true;
            if (!Deliver(source_.early, 0))
                break;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            lost = true;
            break;
        }
        if (fds[1].revents != 0) {
            uint64_t count;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
            continue; // stop or pause: look at the state again
        }
        const short events = fds[0].revents;
        if (events & POLLNVAL) {
            lost = true;
            break;
        }
        if (!(events & POLLIN)) {
            if (events & (POLLHUP | POLLERR))
                lost = true;
            continue;
        }
        const quint32 errors = source_.lineErrors ? source_.lineErrors() : 0;
        const ssize_t n = ::read(fd, buffer_.data() + pending, size_t(size - pending));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            lost = true; // end of file or an error: the device hung up, or the peer went
            break;
        }
        if (n < 0)
            continue;
        pending += int(n);
        // With waitFull the loop collects until it holds exactly the buffer's size.
        if (source_.waitFull && source_.waitFull->load() && pending < size)
            continue;
        const int count = pending;
        pending = 0;
        const QByteArray bytes =
            source_.decode ? source_.decode(buffer_.data(), count) : QByteArray(buffer_.data(), count);
        if (!Deliver(bytes, errors))
            break;
    }

    if (lost) {
        auto stopping = stopping_;
        auto tell = lost_;
        QMetaObject::invokeMethod(
            context_,
            [stopping, tell] {
                if (!*stopping) // the line was closed on purpose meanwhile
                    tell();
            },
            Qt::QueuedConnection);
    }
}
