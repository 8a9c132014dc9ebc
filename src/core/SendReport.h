#pragma once

#include <QMetaType>
#include <QString>

// How a sending ended, where, and how far it went: what the sending thread reports and the rest
// of the program tells (Stopped: at once, by the program, as when the window closes or a
// communication error comes; StoppedByOperator: between two lines, at the operator's request;
// PortClosed: a line could not be written; LineLost: the device went with a line on its way).
struct TSendReport {
    enum class End {
        Completed,
        NoAnswer,
        CommandError,
        DataError,
        CommunicationError,
        PortClosed,
        Stopped,
        StoppedByOperator,
        LineLost // the line went away with a line on its way (written, not answered)
    };
    End end = End::Completed;
    int index =
        0; // 0-based: the line it ended at (the count when all were sent; the first not sent when stopped)
    QString line;  // that line
    int count = 0; // lines of the list
    int sent = 0;  // lines written
};

Q_DECLARE_METATYPE(TSendReport)
