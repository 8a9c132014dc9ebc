#include "ProgramNodes.h"

#include <algorithm>

namespace Preview {
namespace {

// How deep a repeat around `nodes` would be.
int DepthAround(std::vector<TNode>::const_iterator first, std::vector<TNode>::const_iterator last) {
    int deepest = 0;
    for (auto it = first; it != last; ++it)
        deepest = std::max(deepest, it->depth);
    return deepest + 1;
}

bool IsMove(int code) {
    return code == K::MV || code == K::ML || code == K::MH;
}

// The arguments the controller takes, in steps, for the commands that have one. A line beyond
// them is refused by the controller (an incorrect data answer), so the walk leaves it out.
struct TRange {
    qint64 low, high;
};
std::optional<TRange> StepRange(int code) {
    switch (code) {
    case K::MV:
        return TRange{1, 10'000'000};
    case K::SD:
        return TRange{1, 10'000};
    case K::SS:
        return TRange{0, 2'000};
    case K::AL:
        return TRange{-1'000, 1'000};
    case K::SP:
        return TRange{1, 99'999'999};
    case K::JP:
        return TRange{0, 255};
    case K::SB:
        return TRange{0, 250}; // 0 is a finding of its own
    case K::ST:
    case K::PS:
        return TRange{1, 3};
    case K::SF:
    case K::CF:
    case K::WL:
    case K::WH:
    case K::ML:
    case K::MH:
        return TRange{1, 4};
    default:
        return std::nullopt;
    }
}

// Turns the lines of one program into nodes, with the findings of its structure.
class TProgramParser {
public:
    TProgramParser(const QStringList& lines, const std::vector<TParsedLine>& parsed,
                   std::vector<TFinding>& findings)
        : lines_(lines), parsed_(parsed), findings_(findings) {}

    // Lines first..last (inclusive) are the program's body.
    std::vector<TNode> Parse(int first, int last, int* nextId) {
        nextId_ = nextId;
        levels_.clear();
        levels_.push_back({});
        bool speedSet = false, directionSet = false, speedTold = false, directionTold = false;
        for (int i = first; i <= last; ++i) {
            const TParsedLine& p = parsed_[size_t(i)];
            if (p.code == K::Incorrect || p.argumentBad)
                continue; // told by the list's own check
            if (IsMove(p.code)) {
                if (!speedSet && !speedTold) {
                    Find(TFinding::MoveBeforeSpeed, i);
                    speedTold = true;
                }
                if (!directionSet && !directionTold) {
                    Find(TFinding::MoveBeforeDirection, i);
                    directionTold = true;
                }
            }
            speedSet = speedSet || p.code == K::SD;
            directionSet = directionSet || p.code == K::DL || p.code == K::DR;
            Take(i, p);
        }
        // A buffer never repeated is recorded, not run.
        while (levels_.size() > 1) {
            Find(TFinding::BufferNeverRun, levels_.back().openedBy);
            levels_.pop_back();
        }
        return std::move(levels_.back().nodes);
    }

private:
    struct TLevel {
        std::vector<TNode> nodes;
        int label = -1;    // where LL stands among the nodes
        int openedBy = -1; // the LB line
        // The deepest repeat among the nodes, and among those from the label on: kept as nodes
        // come, so that a refusal of a repeat too deep costs nothing, however long the level.
        int deepest = 0, deepestFromLabel = 0;
        void Add(TNode node) {
            deepest = std::max(deepest, node.depth);
            deepestFromLabel = std::max(deepestFromLabel, node.depth);
            nodes.push_back(std::move(node));
        }
    };

    void Find(TFinding::Kind kind, int line) { findings_.push_back({kind, line, 0, 0, lines_.value(line)}); }

    // A line whose argument the controller takes; else a finding, and the line is left out.
    bool ArgumentInRange(int line, const TParsedLine& p) {
        const auto range = StepRange(p.code);
        if (!range || (!p.argument && (p.code == K::MV || p.code == K::ML || p.code == K::MH)))
            return true; // no argument needed (MV without one moves without end)
        if (p.argument && *p.argument >= range->low && *p.argument <= range->high)
            return true;
        Find(TFinding::BadArgument, line);
        return false;
    }

    // Whether a JP or SB repeats: it needs its start (`started`: an LL, an LB before it), an
    // argument in range, and room within MaxNesting (`depth`: the deepest repeat it would hold).
    // A count of 0 is told, and taken.
    enum TRepeatCheck { Taken, Refused, TooDeep };
    TRepeatCheck CheckRepeat(int line, const TParsedLine& p, bool started, TFinding::Kind noStart,
                             int depth) {
        if (!started) {
            Find(noStart, line);
            return Refused;
        }
        if (!ArgumentInRange(line, p))
            return Refused;
        if (depth + 1 > MaxNesting) {
            Find(TFinding::NestedTooDeep, line);
            return TooDeep;
        }
        if (*p.argument == 0)
            Find(TFinding::ZeroRepetitions, line);
        return Taken;
    }

    void Take(int i, const TParsedLine& p) {
        TLevel& level = levels_.back();
        if (p.code != K::JP && p.code != K::SB && !ArgumentInRange(i, p))
            return;
        switch (p.code) {
        case K::LL:
            level.label = int(level.nodes.size());
            level.deepestFromLabel = 0;
            return;
        case K::JP: {
            if (CheckRepeat(i, p, level.label >= 0, TFinding::JumpWithoutLabel, level.deepestFromLabel) !=
                Taken)
                return;
            // The lines from the label run once more for each repetition; the label stays, so a
            // later JP repeats this loop with the rest.
            TNode loop = Repeat(i, *p.argument + 1, *p.argument > 0);
            loop.body.assign(std::make_move_iterator(level.nodes.begin() + level.label),
                             std::make_move_iterator(level.nodes.end()));
            level.nodes.resize(size_t(level.label));
            Close(loop);
            level.deepestFromLabel = 0;
            level.Add(std::move(loop));
            return;
        }
        case K::LB:
            levels_.push_back({{}, -1, i});
            return;
        case K::SB: {
            const TRepeatCheck check =
                CheckRepeat(i, p, levels_.size() > 1, TFinding::RepeatWithoutBuffer, level.deepest);
            if (check == TooDeep)
                levels_.pop_back(); // the buffer is recorded, never run
            if (check != Taken)
                return;
            TNode buffer = Repeat(i, *p.argument, *p.argument > 0);
            buffer.body = std::move(level.nodes);
            Close(buffer);
            levels_.pop_back();
            levels_.back().Add(std::move(buffer));
            return;
        }
        default:
            break;
        }
        TNode line;
        line.line = i;
        line.code = p.code;
        line.argument = p.argument;
        level.Add(std::move(line));
    }

    // A repeat whose lines are none (at any depth) repeats nothing: a finding, and no work for
    // the walks, however many times it would run.
    void Close(TNode& repeat) {
        repeat.depth = DepthAround(repeat.body.begin(), repeat.body.end());
        repeat.hasLines = std::any_of(repeat.body.begin(), repeat.body.end(),
                                      [](const TNode& n) { return !n.repeat || n.hasLines; });
        if (!repeat.hasLines && repeat.repeats)
            Find(TFinding::EmptyRepeat, repeat.line);
    }

    TNode Repeat(int line, qint64 times, bool repeats) {
        TNode node;
        node.line = line;
        node.code = K::JP;
        node.repeat = true;
        node.times = times;
        node.repeats = repeats;
        node.id = (*nextId_)++;
        return node;
    }

    const QStringList& lines_;
    const std::vector<TParsedLine>& parsed_;
    std::vector<TFinding>& findings_;
    std::vector<TLevel> levels_;
    int* nextId_ = nullptr;
};

} // namespace

TParsedLine ParseLine(const QString& line) {
    TParsedLine p;
    p.code = K::CommandIndex(line);
    const QStringView rest = QStringView(line).mid(std::min<qsizetype>(2, line.size()));
    if (!rest.isEmpty()) {
        bool ok = false;
        const qint64 value = rest.toLongLong(&ok);
        if (ok)
            p.argument = value;
        else
            p.argumentBad = true;
    }
    return p;
}

std::vector<TNode> ParseProgram(const QStringList& lines, const std::vector<TParsedLine>& parsed,
                                std::vector<TFinding>& findings, int first, int last, int* repeats) {
    return TProgramParser(lines, parsed, findings).Parse(first, last, repeats);
}

} // namespace Preview
