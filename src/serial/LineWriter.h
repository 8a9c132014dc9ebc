#pragma once

#include <QString>

// Something that sends text to the controller: the serial port, or a stand-in in tests. May be
// called from any thread; true when every character was taken.
class ILineWriter {
public:
    virtual ~ILineWriter() = default;
    virtual bool WriteText(const QString& text) = 0;
};
