#include "Events.h"

#include <chrono>

TNamedEvent::TNamedEvent(QString name, bool initiallySignalled)
    : name_(std::move(name)), signalled_(initiallySignalled) {}

void TNamedEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
        ++generation_;
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

quint64 TNamedEvent::Generation() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

bool TNamedEvent::WaitForSetAfter(quint64 generation, std::chrono::steady_clock::time_point deadline,
                                  std::stop_token stop) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, stop, deadline, [&] { return signalled_ && generation_ > generation; });
}
