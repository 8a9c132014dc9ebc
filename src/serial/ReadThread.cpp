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
                         const std::atomic<bool>& waitFullBuffer, IPortReceiver* receiver)
    : port_(port), receiver_(receiver), handle_(std::move(handle)), waitFullBuffer_(waitFullBuffer),
      Buffer(static_cast<size_t>(inBufSize)), gate_(std::make_shared<TDeliveryGate>()),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (receiver_)
        receiver_->Resume();
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
    {
        std::lock_guard lock(gate_->mutex);
        gate_->stopping = true;
    }
    gate_->changed.notify_all();
    if (receiver_)
        receiver_->Interrupt();
    Wake();
}

bool TReadThread::WaitUntilRunning() {
    std::unique_lock lock(stateMutex_);
    stateChanged_.wait(lock, [this] { return running_ || stop_; });
    return !stop_;
}

bool TReadThread::Deliver(const char* bytes, int count, quint32 errors) {
    if (receiver_) {
        receiver_->ChunkReceived(QByteArray(bytes, count), errors);
        std::lock_guard lock(gate_->mutex);
        return !gate_->stopping;
    }
    {
        std::lock_guard lock(gate_->mutex);
        if (gate_->stopping)
            return false;
        gate_->delivered = false;
    }
    // Posted rather than a blocking call, so that the thread can be stopped while it waits.
    TComPort* port = &port_;
    auto gate = gate_;
    const QByteArray chunk(bytes, count);
    QMetaObject::invokeMethod(
        port, [port, gate, chunk, errors] { port->DeliverData(gate, chunk, errors); }, Qt::QueuedConnection);
    std::unique_lock lock(gate_->mutex);
    gate_->changed.wait(lock, [this] { return gate_->delivered || gate_->stopping; });
    return !gate_->stopping;
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
        auto gate = gate_;
        QMetaObject::invokeMethod(
            port, [port, gate] { port->DeviceLost(gate); }, Qt::QueuedConnection);
    }
}
