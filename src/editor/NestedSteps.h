#pragma once

#include <functional>
#include <utility>

// Operations within operations make one step: each operation holds a TNestedSteps::TStep while
// it works; the outermost one takes the state before it and, at its end, hands the states before
// and after on (with whose step it was) when they differ. Steps are taken on one thread.
template <class TState> class TNestedSteps {
public:
    using TSnapshot = std::function<TState()>;
    using TTaken = std::function<void(const TState& before, const TState& after, int whose)>;

    TNestedSteps(TSnapshot snapshot, TTaken taken)
        : snapshot_(std::move(snapshot)), taken_(std::move(taken)) {}

    class TStep {
    public:
        TStep(TNestedSteps& steps, int whose) : steps_(steps), whose_(whose) {
            if (steps_.depth_++ == 0)
                before_ = steps_.snapshot_();
        }
        ~TStep() {
            if (--steps_.depth_ > 0)
                return;
            const TState after = steps_.snapshot_();
            if (!(after == before_))
                steps_.taken_(before_, after, whose_);
        }
        TStep(const TStep&) = delete;
        TStep& operator=(const TStep&) = delete;

    private:
        TNestedSteps& steps_;
        int whose_;
        TState before_{};
    };

private:
    TSnapshot snapshot_;
    TTaken taken_;
    int depth_ = 0;
};
