#include "Scheduler.h"

#include <QTimer>

void TTimerScheduler::After(int milliseconds, std::function<void()> step) {
    QTimer::singleShot(milliseconds, &context_, std::move(step));
}
