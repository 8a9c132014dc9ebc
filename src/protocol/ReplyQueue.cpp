#include "ReplyQueue.h"

#include <algorithm>

bool TReplyQueue::WaitForRoom() {
    std::unique_lock lock(mutex_);
    drained_.wait(lock, [&] { return (items_.size() < MaxItems && bytes_ < MaxBytes) || interrupted_; });
    return !interrupted_;
}

bool TReplyQueue::Push(std::vector<TItem>& items) {
    std::lock_guard lock(mutex_);
    const bool wasEmpty = items_.empty();
    for (TItem& item : items) {
        bytes_ += Cost(item);
        items_.push_back(std::move(item));
    }
    return wasEmpty;
}

std::vector<TReplyQueue::TItem> TReplyQueue::Take(size_t count, quint64 throughChunk) {
    std::vector<TItem> taken;
    {
        std::lock_guard lock(mutex_);
        const size_t n = std::min(count, items_.size());
        taken.reserve(n);
        while (taken.size() < n && items_.front().chunk <= throughChunk) {
            bytes_ -= Cost(items_.front());
            taken.push_back(std::move(items_.front()));
            items_.pop_front();
        }
    }
    drained_.notify_all();
    return taken;
}

void TReplyQueue::DropThrough(quint64 lastChunk) {
    {
        std::lock_guard lock(mutex_);
        while (!items_.empty() && items_.front().chunk <= lastChunk) {
            bytes_ -= Cost(items_.front());
            items_.pop_front();
        }
    }
    drained_.notify_all();
}

bool TReplyQueue::HasItems() const {
    std::lock_guard lock(mutex_);
    return !items_.empty();
}

qsizetype TReplyQueue::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

void TReplyQueue::Interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    drained_.notify_all();
}

void TReplyQueue::Resume() {
    std::lock_guard lock(mutex_);
    interrupted_ = false;
}
