#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Every character the controller sent, as the reply list shows it: each '*' ends a line and the
// next character starts a new one, so that each token has its own line; the log starts with one
// empty line and is never emptied while the program runs (it is what port.log keeps). Adding a
// token costs the same at the millionth as at the first: the characters lie in one buffer, a
// character per received byte, with where each line starts.
//
// It keeps the recent lines only (Keep lines, and KeepBytes bytes): when twice as many have come,
// the oldest are shed, in the form port.log holds them (each line's bytes and CR LF), to
// whoever takes them (SetShed), so that memory stays bounded however long the session is and
// whatever the line sends (a line that no '*' ends is shed in part, its beginning first). Line
// numbers count the lines kept.
class TReplyLog {
public:
    static constexpr qsizetype DefaultKeep = 200000;
    static constexpr qsizetype KeepBytes = 4 << 20;

    TReplyLog() : starts_{0}, times_{-1} {}

    // Received bytes, one character each.
    void Append(const QByteArray& bytes);
    // How many recent lines are kept, and who takes the lines shed (none: they are dropped).
    void SetShed(qsizetype keep, std::function<void(const QByteArray&)> shed);

    qsizetype Count() const { return qsizetype(starts_.size()); }
    // Lines shed so far: the line numbered 0 now is line Shed() of the whole session.
    qint64 Shed() const { return shed_; }
    QString Line(qsizetype index) const;
    // A line's bytes as they came (a character per byte).
    QByteArray LineBytes(qsizetype index) const;
    // The first `maxLength` characters of a line and whether it has more.
    QString LineStart(qsizetype index, qsizetype maxLength, bool* longer = nullptr) const;
    QStringList Lines() const;
    // The bytes the log holds.
    qsizetype MemoryBytes() const;

    // Whether the time each line began ("14:03:22.517 ") stands before it where the log is shown
    // and written (the list, port.log, the lines shed); the times are kept either way.
    void SetTimesShown(bool on) { timesShown_ = on; }
    bool TimesShown() const { return timesShown_; }
    // The time before a line as shown, or empty when times are not shown.
    QString Stamp(qsizetype index) const;

private:
    qsizetype End(qsizetype index) const;
    void ShedOldest();
    QByteArray text_;
    std::vector<qint64> starts_;
    std::vector<qint32> times_; // per line: ms since midnight of its first byte, -1 before it
    bool timesShown_ = false;
    qsizetype keep_ = DefaultKeep;
    std::function<void(const QByteArray&)> shedTo_;
    qint64 shed_ = 0;
    bool continued_ = false; // the first line kept began in what was shed (its time written)
};
