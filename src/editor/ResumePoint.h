#pragma once

#include <QList>
#include <QStringList>

// Where a sending that stopped before its end goes on, so that the controller gets neither more
// nor less than it needs: a program is written into a coordinate whole, LD n ... ED, so a stop
// that fell inside such a block starts again at its LD; a stop outside any block goes on from the
// first line that was not answered. "Send from the selected row" follows the same rule.
struct TResumePoint {
    int from = 0;            // 0-based, the first line to send
    int count = 0;           // lines from there to the end of the list
    bool blockStart = false; // `from` is the LD of the block the stop fell inside
    QList<int> channels;     // the coordinates those lines write (LD n) or start, pause (ST n, PS n)
};

// The point for a list whose line `firstUnanswered` (0-based) was the first not answered; none
// (count 0) when that is beyond the list.
TResumePoint ResumePointOf(const QStringList& lines, int firstUnanswered);
