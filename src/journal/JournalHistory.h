#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class TJournalFiles;

// The run journal as the history window shows it: the events of a span of time in a compact
// form (the time, the kind, the coordinate, who, and where the record lies, so that its fields
// are read only for the rows in view), each coordinate's intervals of recording, executing and
// pausing, and the marks (writes, verifies, stops, losses).
//
// Reading is fast and bounded: the time, kind, coordinate and who are taken from each line
// without building a JSON document (the journal writes its keys in a fixed order), a line that is
// not read so falls back to the JSON reader, and at most MaxEvents are kept (the newest).
class TJournalHistory {
public:
    static constexpr qsizetype MaxEvents = 2'000'000;

    enum class Kind : quint8 {
        Opened,
        Closed,
        Lost,
        Write,
        WriteEnd,
        Start,
        Pause,
        Resume,
        Stop,
        Complete,
        Error,
        Verify,
        Button,
        StopKey,
        Scale,
        Other
    };
    static Kind KindOf(const QString& name);
    static QString NameOf(Kind kind);

    struct TEvent {
        qint64 ms = 0;      // since the epoch
        quint32 offset = 0; // of its line in its file
        quint16 file = 0;
        Kind kind = Kind::Other;
        quint8 channel = 0;
        quint8 blocks = 0; // a write: the coordinates whose programs it writes (bit n for coordinate n)
        bool byKvtctl = false;
    };
    enum class State : quint8 { Recording, Executing, Paused };
    struct TInterval {
        qint64 fromMs = 0, toMs = 0; // toMs: the end, or the time of reading for one still open
        State state = State::Executing;
        bool operator==(const TInterval&) const = default;
    };

    explicit TJournalHistory(const TJournalFiles& files);

    // Reads the events from `since` on (invalid: all), as of `now`.
    void Load(const QDateTime& since, const QDateTime& now = QDateTime::currentDateTime());
    const std::vector<TEvent>& Events() const { return events_; }
    // Fewer than all events of the span were kept (MaxEvents).
    bool Truncated() const { return truncated_; }
    // Coordinate 1..3's intervals, in time order.
    const QList<TInterval>& Intervals(int channel) const { return intervals_[size_t(channel)]; }
    // The interval of `channel` that holds `ms`, or none (fromMs == toMs == 0).
    TInterval IntervalAt(int channel, qint64 ms) const;
    // The record of an event as it stands in its file (its fields, for a row in view).
    QByteArray Line(const TEvent& event) const;
    // The events as CSV (time, who, kind, coordinate, fields as JSON), those of `rows` only.
    QByteArray Csv(const std::vector<qsizetype>& rows) const;

private:
    void Take(const QByteArray& line, quint16 file, quint32 offset);
    void BuildIntervals(qint64 nowMs);

    const TJournalFiles& files_;
    QStringList names_;
    std::vector<TEvent> events_;
    bool truncated_ = false;
    std::array<QList<TInterval>, 4> intervals_;
};
