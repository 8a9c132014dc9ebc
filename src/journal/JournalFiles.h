#pragma once

#include "JournalRecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The run journal's files in one folder (the program folder's Data/journal): one file a month,
// journal-2026-12.jsonl, with further parts (journal-2026-12.2.jsonl, ...) when a month outgrows
// MaxFileBytes. Only files named so are ever read or removed; nothing else in the folder is
// touched, and a link is neither followed nor removed.
//
// Several processes (the window and kvtctl) may append at once: each record is one write of a
// whole line under an exclusive lock of the file (flock), onto a file opened for appending, so
// that no record is lost or cut into another. A crash loses at most the record being written; a
// torn last line is skipped on reading and closed by the next record's line end first.
//
// Bounded: at most MaxMonths months and MaxTotalBytes in all; the oldest files go first (never
// the one being written).
class TJournalFiles {
public:
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    static constexpr qint64 MaxTotalBytes = 64 * 1024 * 1024;
    static constexpr int MaxMonths = 24;

    explicit TJournalFiles(QString folder);

    const QString& Folder() const { return folder_; }
    // Appends the record to the file of its month; false (why in LastError) when it cannot.
    bool Append(const TJournalRecord& record);
    const QString& LastError() const { return lastError_; }

    // The journal's own files, oldest first.
    QStringList Files() const;
    // Every whole record of the files, oldest file first, from `since` on (an invalid time: all),
    // handed to `take` one by one; `take` returning false ends the reading. Lines that are no
    // whole record are skipped.
    void Read(const QDateTime& since, const std::function<bool(const TJournalRecord&)>& take) const;
    // Removes the oldest files beyond the bounds, never `keep`.
    void Prune(const QString& keep = {}) const;

private:
    // The file a record of `time` goes into: the month's last part, or a new part when it is full.
    QString FileFor(const QDateTime& time) const;

    QString folder_;
    QString lastError_;
};
