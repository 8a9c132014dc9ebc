#pragma once

#include <QByteArray>
#include <QString>

// Something that sends text to the controller: the serial port, or a stand-in in tests. May be
// called from any thread; true when every character was taken.
class ILineWriter {
public:
    virtual ~ILineWriter() = default;
    virtual bool WriteText(const QString& text) = 0;
    // Bytes as they go on the line (a character per byte), for a caller that encoded them before.
    virtual bool WriteBytes(const QByteArray& bytes) = 0;
};
