#include "ProgramPreview.h"

#include "protocol/UnitKVTComands.h"

#include <algorithm>
#include <unordered_map>

namespace Preview {
namespace {

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

// How deep a repeat around `nodes` would be.
int DepthAround(std::vector<TNode>::const_iterator first, std::vector<TNode>::const_iterator last) {
    int deepest = 0;
    for (auto it = first; it != last; ++it)
        deepest = std::max(deepest, it->depth);
    return deepest + 1;
}

struct TParsedLine {
    int code = K::Incorrect;
    std::optional<qint64> argument;
    bool argumentBad = false; // text after the code that is no whole number
};

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
            if (level.label < 0) {
                Find(TFinding::JumpWithoutLabel, i);
                return;
            }
            if (!ArgumentInRange(i, p))
                return;
            if (level.deepestFromLabel + 1 > MaxNesting) {
                Find(TFinding::NestedTooDeep, i);
                return;
            }
            if (*p.argument == 0)
                Find(TFinding::ZeroRepetitions, i);
            // The lines from the label run once more for each repetition; the label stays, so a
            // later JP repeats this loop with the rest.
            TNode loop = Repeat(i, *p.argument + 1);
            loop.repeats = *p.argument > 0;
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
            if (levels_.size() == 1) {
                Find(TFinding::RepeatWithoutBuffer, i);
                return;
            }
            if (!ArgumentInRange(i, p))
                return;
            if (level.deepest + 1 > MaxNesting) {
                Find(TFinding::NestedTooDeep, i);
                levels_.pop_back(); // the buffer is recorded, never run
                return;
            }
            if (*p.argument == 0)
                Find(TFinding::ZeroRepetitions, i);
            TNode buffer = Repeat(i, *p.argument);
            buffer.repeats = *p.argument > 0;
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

    TNode Repeat(int line, qint64 times) {
        TNode node;
        node.line = line;
        node.code = K::JP;
        node.repeat = true;
        node.times = times;
        node.id = (*nextId_)++;
        return node;
    }

    const QStringList& lines_;
    const std::vector<TParsedLine>& parsed_;
    std::vector<TFinding>& findings_;
    std::vector<TLevel> levels_;
    int* nextId_ = nullptr;
};

// Walks nodes into motion effects. A repeat is walked once for each state it is entered in: its
// runs are walked until their entry state comes round again (a run changes the state only by
// its SD and its direction commands, so that is after one or two runs), and the rest follows by
// composition.
class TWalker {
public:
    struct TRepeatMemory {
        TState in, out;
        TMotionEffect total;
        std::vector<TMotionEffect> runs; // the distinct runs, the first `preperiod` once
        std::vector<TState> runStates;   // the state each of them starts in
        std::vector<TState> runEnds;     // and ends in
        qint64 preperiod = 0, period = 1;
        // The run `n` (from 0) of the repeat.
        size_t RunIndex(qint64 n) const {
            return size_t(n < preperiod ? n : preperiod + (n - preperiod) % period);
        }
    };

    explicit TWalker(int repeatCount) : memory_(size_t(repeatCount)) {}

    TMotionEffect Sequence(const std::vector<TNode>& nodes, TState& state) {
        TMotionEffect e;
        for (const TNode& node : nodes)
            e = e.Then(Node(node, state));
        return e;
    }

    TMotionEffect Node(const TNode& node, TState& state) {
        if (!node.repeat)
            return Line(node, state);
        if (!node.hasLines)
            return {};
        const TRepeatMemory& m = Repeat(node, state);
        state = m.out;
        return m.total;
    }

