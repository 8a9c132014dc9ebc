#pragma once

#include <QString>

// The operation log under the main window: events worth the operator's attention, errors in red.
class IOperationLog {
public:
    virtual ~IOperationLog() = default;
    virtual void AddLogLine(const QString& text, bool red = false) = 0;
};
