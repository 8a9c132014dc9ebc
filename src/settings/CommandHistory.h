#pragma once

#include <QString>
#include <QStringList>

// The lines typed on the command line, oldest first, kept across starts in Data/command-history.txt
// (UTF-8, one line each). At most MaxEntries: the oldest go first; a line typed again moves to
// the end rather than standing twice in a row.
class TCommandHistory {
public:
    static constexpr int MaxEntries = 200;
    static constexpr int MaxLineLength = 200;
    static constexpr qint64 MaxBytes = 64 * 1024;

    explicit TCommandHistory(QString fileName) : fileName_(std::move(fileName)) {}

    QString FileName() const { return fileName_; }
    // Reads the file; false when it is there but damaged (too large, not text): the history
    // then starts empty and the file is left as it is until it is written.
    bool Load();
    void Add(const QString& line);
    // A line was added since the load: only then is there something to write.
    bool Changed() const { return changed_; }
    const QStringList& Entries() const { return entries_; }
    // Writes the file atomically (creating Data when missing); throws EFileError.
    void Write() const;

private:
    QString fileName_;
    QStringList entries_;
    bool changed_ = false;
};
