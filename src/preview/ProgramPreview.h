#pragma once

#include "MotionEffect.h"
#include "PreviewFindings.h"
#include "core/Settings.h"

#include <QPointF>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// A program seen before the motor runs it: the command list walked the way the controller runs
// it, window-free. Each LD n ... ED block is the program of channel n; lines outside a block are
// direct commands and are listed apart.
//
// How the walk reads the commands: DL and DR set the direction (forward counts up), RS reverses
// it; MV n moves n steps in the current direction at the speed of the last SD (steps per second;
// before any SD the controller's own speed, taken as ControllerSpeed); SP n pauses n ms; LL sets
// the label and JP n repeats the lines from the label n more times (JP 0 repeats nothing); LB
// records the lines that follow into the buffer, which SB n then runs n times; HM goes to the
// zero limit switch, position 0, from where positions are absolute (its travel is neither
// counted nor timed). MV without argument, ML and MH (until a signal) and WL and WH (waiting for
// an input) can't be known: the figures after them are open-ended. Before an HM positions count
// from where the program starts, taken as 0.
namespace Preview {

// A finding's kind as a stable word for scripts: "wrong-command", "leaves-travel", ...
const char* FindingKey(TFinding::Kind kind);

// One LD n ... ED block.
struct TProgram {
    int channel = 0;
    int firstLine = -1; // the LD
    int lastLine = -1;  // the ED (or the last line of a block without its end)
    bool ended = false; // ED found
    TMotionEffect motion;
    // Position against estimated time, from (0, 0); positions relative until an HM.
    std::vector<QPointF> path;
    bool pathCut = false;    // more points than MaxPathPoints, or a walk too long to draw
    int leavesTravelAt = -1; // the first line that leaves the channel's travel, if on
    qint64 leavesTravelTo = 0;
};

struct TListPreview {
    std::vector<TProgram> programs;
    std::vector<int> directLines;   // lines outside any block
    std::vector<TFinding> findings; // by line
    // The first program (in list order) whose walk leaves its channel's travel, if any.
    const TProgram* FirstLeavingTravel() const;
};

// The preview of a command list (list lines, in steps).
TListPreview PreviewList(const QStringList& lines, const TTravelLimits& travel = {});
// The motion of one program's lines (what lies between LD and ED), as the controller simulator
// runs a stored program.
TMotionEffect PreviewProgram(const QStringList& programLines);

} // namespace Preview
