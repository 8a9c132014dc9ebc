#pragma once

// The program preview's walk: nodes turned into motion effects, a repeat's runs composed into
// its whole; and the plot's walk, every line unrolled.
#include "ProgramNodes.h"

#include <QPointF>

namespace Preview {

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

} // namespace Preview
