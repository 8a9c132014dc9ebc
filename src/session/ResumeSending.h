#pragma once

#include "editor/ResumePoint.h"

#include <QObject>
#include <QStringList>

#include <optional>

class TLang;
class TProgramEditor;
class TSending;
struct TSendReport;

// Resume where a sending of the command list stopped, and "Send from the selected row": the
// rest of the list goes out from the point ResumePointOf gives (a program stopped inside its
// LD ... ED again from its LD, else the first line not answered). It remembers the last list
// that stopped before its end and where, counting from the list's first line also when what
// stopped was itself a resumed part; a resume is offered only while the list is still that list.
// Nothing is sent without the operator's word: the window asks Question first.
class TResumeSending : public QObject {
    Q_OBJECT
public:
    TResumeSending(TProgramEditor& editor, TSending& sending, const TLang& lang);

    // Where the last stopped sending of the list as it is now goes on; none when there is none.
    std::optional<TResumePoint> Resumable() const;
    // Its first line not answered (0-based), which Resumable goes on from or before.
    int FirstUnanswered() const { return firstUnanswered_; }
    // The point for a sending from row `row` (0-based) of the list.
    TResumePoint FromRow(int row) const;
    // What the operator is asked before the point is sent: the range, the coordinates, and why it
    // starts earlier than `asked` (0-based) when it does.
    QString Question(const TResumePoint& point, int asked) const;
    // Sends the list from the point (the file it belongs to named for the journal); false when a
    // sending runs or the point is empty.
    bool Send(const TResumePoint& point, const QString& file = {});

signals:
    // A resume became possible or went (after a sending ended, or the list changed).
    void ResumableChanged();

private:
    void Ended(const TSendReport& report);

    TProgramEditor& editor_;
    TSending& sending_;
    const TLang& lang_;
    QStringList stopped_;      // the whole list of the last sending that stopped before its end
    int firstUnanswered_ = -1; // its first line not answered, 0-based
    QStringList whole_;        // the whole list of the sending under way, and where it began in it
    int base_ = 0;
    bool ours_ = false; // the sending under way is a resume or a sending from a row
};
