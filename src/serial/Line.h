#pragma once

#include "LineWriter.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class IPortReceiver;

// The line settings as indices into the serial port's tables: baud rate (TComPort::BaudRates),
// data bits (0..3 for 5..8), parity (0 none, 1 odd, 2 even, 3 mark, 4 space), stop bits (0 one,
// 1 one and a half, 2 two). The defaults are the program's fixed start: 9600 baud, 8 data bits,
// even parity, one stop bit.
struct TLineChoice {
    quint8 baudIndex = 6;
    quint8 dataBitsIndex = 3;
    quint8 parity = 2;
    quint8 stopBits = 0;
    bool operator==(const TLineChoice&) const = default;
};

// Why a line could not be opened, whatever carries it.
enum class TLineFailure {
    None,
    NoSuchDevice,
    PermissionDenied,
    Busy,
    NotSerial,
    BadAddress,
    NameNotFound,
    NameServerSilent, // the name server gave no answer in time
    Refused,
    Unreachable,
    TimedOut,
    ClosedByServer, // the server closed the connection at once: another client may hold the line
    Other           // LastOpenError() holds the errno
};

// What a line that opens slowly (a name resolved, a connection made, a negotiation) made on its
// way before it opens; the line takes it. Given up, it lets go of what it holds.
class TLineDial {
public:
    virtual ~TLineDial() = default;
};

// A line to the controller, whatever carries it: opened and closed on the main thread, written
// from any thread (ILineWriter), its received bytes handed to a receiver on the line's own read
// loop (TReadLoop), and a loss told by a signal. A serial device is one; a connection over the
// network another (TLines makes them), so that the session does not care which it talks through.
class ILine : public QObject, public ILineWriter {
    Q_OBJECT
public:
    using QObject::QObject;

    // What opening needs that may take long, as a task that may run on any thread and touches
    // nothing of the line's (the address and settings are copied when it is made); none for a
    // line that opens at once.
    using TDialTask = std::function<std::shared_ptr<TLineDial>(const std::atomic<bool>& cancelled)>;
    virtual TDialTask DialTask() const { return {}; }
    // Opens what DeviceName() names, with what the dial task made when there is one (a line
    // with a task dials here itself when given nothing). LastFailure() then says why it could
    // not (LastOpenError() the errno behind it).
    virtual void Open(std::shared_ptr<TLineDial> dialed = {}) = 0;
    virtual TLineFailure LastFailure() const = 0;
    virtual void Close() = 0;
    virtual bool Connected() const = 0;
    virtual QString DeviceName() const = 0;
    virtual int LastOpenError() const = 0;
    // Who takes the received bytes (not owned; set before the line opens).
    virtual void SetReceiver(IPortReceiver* receiver) = 0;
    // Reading starts once the receiver is ready for it.
    virtual void EnableReading(bool on) = 0;
    // Applied at once when open; a line that has no such settings keeps them for its far end.
    virtual void SetLine(const TLineChoice& line) = 0;
    // False when the settings asked for could not reach the device (its own apply).
    virtual bool SettingsApplied() const { return true; }

signals:
    // The open line hung up or its device was removed; it is already closed.
    void HungUp(const QString& device);
};