    // The effect of one line, the state moved on.
    static TMotionEffect Line(const TNode& node, TState& state) {
        TMotionEffect e;
        switch (node.code) {
        case K::DL:
            state.direction = 1;
            break;
        case K::DR:
            state.direction = -1;
            break;
        case K::RS:
            state.direction = -state.direction;
            break;
        case K::SD:
            state.speed = double(*node.argument);
            state.speedSet = true;
            break;
        case K::SP:
            e.pausesMs = double(*node.argument);
            e.seconds = e.pausesMs / 1000.0;
            break;
        case K::MV:
            e.moves = 1;
            if (!node.argument) { // endless
                e.openLine = e.positionUnknownLine = node.line;
                break;
            }
            (state.direction > 0 ? e.stepsForward : e.stepsBackward) = *node.argument;
            e.end = state.direction * *node.argument;
            e.relativeLow = std::min<qint64>(0, e.end);
            e.relativeHigh = std::max<qint64>(0, e.end);
            e.seconds = double(*node.argument) / state.speed;
            e.speedAssumed = !state.speedSet;
            break;
        case K::ML:
        case K::MH:
            e.moves = 1;
            e.openLine = e.positionUnknownLine = node.line;
            break;
        case K::WL:
        case K::WH:
            e.openLine = node.line;
            break;
        case K::HM:
            e.homes = true;
            e.homingNotTimed = true;
            break;
        default:
            break;
        }
        return e;
    }

    const TRepeatMemory& Repeat(const TNode& node, const TState& in) {
        auto& remembered = memory_[size_t(node.id)];
        for (const TRepeatMemory& m : remembered) {
            if (m.in == in)
                return m;
        }
        TRepeatMemory m;
        m.in = in;
        TState state = in;
        // Runs until a state comes round again (or every run, for a short repeat).
        for (qint64 n = 0; n < node.times; ++n) {
            const auto seen = std::find(m.runStates.begin(), m.runStates.end(), state);
            if (seen != m.runStates.end()) {
                m.preperiod = seen - m.runStates.begin();
                m.period = qint64(m.runStates.size()) - m.preperiod;
                break;
            }
            m.runStates.push_back(state);
            m.runs.push_back(Sequence(node.body, state));
            m.runEnds.push_back(state);
            m.preperiod = qint64(m.runs.size());
        }
        // The runs before the cycle, whole cycles, then the start of one more.
        const qint64 runs = std::min<qint64>(node.times, qint64(m.runs.size()));
        for (qint64 n = 0; n < std::min(m.preperiod, runs); ++n)
            m.total = m.total.Then(m.runs[size_t(n)]);
        if (node.times > m.preperiod) {
            TMotionEffect cycle;
            for (qint64 n = 0; n < m.period; ++n)
                cycle = cycle.Then(m.runs[size_t(m.preperiod + n)]);
            const qint64 left = node.times - m.preperiod;
            m.total = m.total.Then(cycle.Repeated(left / m.period));
            for (qint64 n = 0; n < left % m.period; ++n)
                m.total = m.total.Then(m.runs[size_t(m.preperiod + n)]);
        }
        m.out = node.times > 0 ? m.runEnds[m.RunIndex(node.times - 1)] : in;
        remembered.push_back(std::move(m));
        return remembered.back();
    }

private:
    std::vector<std::vector<TRepeatMemory>> memory_;
};

// Where a stretch would reach beyond `travel` when it starts at `position`; nullopt when it stays.
std::optional<qint64> Beyond(const TMotionEffect& e, qint64 position, const TTravelLimit& travel) {
    const qint64 low = TMotionEffect::Add(position, e.relativeLow);
    const qint64 high = TMotionEffect::Add(position, e.relativeHigh);
    if (low < travel.low)
        return low;
    if (high > travel.high)
        return high;
    if (e.homes && e.absoluteLow < travel.low)
        return e.absoluteLow;
    if (e.homes && e.absoluteHigh > travel.high)
        return e.absoluteHigh;
    return std::nullopt;
}

// Looks for the first line whose move leaves the travel, descending only into the run of a
// repeat that does.
class TTravelWalk {
public:
    TTravelWalk(TWalker& walker, const TTravelLimit& travel) : walker_(walker), travel_(travel) {}

    // False when the walk ended (a line found, or a position that can't be known).
    bool Walk(const std::vector<TNode>& nodes, TState& state) {
        for (const TNode& node : nodes) {
            if (!Step(node, state))
                return false;
        }
        return true;
    }

