#include "ListHistory.h"

#include <QUndoCommand>

// A step of the history: the list before and after one action.
class TListHistory::TStep : public QUndoCommand {
public:
    TStep(TSession& session, TSession::TListState before, TSession::TListState after)
        : session_(session), before_(std::move(before)), after_(std::move(after)) {}

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
};

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
}
