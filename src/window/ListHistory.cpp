#include "ListHistory.h"

#include <QUndoCommand>

// A step of the history: the list before and after one action.
class TListHistory::TStep : public QUndoCommand {
public:
    TStep(TProgramEditor& editor, TListState before, TListState after)
        : editor_(editor), before_(std::move(before)), after_(std::move(after)),
          bytes_(StepBytes(before_, after_)) {}
    TStep* Copy() const { return new TStep(editor_, before_, after_); }
    qint64 Bytes() const { return bytes_; }

    void undo() override { editor_.Restore(before_); }
    void redo() override {
        // Pushed after the action itself has changed the list: the first redo has nothing to do.
        if (done_)
            editor_.Restore(after_);
        done_ = true;
    }

private:
    TProgramEditor& editor_;
    const TListState before_, after_;
    bool done_ = false;
    qint64 bytes_;
};

qint64 TListHistory::StepBytes(const TListState& before, const TListState& after) {
    const auto texts = [](const QStringList& own, const QStringList& other) {
        qint64 bytes = qint64(own.size()) * qint64(sizeof(QString));
        for (qsizetype i = 0; i < own.size(); ++i) {
            if (i >= other.size() || own[i].constData() != other[i].constData())
                bytes += qint64(own[i].size()) * 2 + 24;
        }
        return bytes;
    };
    return texts(after.lines, before.lines) + texts(after.descriptions, before.descriptions) +
           qint64(before.lines.size() + before.descriptions.size()) * qint64(sizeof(QString));
}

TListHistory::TListHistory(TProgramEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    stack_.setUndoLimit(StepLimit);
    connect(&stack_, &QUndoStack::canUndoChanged, this, &TListHistory::Changed);
    connect(&stack_, &QUndoStack::canRedoChanged, this, &TListHistory::Changed);
    connect(&editor_, &TProgramEditor::StepTaken, this, &TListHistory::Keep);
}

void TListHistory::Keep(const TListState& before, const TListState& after) {
    stack_.push(new TStep(editor_, before, after));
    // The steps the stack holds now (it drops the oldest beyond its count, and what could be
    // redone before this push).
    memory_ = 0;
    for (int i = 0; i < stack_.count(); ++i)
        memory_ += static_cast<const TStep*>(stack_.command(i))->Bytes();
    DropOldestBeyondMemory();
}

void TListHistory::DropOldestBeyondMemory() {
    // A push leaves no step to redo, so the steps kept can be made again as they were.
    if (memory_ <= MemoryLimit || stack_.count() <= 1 || stack_.index() != stack_.count())
        return;
    std::vector<const TStep*> steps;
    for (int i = 0; i < stack_.count(); ++i)
        steps.push_back(static_cast<const TStep*>(stack_.command(i)));
    size_t first = 0;
    while (memory_ > MemoryLimit && first + 1 < steps.size())
        memory_ -= steps[first++]->Bytes();
    std::vector<TStep*> kept;
    for (size_t i = first; i < steps.size(); ++i)
        kept.push_back(steps[i]->Copy());
    stack_.clear();
    for (TStep* step : kept)
        stack_.push(step); // done already: its first redo changes nothing
}
