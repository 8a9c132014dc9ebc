#pragma once

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class IPortReceiver;

// The one read loop of every line (a serial device, a connection over the network): a thread
// that sleeps in poll() on the line's descriptor and a wake-up descriptor, reads what came, turns
// it into the controller's bytes (the line's own decoding: Telnet's framing, or none) and hands
// each chunk to the receiver on this thread, one at a time and in order. It starts paused;
// Resume lets it read. Stop() interrupts a receiver that waits, so that the line can always stop
// and join it. A descriptor that hangs up (end of file, an error) ends the loop, which tells
// `lost` once on the main thread, unless the line was stopped meanwhile.
class TReadLoop {
public:
    struct TSource {
        int fd = -1;
        int bufferSize = 4096;
        // With it set, the loop collects exactly bufferSize bytes before it hands them on.
        const std::atomic<bool>* waitFull = nullptr;
        // The line's error flags before each read (a serial port's counters), or none.
        std::function<quint32()> lineErrors;
        // The controller's bytes in what was read (none: the bytes as they are).
        std::function<QByteArray(const char* bytes, qsizetype count)> decode;
        // Bytes the line read before the loop began (a negotiation's), handed on first.
        QByteArray early;
    };

    // `lost` runs on the main thread, through `context`'s event loop.
    TReadLoop(TSource source, IPortReceiver& receiver, QObject* context, std::function<void()> lost);
    ~TReadLoop(); // Stop() and join
    TReadLoop(const TReadLoop&) = delete;
    TReadLoop& operator=(const TReadLoop&) = delete;

    // Delivers what arrives while on; off, nothing more until it is on again.
    void SetRunning(bool on);
    // Ends the loop at the next opportunity; a loss not yet told is dropped.
    void Stop();

private:
    void Execute();
    bool WaitUntilRunning();
    // Hands `bytes` on; false once the loop was stopped.
    bool Deliver(const QByteArray& bytes, quint32 errors);
    void Wake();

    TSource source_;
    IPortReceiver& receiver_;
    QObject* context_;
    std::function<void()> lost_;
    std::vector<char> buffer_;

    // Set by Stop: a loss told meanwhile is no loss (shared with the posted report).
    std::shared_ptr<std::atomic<bool>> stopping_;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool running_ = false;
    bool stop_ = false;
    int wakeFd_;
    std::thread thread_;
};
