#pragma once

#include <QObject>

#include <functional>

// Runs a step later on the main thread, without blocking it: the pauses of the recovery steps.
// The program uses timers; tests run the steps when they choose.
class IScheduler {
public:
    virtual ~IScheduler() = default;
    virtual void After(int milliseconds, std::function<void()> step) = 0;
};

// Steps on single-shot timers of the main thread's event loop. A step still waiting when the
// scheduler is destroyed never runs.
class TTimerScheduler : public IScheduler {
public:
    void After(int milliseconds, std::function<void()> step) override;

private:
    QObject context_;
};