    int line = -1;
    qint64 reached = 0;

private:
    bool Step(const TNode& node, TState& state) {
        if (node.repeat && !node.hasLines)
            return true;
        if (!node.repeat) {
            const TMotionEffect e = TWalker::Line(node, state);
            if (e.positionUnknownLine >= 0)
                return false;
            if (const auto beyond = Beyond(e, position_, travel_)) {
                line = node.line;
                reached = *beyond;
                return false;
            }
            Advance(e);
            return true;
        }
        const TWalker::TRepeatMemory& m = walker_.Repeat(node, state);
        const TMotionEffect& whole = m.total;
        if (whole.positionUnknownLine < 0 && !Beyond(whole, position_, travel_)) {
            Advance(whole);
            state = m.out;
            return true;
        }
        for (qint64 n = 0; n < node.times; ++n) {
            const size_t run = m.RunIndex(n);
            const TMotionEffect& e = m.runs[run];
            if (e.positionUnknownLine >= 0 || Beyond(e, position_, travel_)) {
                TState runState = m.runStates[run];
                Walk(node.body, runState);
                return false;
            }
            Advance(e);
        }
        state = m.out;
        return true;
    }

    void Advance(const TMotionEffect& e) {
        position_ = e.homes ? e.end : TMotionEffect::Add(position_, e.end);
    }

    TWalker& walker_;
    TTravelLimit travel_;
    qint64 position_ = 0;
};

// The plot: every line unrolled, until the points or the walk's length run out.
class TPathWalk {
public:
    explicit TPathWalk(std::vector<QPointF>& path) : path_(path) { path_.push_back({0, 0}); }

    bool Walk(const std::vector<TNode>& nodes, TState& state) {
        for (const TNode& node : nodes) {
            // Every line and every run of a repeat is a step of the walk, which has an end.
            if (++visits_ > kMaxVisits) {
                cut = true;
                return false;
            }
            if (node.repeat) {
                for (qint64 n = 0; node.hasLines && n < node.times; ++n) {
                    if (!Walk(node.body, state))
                        return false;
                }
                continue;
            }
            const TMotionEffect e = TWalker::Line(node, state);
            if (e.openLine >= 0)
                return false; // the rest can't be drawn
            if (e.homes) {
                position_ = 0;
            } else if (e.end == 0 && e.seconds == 0) {
                continue;
            }
            position_ = TMotionEffect::Add(position_, e.end);
            seconds_ += e.seconds;
            if (qsizetype(path_.size()) >= MaxPathPoints) {
                cut = true;
                return false;
            }
            path_.push_back({seconds_, double(position_)});
        }
        return true;
    }

    bool cut = false;

private:
    static constexpr qint64 kMaxVisits = 1'000'000;
    std::vector<QPointF>& path_;
    double seconds_ = 0;
    qint64 position_ = 0;
    qint64 visits_ = 0;
};

void Sort(std::vector<TFinding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const TFinding& a, const TFinding& b) { return a.line < b.line; });
}

} // namespace

const char* FindingKey(TFinding::Kind kind) {
    switch (kind) {
    case TFinding::WrongCommand:
        return "wrong-command";
    case TFinding::BadArgument:
        return "bad-argument";
    case TFinding::BlockWithoutEnd:
        return "block-without-end";
    case TFinding::EndWithoutBlock:
        return "end-without-block";
    case TFinding::JumpWithoutLabel:
        return "jump-without-label";
    case TFinding::RepeatWithoutBuffer:
        return "repeat-without-buffer";
    case TFinding::BufferNeverRun:
        return "buffer-never-run";
    case TFinding::ZeroRepetitions:
        return "zero-repetitions";
    case TFinding::MoveBeforeSpeed:
        return "move-before-speed";
    case TFinding::MoveBeforeDirection:
        return "move-before-direction";
    case TFinding::ChannelWrittenTwice:
        return "channel-written-twice";
    case TFinding::NoBlock:
        return "no-block";
    case TFinding::LeavesTravel:
        return "leaves-travel";
    case TFinding::EmptyRepeat:
        return "empty-repeat";
    case TFinding::BeyondRange:
        return "beyond-range";
    case TFinding::NestedTooDeep:
        return "nested-too-deep";
    }
    return "unknown";
}

