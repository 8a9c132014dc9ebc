#pragma once

#include "Line.h"

#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

class TReadLoop;
class TRfc2217;

// A line to a controller on the network: a TCP connection to a device server or ser2net, the
// bytes as they are (tcp://) or framed by Telnet with the line settings sent to the remote port
// (rfc2217://, see TNetworkAddress). As the serial port, it hands every received chunk to its
// receiver on its read loop, may be written from any thread, and tells a lost connection (the
// peer closed it or it broke) by HungUp, once closed.
//
// Opening may take long (a name to resolve, a connection to make, the COM port option to agree),
// so it is done by a dial task, which may run on any thread: the name is resolved within
// ResolveTimeoutMs (a silent name server is said so), the connection made within
// ConnectTimeoutMs, and over RFC 2217 the COM port option is waited for (two seconds at
// most) and the line settings are sent before any byte of the program's. Why it could not is
// LastFailure (with the errno in LastOpenError).
class TNetworkLine : public ILine {
    Q_OBJECT
public:
    static constexpr int ResolveTimeoutMs = 5000;
    static constexpr int ConnectTimeoutMs = 3000;

    explicit TNetworkLine(QObject* parent = nullptr);
    ~TNetworkLine() override;

    // What Open connects to (an address as TNetworkAddress reads it).
    void SetAddress(const QString& address) { address_ = address; }

    TDialTask DialTask() const override;
    void Open(std::shared_ptr<TLineDial> dialed = {}) override;
    void Close() override;
    bool Connected() const override { return connected_; }
    QString DeviceName() const override { return address_; }
    int LastOpenError() const override { return error_; }
    TLineFailure LastFailure() const override { return failure_; }
    void SetReceiver(IPortReceiver* receiver) override { receiver_ = receiver; }
    void EnableReading(bool on) override;
    void SetLine(const TLineChoice& line) override;
    // False when the line settings asked for could not reach the remote port (a server that
    // refused the COM port option, or did not answer it): its own apply.
    bool SettingsApplied() const override { return settingsApplied_; }
    // The last loss was the server turning the client away at once.
    bool ClosedAtOnce() const { return closedAtOnce_; }

    bool WriteText(const QString& text) override;
    bool WriteBytes(const QByteArray& bytes) override;

private:
    // Writes every byte to the socket within a time-out (the mutex held).
    bool SendAll(const char* bytes, size_t count);
    void SendLineSettings();
    void Lost();

    QString address_;
    IPortReceiver* receiver_ = nullptr;
    TLineChoice line_;
    std::atomic<bool> connected_{false};
    TLineFailure failure_ = TLineFailure::None;
    int error_ = 0;
    bool settingsApplied_ = true;
    bool closedAtOnce_ = false;
    std::atomic<bool> tokenCame_{false}; // a '*' came: a controller answered
    QElapsedTimer connectedFor_;

    // The socket, its writes and the Telnet state are the mutex's; the read loop takes it only
    // to decode what came, never while it hands data on.
    std::mutex mutex_;
    int socket_ = -1;
    bool writeFailed_ = false;
    std::unique_ptr<TRfc2217> telnet_; // rfc2217:// only
    std::unique_ptr<TReadLoop> loop_;
};
