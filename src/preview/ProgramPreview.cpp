#include "ProgramPreview.h"

#include "MotionWalk.h"
#include "ProgramNodes.h"
#include "TravelCheck.h"

#include <algorithm>
#include <iterator>

namespace Preview {
namespace {

void Sort(std::vector<TFinding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const TFinding& a, const TFinding& b) { return a.line < b.line; });
}

} // namespace

const char* FindingKey(TFinding::Kind kind) {
    // In the order of TFinding::Kind.
    static const char* const keys[] = {
        "wrong-command",      "bad-argument",          "block-without-end",     "end-without-block",
        "jump-without-label", "repeat-without-buffer", "buffer-never-run",      "zero-repetitions",
        "move-before-speed",  "move-before-direction", "channel-written-twice", "no-block",
        "leaves-travel",      "empty-repeat",          "beyond-range",          "nested-too-deep"};
    static_assert(std::size(keys) == size_t(TFinding::NestedTooDeep) + 1);
    return size_t(kind) < std::size(keys) ? keys[size_t(kind)] : "unknown";
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
            ParseProgram(lines, parsed, findings, program.firstLine + 1, bodyEnd, &repeats);
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
        ParseProgram(programLines, parsed, findings, 0, int(programLines.size()) - 1, &repeats);
    TWalker walker(repeats);
    TState state;
    return walker.Sequence(nodes, state);
}

} // namespace Preview
