#pragma once

#include "core/SpoolFile.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// The operation log as work.log keeps it: every line of the session, the recent ones in memory
// (Keep), the older ones shed to a spool file on the disk as they fall out, so that memory stays
// bounded however long the session is and the file at the end still holds every line.
class TOperationLogLines {
public:
    static constexpr qsizetype DefaultKeep = 10000;

    explicit TOperationLogLines(const QString& spoolFolder) : spool_(spoolFolder) {}

    void Add(const QString& text, bool red);
    void SetKeep(qsizetype keep) { keep_ = std::max<qsizetype>(keep, 1); }

    struct TLine {
        QString text;
        bool red = false;
    };
    const std::deque<TLine>& Recent() const { return recent_; }
    // Lines shed to the disk so far.
    qint64 Shed() const { return shed_; }
    const TSpoolFile& Spool() const { return spool_; }
    // The numbers (ascending) of the red lines among those shed.
    const std::vector<qint64>& RedShed() const { return redShed_; }

private:
    std::deque<TLine> recent_;
    qsizetype keep_ = DefaultKeep;
    qint64 shed_ = 0;
    std::vector<qint64> redShed_;
    TSpoolFile spool_;
};
