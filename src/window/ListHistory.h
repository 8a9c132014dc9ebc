#pragma once

#include "session/ProgramEditor.h"

#include <QObject>
#include <QUndoStack>

// The undo history of the command list: each step the editor takes (one operator action, or a
// clear of the program's that an undo may take back) is kept with the list before and after it;
// undo and redo put the one or the other back through the editor. The lists of the simple mode
// and the commands of Direct Control are no steps, so that an undo after returning to the
// extended mode brings back the list the mode switch cleared.
class TListHistory : public QObject {
    Q_OBJECT
public:
    // At most this many steps are kept, and at most about this much memory; the oldest go first.
    static constexpr int StepLimit = 100;
    static constexpr qint64 MemoryLimit = 64ll << 20;

    explicit TListHistory(TProgramEditor& editor, QObject* parent = nullptr);

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
    using TListState = TProgramEditor::TListState;
    static qint64 StepBytes(const TListState& before, const TListState& after);

signals:
    // Whether an undo or a redo can be done changed.
    void Changed();

private:
    class TStep;
    void Keep(const TListState& before, const TListState& after);
    // Drops the oldest steps until the rest fit the memory limit (the newest always stays).
    void DropOldestBeyondMemory();
    TProgramEditor& editor_;
    QUndoStack stack_;
    qint64 memory_ = 0;
};
