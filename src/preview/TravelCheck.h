#pragma once

// The program preview's travel check: the first line whose move takes the channel beyond its
// travel.
#include "MotionWalk.h"
#include "core/Settings.h"

namespace Preview {

// Where a stretch would reach beyond `travel` when it starts at `position`; nullopt when it stays.
inline std::optional<qint64> Beyond(const TMotionEffect& e, qint64 position, const TTravelLimit& travel) {
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

} // namespace Preview
