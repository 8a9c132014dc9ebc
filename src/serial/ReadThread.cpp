#include "ReadThread.h"

#include "ComPort.h"
#include "PortDevice.h"
#include "PortReceiver.h"

#include <QMetaObject>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

TReadThread::TReadThread(TComPort& port, std::shared_ptr<TPortHandle> handle, int inBufSize,
                         const std::atomic<bool>& waitFullBuffer, IPortReceiver& receiver)
    : port_(port), receiver_(receiver), handle_(std::move(handle)), waitFullBuffer_(waitFullBuffer),
      Buffer(static_cast<size_t>(inBufSize)), stopping_(std::make_shared<std::atomic<bool>>(false)),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    receiver_.Resume();
    thread_ = std::thread([this] { Execute(); });
}

TReadThread::~TReadThread() {
    Stop();
    if (thread_.joinable())
        thread_.join();
    ::close(wakeFd_);
}

void TReadThread::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void TReadThread::Resume() {
    {
        std::lock_guard lock(stateMutex_);
        running_ = true;
    }
    stateChanged_.notify_all();
}

void TReadThread::Pause() {
    {
        std::lock_guard lock(stateMutex_);
        running_ = false;
    }
    Wake();
}

void TReadThread::Stop() {
    {
        std::lock_guard lock(stateMutex_);
        stop_ = true;
    }
    stateChanged_.notify_all();
    *stopping_ = true;
    receiver_.Interrupt();
    Wake();
}

bool TReadThread::WaitUntilRunning() {
    std::unique_lock lock(stateMutex_);
    stateChanged_.wait(lock, [this] { return running_ || stop_; });
    return !stop_;
}

bool TReadThread::Deliver(const char* bytes, int count, quint32 errors) {
    receiver_.ChunkReceived(QByteArray(bytes, count), errors);
    return !*stopping_;
}

void TReadThread::Execute() {
    const int size = static_cast<int>(Buffer.size());
    const int fd = handle_->Fd();
    PortDevice::ErrorCounters counters;
    int pending = 0;
    bool lost = false;

    while (!lost && WaitUntilRunning()) {
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
        const quint32 errors = PortDevice::TakeLineErrors(fd, counters);
        const ssize_t n = ::read(fd, Buffer.data() + pending, size_t(size - pending));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            lost = true; // end of file or EIO: the device hung up or was removed
            break;
        }
        if (n < 0)
            continue;
        pending += int(n);
        // With WaitFullBuffer the thread collects until it holds exactly InBufSize bytes.
        if (waitFullBuffer_.load() && pending < size)
            continue;
        const int count = pending;
        pending = 0;
        if (!Deliver(Buffer.data(), count, errors))
            break;
    }

    if (lost) {
        TComPort* port = &port_;
        auto stopping = stopping_;
        QMetaObject::invokeMethod(
            port,
            [port, stopping] {
                if (!*stopping) // the port was closed on purpose meanwhile
                    port->DeviceLost();
            },
            Qt::QueuedConnection);
    }
}
