#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

// A named manual-reset event: it stays signalled from Set() until Reset(), and any number of
// threads may wait on it with a time limit. A wait can also be cut short by a stop request, so
// that a worker thread blocked on an event ends at once when its owner asks it to.
class TNamedEvent {
public:
    TNamedEvent(QString name, bool initiallySignalled);
    TNamedEvent(const TNamedEvent&) = delete;
    TNamedEvent& operator=(const TNamedEvent&) = delete;

    const QString& Name() const { return name_; }

    void Set();
    void Reset();
    bool IsSet() const;

    // Waits until the event is signalled, at most `milliseconds`. Returns true when it is
    // signalled, false on time-out or when `stop` was requested first.
    bool WaitFor(unsigned milliseconds, std::stop_token stop = {}) const;

    // How many times Set() has been called. A waiter that notes it before asking for something
    // can then wait for a Set() that came after, and ignore one that came before.
    quint64 Generation() const;
    // Waits until the event is signalled by a Set() later than `generation`, at most until
    // `deadline`. False on time-out or stop.
    bool WaitForSetAfter(quint64 generation, std::chrono::steady_clock::time_point deadline,
                         std::stop_token stop = {}) const;

private:
    QString name_;
    mutable std::mutex mutex_;
    mutable std::condition_variable_any changed_;
    bool signalled_;
    quint64 generation_ = 0;
};

// The name of the one event a worker thread waits on: the read-back thread waits until the reply
// handler has collected a program up to its end.
namespace EventNames {
inline const char* const Readed = "EventReadedName";
} // namespace EventNames
