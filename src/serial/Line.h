#pragma once

#include "LineWriter.h"

#include <QObject>
#include <QString>

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

// A line to the controller, whatever carries it: opened and closed on the main thread, written
// from any thread (ILineWriter), its received bytes handed to a receiver on the line's own read
// thread, and a loss told by a signal. The serial port is one; a line over the network can be
// another, so that the session does not care which it talks through.
class ILine : public QObject, public ILineWriter {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens what DeviceName() names; LastOpenError() then says why it could not be (an errno,
    // 0 after a successful open).
    virtual void Open() = 0;
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

signals:
    // The open line hung up or its device was removed; it is already closed.
    void HungUp(const QString& device);
};
