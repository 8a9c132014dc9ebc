#include "BenchSetting.h"

#include <QDir>

#include <algorithm>

TBenchSetting::TBenchSetting() : previous_(SetDialogs(this)) {
    for (const char* sub : {"ports", "Data", "Log", "Users", "lang"})
        QDir(dir_.path()).mkpath(sub);
}

TBenchSetting::~TBenchSetting() {
    SetDialogs(previous_);
}

TStallProbe::TStallProbe(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        longest_ = std::max(longest_, sinceTick_.nsecsElapsed() / 1e6 - 1.0);
        sinceTick_.restart();
        if (onTick_)
            onTick_();
    });
}

void TStallProbe::Start() {
    sinceTick_.start();
    timer_.start();
}
