#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Every character the controller sent, as the reply list shows it: each '*' ends a line and the
// next character starts a new one, so that each token has its own line; the log starts with one
// empty line and is never emptied while the program runs (it is what port.log keeps). Adding a
// token costs the same at the millionth as at the first: the characters lie in one buffer, a
// character per received byte, with where each line starts.
class TReplyLog {
public:
    TReplyLog() : starts_{0} {}

    // Received bytes, one character each.
    void Append(const QByteArray& bytes);

    qsizetype Count() const { return qsizetype(starts_.size()); }
    QString Line(qsizetype index) const;
    // A line's bytes as they came (a character per byte).
    QByteArray LineBytes(qsizetype index) const;
    // The first `maxLength` characters of a line and whether it has more.
    QString LineStart(qsizetype index, qsizetype maxLength, bool* longer = nullptr) const;
    QStringList Lines() const;
    // The bytes the log holds, for the benchmarks of a long session.
    qsizetype MemoryBytes() const;

private:
    qsizetype End(qsizetype index) const;
    QByteArray text_;
    std::vector<qint64> starts_;
};
