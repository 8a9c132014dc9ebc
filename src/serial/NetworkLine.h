#pragma once

#include "Line.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class TRfc2217;

// A line to a controller on the network: a TCP connection to a device server or ser2net, the
// bytes as they are (tcp://) or framed by Telnet with the line settings sent to the remote port
// (rfc2217://, see TNetworkAddress). As the serial port, it hands every received chunk to its
// receiver on its own read thread, may be written from any thread, and tells a lost connection
// (the peer closed it or it broke) by HungUp, once closed.
//
// Open resolves the name and connects within ConnectTimeoutMs; why it could not is LastFailure
// (with the errno in LastOpenError).
class TNetworkLine : public ILine {
    Q_OBJECT
public:
    enum class Failure { None, BadAddress, NameNotFound, Refused, Unreachable, TimedOut, Other };
    static constexpr int ConnectTimeoutMs = 3000;

    explicit TNetworkLine(QObject* parent = nullptr);
    ~TNetworkLine() override;

    // What Open connects to (an address as TNetworkAddress reads it).
    void SetAddress(const QString& address) { address_ = address; }

    void Open() override;
    void Close() override;
    bool Connected() const override { return connected_; }
    QString DeviceName() const override { return address_; }
    int LastOpenError() const override { return error_; }
    Failure LastFailure() const { return failure_; }
    void SetReceiver(IPortReceiver* receiver) override { receiver_ = receiver; }
    void EnableReading(bool on) override;
    void SetLine(const TLineChoice& line) override;

    bool WriteText(const QString& text) override;
    bool WriteBytes(const QByteArray& bytes) override;

private:
    // Connects a socket to the address: the socket, or -1 with failure_ and error_ set.
    int Connect();
    void Execute();
    // Writes every byte to the socket within a time-out (the mutex held).
    bool SendAll(const char* bytes, size_t count);
    void SendLineSettings();
    void Lost();

    QString address_;
    IPortReceiver* receiver_ = nullptr;
    TLineChoice line_;
    std::atomic<bool> connected_{false};
    Failure failure_ = Failure::None;
    int error_ = 0;

    // The socket, its writes and the Telnet state are the mutex's; the read thread takes it only
    // to decode what came, never while it hands data on.
    std::mutex mutex_;
    int socket_ = -1;
    bool writeFailed_ = false;
    std::unique_ptr<TRfc2217> telnet_; // rfc2217:// only

    int wakeFd_ = -1;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool reading_ = false, stop_ = false;
    std::shared_ptr<std::atomic<bool>> closing_;
    std::thread thread_;
};
