#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` passes; true when it holds. Tests only:
// the program itself never spins an event loop like this.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for `ms` milliseconds, to let anything that would wrongly happen happen.
inline void RunEventsFor(int ms) {
    WaitUntil([] { return false; }, ms);
}
