#pragma once

// What the program preview finds, and the bounds of its walk (ProgramPreview.h tells how the
// walk reads the commands).
#include <QString>
#include <QtGlobal>

namespace Preview {

// The speed the estimate takes for moves before any SD, in steps per second.
constexpr double ControllerSpeed = 200;
// A travel limit this far out stands for none on its side (kvtctl's --max without --min).
constexpr qint64 Unbounded = 1'000'000'000'000'000;
// The plot of a program holds at most this many points; a longer one is cut short.
constexpr int MaxPathPoints = 20000;
// Repetitions nested deeper than this are left out of the walk (a finding): far beyond any real
// program, and a bound on the walk's depth whatever the list.
constexpr int MaxNesting = 100;

struct TFinding {
    enum Kind {
        WrongCommand,        // a line that is empty or no command of the vocabulary
        BadArgument,         // an argument that is no whole number in the command's range
        BlockWithoutEnd,     // LD with no ED after it
        EndWithoutBlock,     // ED with no LD before it
        JumpWithoutLabel,    // JP with no LL before it
        RepeatWithoutBuffer, // SB with no LB before it
        BufferNeverRun,      // LB with no SB after it: the buffer is recorded, never run
        ZeroRepetitions,     // JP 0 or SB 0
        MoveBeforeSpeed,     // a move before any SD of its program
        MoveBeforeDirection, // a move before any DL or DR of its program
        ChannelWrittenTwice, // a second block for a channel replaces the first
        NoBlock,             // a list of lines without any LD ... ED block
        LeavesTravel,        // the first line that would take the axis beyond its travel
        EmptyRepeat,         // JP or SB whose lines are none: it repeats nothing
        BeyondRange,         // a program whose figures reach the limit of what is counted
        NestedTooDeep,       // JP or SB nesting deeper than MaxNesting: left out of the walk
    };
    Kind kind;
    int line = -1;    // 0-based; -1 for the list as a whole
    int channel = 0;  // where it matters
    qint64 value = 0; // LeavesTravel: the position reached
    QString text;     // the line as listed
};

} // namespace Preview
