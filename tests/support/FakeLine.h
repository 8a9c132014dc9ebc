#pragma once

#include "core/Scheduler.h"
#include "serial/LineWriter.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <utility>

// A line that records what is written to it.
class RecordingWriter : public ILineWriter {
public:
    bool WriteText(const QString& text) override {
        written.append(text);
        return true;
    }
    bool WriteBytes(const QByteArray& bytes) override { return WriteText(QString::fromLatin1(bytes)); }
    QStringList written;
};

// Delayed steps that run only when the test says so (or at once, if asked to).
class ManualScheduler : public IScheduler {
public:
    explicit ManualScheduler(bool runAtOnce = false) : runAtOnce_(runAtOnce) {}
    void After(int milliseconds, std::function<void()> step) override {
        if (runAtOnce_)
            step();
        else
            pending.push_back({milliseconds, std::move(step)});
    }
    // Runs the waiting steps (and those they schedule) in order; returns their delays in all.
    int RunAll() {
        int total = 0;
        while (!pending.empty()) {
            auto [ms, step] = std::move(pending.front());
            pending.pop_front();
            total += ms;
            step();
        }
        return total;
    }
    std::deque<std::pair<int, std::function<void()>>> pending;

private:
    bool runAtOnce_;
};
