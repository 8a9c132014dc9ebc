#pragma once

#include <QMetaType>
#include <QString>

class TLang;

// How a sending ended: where, and why (Stopped: at once, by the program; StoppedByOperator:
// between two lines, at the operator's request).
struct TSendReport {
    enum class End {
        Completed,
        NoAnswer,
        CommandError,
        DataError,
        CommunicationError,
        PortClosed,
        Stopped,
        StoppedByOperator
    };
    End end = End::Completed;
    int index =
        0; // 0-based: the line it ended at (the count when all were sent; the first not sent when stopped)
    QString line;  // that line
    int count = 0; // lines of the list
    int sent = 0;  // lines written
};

// What a channel reports of its program, as the replies are read (a completion after a pause's
// echo is no completion).
enum class TChannelReport { Completed, Paused, ExecutionError, Resumed };

// The words the operation log has for a sending's end: how far it went, and why.
QString SendSummary(const TSendReport& report, const TLang& lang);

Q_DECLARE_METATYPE(TSendReport)
