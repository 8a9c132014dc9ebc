#pragma once

#include <QtGlobal>

#include <limits>

// What a stretch of a program does to the axis, whatever its length: the moves and steps it
// makes, the time it takes, and the positions it reaches, relative to where it starts until an
// HM and absolute (0 is the zero limit switch) from the first HM on. Two stretches run one after
// the other compose into one (Then), and a stretch repeated n times is composed by doubling
// (Repeated), so that a loop of 255 runs inside a buffer of 250 costs a few compositions, not
// 63,750 walks. Counts saturate far beyond anything a controller could run instead of
// overflowing.
struct TMotionEffect {
    qint64 moves = 0;
    qint64 stepsForward = 0;
    qint64 stepsBackward = 0;
    double pausesMs = 0;
    double seconds = 0; // moves at their speed plus pauses; acceleration is not counted

    // Positions before the first HM, relative to the start of the stretch (both include 0).
    qint64 relativeLow = 0;
    qint64 relativeHigh = 0;
    // Whether the stretch goes to the zero limit switch, and the positions from then on.
    bool homes = false;
    qint64 absoluteLow = 0;
    qint64 absoluteHigh = 0;
    // The position at the end: relative to the start, or absolute when the stretch homes.
    qint64 end = 0;

    // The first line (in the order it runs) from which the duration can't be known (an endless
    // move, a move or a wait until a signal), and the first from which the position can't.
    int openLine = -1;
    int positionUnknownLine = -1;
    // A move ran at the controller's own speed (before any SD), or an HM's travel was not timed.
    bool speedAssumed = false;
    bool homingNotTimed = false;

    // This stretch, then `next`.
    TMotionEffect Then(const TMotionEffect& next) const;
    // This stretch `times` times in a row (0: nothing at all).
    TMotionEffect Repeated(qint64 times) const;

    // Saturating arithmetic for counts and positions: beyond Ceiling a value stays at it.
    static qint64 Add(qint64 a, qint64 b);
    static qint64 Multiply(qint64 a, qint64 b);
    static constexpr qint64 Ceiling = std::numeric_limits<qint64>::max() / 4;
    // Whether a count or a position reached the ceiling (the figures are then that limit).
    bool Saturated() const;
};
