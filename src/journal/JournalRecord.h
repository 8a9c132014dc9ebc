#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

// One event of the run journal: when, who did it (the window or kvtctl), what kind, which
// coordinate (0: none, or the controller as a whole), and the kind's own fields. On disk it is
// one JSON object a line (JSON Lines):
//
//   {"time":"2026-12-09T14:05:03.120+01:00","who":"window","kind":"write","channel":0,...}
//
// The kinds: opened, closed, lost (a port or address: "device"); write (a list sent: "lines",
// "file", "blocks" with each coordinate's "channel", "lines" and "fingerprint"); write-end (its
// "outcome": completed, stopped or error, "line" 1-based, "code" the controller's answer);
// start, pause, resume, stop, complete, error (a coordinate, as heard from the controller);
// verify (a program read back and compared: "verdict" match or differs, "line" the first
// difference); button ("name"); stop-key; scale ("scale", "unit").
struct TJournalRecord {
    QDateTime time;
    QString who;
    QString kind;
    int channel = 0;
    QJsonObject fields; // the kind's own

    // The record as one line of JSON, without its line end.
    QByteArray ToLine() const;
    // A line read back; none for a line that is not a whole record (torn by a crash, or not ours).
    static std::optional<TJournalRecord> FromLine(const QByteArray& line);
};

// A short fingerprint of a program's lines, so that "the same program" can be told later: the
// first 12 hexadecimal digits of the SHA-256 of the lines joined by line feeds.
QString Fingerprint(const QStringList& lines);
