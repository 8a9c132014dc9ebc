#include "ListHistory.h"

#include <QUndoCommand>

// A step of the history: the list before and after one action.
class TListHistory::TStep : public QUndoCommand {
public:
    TStep(TSession& session, TSession::TListState before, TSession::TListState after, bool done = false)
        : session_(session), before_(std::move(before)), after_(std::move(after)), done_(done),
          bytes_(StepBytes(before_, after_)) {}
    TStep* Copy() const { return new TStep(session_, before_, after_); }
    qint64 Bytes() const { return bytes_; }

    void undo() override { session_.RestoreList(before_); }
    void redo() override {
        // Pushed after the action itself has changed the list: the first redo has nothing to do.
        if (done_)
            session_.RestoreList(after_);
        done_ = true;
    }

private:
    TSession& session_;
    const TSession::TListState before_, after_;
    bool done_ = false;
    qint64 bytes_;
};

qint64 TListHistory::StepBytes(const TSession::TListState& before, const TSession::TListState& after) {
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

TListHistory::TListHistory(TSession& session, QObject* parent) : QObject(parent), session_(session) {
    stack_.setUndoLimit(StepLimit);
    connect(&stack_, &QUndoStack::canUndoChanged, this, &TListHistory::Changed);
    connect(&stack_, &QUndoStack::canRedoChanged, this, &TListHistory::Changed);
}

void TListHistory::Begin() {
    if (depth_++ == 0)
        before_ = session_.ListState();
}

void TListHistory::End() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    TSession::TListState after = session_.ListState();
    if (after == before_)
        return;
    stack_.push(new TStep(session_, std::exchange(before_, {}), std::move(after)));
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