const TProgram* TListPreview::FirstLeavingTravel() const {
    const TProgram* first = nullptr;
    for (const TProgram& p : programs) {
        if (p.leavesTravelAt >= 0 && (!first || p.leavesTravelAt < first->leavesTravelAt))
            first = &p;
    }
    return first;
}

TListPreview PreviewList(const QStringList& lines, const TTravelLimits& travel) {
    TListPreview preview;
    auto& findings = preview.findings;
    const auto find = [&](TFinding::Kind kind, int line, int channel = 0) {
        findings.push_back({kind, line, channel, 0, lines.value(line)});
    };

    // The blocks, the direct lines, and the list's own check.
    std::array<bool, 4> written{};
    std::optional<TProgram> open;
    const auto close = [&](int lastLine, bool ended) {
        open->lastLine = lastLine;
        open->ended = ended;
        if (!ended)
            find(TFinding::BlockWithoutEnd, open->firstLine, open->channel);
        preview.programs.push_back(*open);
        open.reset();
    };
    // Each line is read once, for the blocks here and for the walks below.
    std::vector<TParsedLine> parsed(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        parsed[size_t(i)] = ParseLine(lines[i]);
    for (int i = 0; i < lines.size(); ++i) {
        const TParsedLine& p = parsed[size_t(i)];
        if (p.code == K::Incorrect) {
            find(TFinding::WrongCommand, i);
        } else if (p.argumentBad) {
            find(TFinding::BadArgument, i);
        } else if (p.code == K::LD) {
            if (open)
                close(i - 1, false);
            if (!p.argument || *p.argument < 1 || *p.argument > 3) {
                find(TFinding::BadArgument, i);
                preview.directLines.push_back(i);
                continue;
            }
            const int channel = int(*p.argument);
            if (written[size_t(channel)])
                find(TFinding::ChannelWrittenTwice, i, channel);
            written[size_t(channel)] = true;
            open = TProgram{};
            open->channel = channel;
            open->firstLine = i;
            continue;
        } else if (p.code == K::ED) {
            if (open)
                close(i, true);
            else
                find(TFinding::EndWithoutBlock, i);
            continue;
        }
        if (!open)
            preview.directLines.push_back(i);
    }
    if (open)
        close(int(lines.size()) - 1, false);
    if (preview.programs.empty() && !lines.isEmpty())
        find(TFinding::NoBlock, -1);

    // Each program walked: its figures, its plot, where it leaves its travel.
    for (TProgram& program : preview.programs) {
        int repeats = 0;
        const int bodyEnd = program.ended ? program.lastLine - 1 : program.lastLine;
        const std::vector<TNode> nodes =
            TProgramParser(lines, parsed, findings).Parse(program.firstLine + 1, bodyEnd, &repeats);
        TWalker walker(repeats);
        TState state;
        program.motion = walker.Sequence(nodes, state);
        if (program.motion.Saturated())
            findings.push_back({TFinding::BeyondRange, program.firstLine, program.channel, 0,
                                lines.value(program.firstLine)});
        TState pathState;
        TPathWalk path(program.path);
        path.Walk(nodes, pathState);
        program.pathCut = path.cut;
        const TTravelLimit& limits = travel[size_t(program.channel)];
        if (limits.on) {
            TTravelWalk check(walker, limits);
            TState travelState;
            check.Walk(nodes, travelState);
            if (check.line >= 0) {
                program.leavesTravelAt = check.line;
                program.leavesTravelTo = check.reached;
                findings.push_back({TFinding::LeavesTravel, check.line, program.channel, check.reached,
                                    lines.value(check.line)});
            }
        }
    }
    Sort(findings);
    return preview;
}

TMotionEffect PreviewProgram(const QStringList& programLines) {
    std::vector<TFinding> findings;
    std::vector<TParsedLine> parsed;
    for (const QString& line : programLines)
        parsed.push_back(ParseLine(line));
    int repeats = 0;
    const std::vector<TNode> nodes =
        TProgramParser(programLines, parsed, findings).Parse(0, int(programLines.size()) - 1, &repeats);
    TWalker walker(repeats);
    TState state;
    return walker.Sequence(nodes, state);
}

} // namespace Preview
