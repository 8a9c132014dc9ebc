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

// The read thread of an open port. It sleeps in poll() until characters arrive, reads at most
// InBufSize of them (or, with WaitFullBuffer, collects exactly InBufSize) and hands the chunk to
// the port's receiver on this thread, one chunk at a time and in order. Stop() interrupts a
// receiver that waits, so the port can always stop and join the thread. A device that hangs up
// ends the thread, which reports it once to the port on the main thread.
class TReadThread {
public:
    TReadThread(TComPort& port, std::shared_ptr<TPortHandle> handle, int inBufSize,
                const std::atomic<bool>& waitFullBuffer, IPortReceiver& receiver);
    ~TReadThread(); // Stop() and join
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    // The thread starts paused; Resume lets it read, Pause makes it deliver nothing more.
    void Resume();
    void Pause();
    // Ends the thread at the next opportunity; a loss of the device not yet reported is dropped.
    void Stop();

private:
    void Execute();
    bool WaitUntilRunning();
    bool Deliver(const char* bytes, int count, quint32 errors);
    void Wake();

    TComPort& port_;
    IPortReceiver& receiver_;
    std::shared_ptr<TPortHandle> handle_;
    const std::atomic<bool>& waitFullBuffer_;
    std::vector<char> Buffer;

    // Set by Stop: a loss reported meanwhile is no loss (shared with the posted report).
    std::shared_ptr<std::atomic<bool>> stopping_;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool running_ = false;
    bool stop_ = false;
    int wakeFd_;
    std::thread thread_;
};
