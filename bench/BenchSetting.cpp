#include "BenchSetting.h"

#include <QDir>
#include <QFile>
#include <QProcess>

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

std::optional<QString> RunPythonLoop(const char* script, const QString& port, const QStringList& lines,
                                     const QString& folder) {
    const QString scriptFile = folder + "/loop.py", listFile = folder + "/lines.txt";
    for (const auto& [name, bytes] :
         {std::pair{scriptFile, QByteArray(script)}, std::pair{listFile, lines.join('\n').toLatin1()}}) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return std::nullopt;
    }
    QProcess python;
    python.start("/usr/bin/python3", {scriptFile, port, listFile});
    if (!python.waitForFinished(600000) || python.exitCode() != 0)
        return std::nullopt;
    return QString::fromLatin1(python.readAllStandardOutput()).trimmed();
}
