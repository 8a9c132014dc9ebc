#pragma once

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class IPortReceiver;
class TComPort;
class TPortHandle;

// What a read thread and the main thread share about one delivery at a time: the thread hands a
// chunk over and waits until the main thread has handled it, or until the port stops it.
struct TDeliveryGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool delivered = false;
    bool stopping = false;
};

// The read thread of an open port. It sleeps in poll() until characters arrive, reads at most
// InBufSize of them (or, with WaitFullBuffer, collects exactly InBufSize), hands the chunk to the
// main thread and waits until the port's OnRead receivers have run, so chunks are handled one at a time and
// in order. It never blocks inside a call into the main thread: it waits on a gate that Stop()
// opens, so the port can always stop and join it. A device that hangs up ends the thread, which
// reports it once to the port. With a receiver, each chunk goes to it on this thread instead, and
// Stop() interrupts it.
class TReadThread {
public:
    TReadThread(TComPort& port, std::shared_ptr<TPortHandle> handle, int inBufSize,
                const std::atomic<bool>& waitFullBuffer, IPortReceiver* receiver = nullptr);
    ~TReadThread(); // Stop() and join
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    // The thread starts paused; Resume lets it read, Pause makes it deliver nothing more.
    void Resume();
    void Pause();
    // Ends the thread at the next opportunity; any delivery already posted is dropped.
    void Stop();

private:
    void Execute();
    bool WaitUntilRunning();
    bool Deliver(const char* bytes, int count, quint32 errors);
    void Wake();

    TComPort& port_;
    IPortReceiver* receiver_;
    std::shared_ptr<TPortHandle> handle_;
    const std::atomic<bool>& waitFullBuffer_;
    std::vector<char> Buffer;

    std::shared_ptr<TDeliveryGate> gate_;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool running_ = false;
    bool stop_ = false;
    int wakeFd_;
    std::thread thread_;
};
