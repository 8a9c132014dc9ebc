#pragma once

#include "session/Session.h"

#include <QObject>
#include <QUndoStack>

// The undo history of the command list: one step per operator action (a command added, a row
// removed or dragged, "Clear all", a load, a re-scale, a read-back taken over, the clears of the
// mode switch and of Direct Control). A step keeps the list as it was before and after the
// action; undo and redo put the one or the other back through the session. What the list holds
// in the simple control mode (the lists its buttons prepare) is not the operator's and is not
// recorded, so that an undo after returning to the extended mode brings back the list the mode
// switch cleared.
class TListHistory : public QObject {
    Q_OBJECT
public:
    // At most this many steps are kept, and at most about this much memory; the oldest go first.
    static constexpr int StepLimit = 100;
    static constexpr qint64 MemoryLimit = 64ll << 20;

    explicit TListHistory(TSession& session, QObject* parent = nullptr);

    // An action begins: the list as it is now is what an undo returns to. Actions may nest (a
    // button that adds three commands); the outermost one makes the step.
    void Begin();
    // The action ended: a step is kept when the list changed.
    void End();
    // Runs `action` as one step.
    template <typename Action> void Record(Action&& action) {
        const TScope scope(*this);
        action();
    }

    bool CanUndo() const { return stack_.canUndo(); }
    bool CanRedo() const { return stack_.canRedo(); }
    void Undo() { stack_.undo(); }
    void Redo() { stack_.redo(); }
    // The steps an undo can go back through.
    int Steps() const { return stack_.index(); }
    // About how much memory the steps hold beyond the list itself.
    qint64 MemoryBytes() const { return memory_; }
    // What a step from `before` to `after` holds that neither the other state nor the list
    // shares: its arrays, and the texts of `after` that `before` does not hold at their place.
    static qint64 StepBytes(const TSession::TListState& before, const TSession::TListState& after);

signals:
    // Whether an undo or a redo can be done changed.
    void Changed();

private:
    struct TScope {
        explicit TScope(TListHistory& history) : history_(history) { history_.Begin(); }
        ~TScope() { history_.End(); }
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;
        TListHistory& history_;
    };
    class TStep;
    // Drops the oldest steps until the rest fit the memory limit (the newest always stays).
    void DropOldestBeyondMemory();
    TSession& session_;
    qint64 memory_ = 0;
    QUndoStack stack_;
    int depth_ = 0;
    TSession::TListState before_;
};
