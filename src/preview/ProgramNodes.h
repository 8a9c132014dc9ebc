#pragma once

// The program preview's own parts (ProgramPreview.cpp puts them together): a program read into
// nodes, its lines and its repeats (LL ... JP, LB ... SB) nested as the controller runs them.
#include "MotionEffect.h"
#include "PreviewFindings.h"
#include "protocol/UnitKVTComands.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace Preview {

using K = TKVTCommands;

// The walk's state between lines: where the moves go and how fast.
struct TState {
    int direction = 1;
    double speed = ControllerSpeed;
    bool speedSet = false;
    bool operator==(const TState&) const = default;
};

// A program as the controller runs it: lines, and repeats (LL ... JP, LB ... SB) holding theirs.
struct TNode {
    int line = -1; // a repeat: its JP or SB
    int code = K::Incorrect;
    std::optional<qint64> argument;
    bool repeat = false;
    qint64 times = 1; // a repeat's runs in all
    std::vector<TNode> body;
    int id = -1;           // a repeat's place in the walker's memory
    bool hasLines = false; // a repeat whose body holds a line at some depth (else it is no work)
    int depth = 0;         // a repeat: 1 + the deepest repeat of its body
    bool repeats = false;  // a repeat whose count is not 0 (a count of 0 is a finding of its own)
};

struct TParsedLine {
    int code = K::Incorrect;
    std::optional<qint64> argument;
    bool argumentBad = false; // text after the code that is no whole number
};

// A line's code and argument, read once.
TParsedLine ParseLine(const QString& line);

// The body of a program, lines first..last (inclusive), as nodes, with the findings of its
// structure; `repeats` counts the repeats (each has its id).
std::vector<TNode> ParseProgram(const QStringList& lines, const std::vector<TParsedLine>& parsed,
                                std::vector<TFinding>& findings, int first, int last, int* repeats);

} // namespace Preview
