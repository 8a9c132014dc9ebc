#include "Events.h"

#include <chrono>

TNamedEvent::TNamedEvent(QString name, bool initiallySignalled)
    : name_(std::move(name)), signalled_(initiallySignalled) {}

void TNamedEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_all();
}

void TNamedEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool TNamedEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

bool TNamedEvent::WaitFor(unsigned milliseconds, std::stop_token stop) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, stop, std::chrono::milliseconds(milliseconds),
                             [this] { return signalled_; });
}
