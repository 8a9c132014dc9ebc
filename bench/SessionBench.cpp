// A day at the machine in a few minutes: ten sends of a 10,000-line list in one window, with
// answers arriving whole and arriving one byte at a time (the per-line cost of the last send
// against the first), and a flood of a million "E10*" tokens (how long it takes to drain, the
// longest pause of the window meanwhile, and what the reply list keeps per token).
#include "BenchSetting.h"
#include "Benches.h"
#include "Responder.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Startup.h"
#include "Unit1.h"
#include "UnitChanRead.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "protocol/ReplyLog.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Runs the event loop until `done`, with a probe that ticks every millisecond; returns the
// longest time the loop did not tick.
double RunUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    TStallProbe probe([&] {
        if (done())
            loop.quit();
    });
    probe.Start();
    loop.exec();
    return probe.LongestMs();
}

std::unique_ptr<TForm1> OpenWindow(const QString& folder) {
    auto form = std::make_unique<TForm1>(folder);
    TSettings settings = form->Session().Options().Settings();
    settings.ShowPortLog = true; // the reply list in view: the costly case
    form->Session().Options().Apply(settings);
    form->rgrSingl_Mult->Click(1);
    form->show();
    QCoreApplication::processEvents(); // drawn before anything is measured
    QCoreApplication::processEvents();
    return form;
}

void LongSession(const QString& folder, const QStringList& responderArgs, const char* title, int sends,
                 int lineCount) {
    Responder responder;
    if (!responder.Start(folder, responderArgs)) {
        std::printf("  (the simulator did not start)\n");
        return;
    }
    QStringList lines{"LD1"};
    for (int i = 1; i < lineCount - 1; ++i)
        lines.append("MV" + QString::number(100 + i % 900));
    lines.append("ED");
    auto form = OpenWindow(folder);
    form->Session().Editor().Replace(lines);
    std::printf("%s: %d sends of %d lines in one window, per line:\n", title, sends, lineCount);
    double first = 0, last = 0, firstCpu = 0, lastCpu = 0, stall = 0;
    for (int send = 1; send <= sends; ++send) {
        const double cpu0 = ProcessCpuSeconds();
        const auto start = Clock::now();
        form->btnRunTRClick();
        stall =
            std::max(stall, RunUntil([&] { return !form->Session().Controller().Sending().IsSending(); }));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count() * 1000 / lineCount;
        const double cpu = (ProcessCpuSeconds() - cpu0) * 1000 / lineCount;
        std::printf("  send %2d: wall %7.4f ms  CPU %7.4f ms\n", send, wall, cpu);
        if (send == 1) {
            first = wall;
            firstCpu = cpu;
        }
        last = wall;
        lastCpu = cpu;
    }
    const TReplyLog& log = form->Session().Logs().ReplyLog();
    std::printf("  last / first: wall %.3f, CPU %.3f; reply list %lld lines, %.1f bytes each; longest stall "
                "%.2f ms\n\n",
                last / first, lastCpu / firstCpu, (long long)log.Count(),
                double(log.MemoryBytes()) / log.Count(), stall);
}

void Flood(const QString& folder, int tokens) {
    kvtsim::Simulator simulator;
    simulator.Start((folder + "/ports/COM1").toStdString());
    auto form = OpenWindow(folder);
    const TReplyLog& log = form->Session().Logs().ReplyLog();
    // Counted over the whole session: the log keeps its recent lines and sheds the older ones.
    const qint64 before = log.Shed() + log.Count();
    const long long rssBefore = ResidentBytes();
    const qsizetype memoryBefore = log.MemoryBytes();
    std::string flood;
    flood.reserve(size_t(tokens) * 4);
    for (int i = 0; i < tokens; ++i)
        flood += "E10*";
    const auto start = Clock::now();
    simulator.SendRaw(flood);
    const double stall = RunUntil([&] { return log.Shed() + log.Count() - before >= tokens; });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("A flood of %d \"E10*\" tokens: drained in %.2f s, longest stall of the window %.2f ms,\n",
                tokens, seconds, stall);
    std::printf("  reply list %.1f bytes per token (process memory grew %.1f bytes per token)\n\n",
                double(log.MemoryBytes() - memoryBefore) / tokens,
                double(ResidentBytes() - rssBefore) / tokens);
}

// A read-back answered by a megabyte that never ends with ED*: the read-back window takes it
// in, parses it and lists it; the longest pause of the window while it does.
void ReadBackFlood(const QString& folder, int bytes) {
    kvtsim::Simulator simulator;
    kvtsim::Options silent;
    silent.silent = true; // the stream below is all it sends
    simulator.Start((folder + "/ports/COM1").toStdString());
    simulator.SetOptions(silent);
    auto form = OpenWindow(folder);
    form->mmReadCh->trigger();
    auto* dialog = form->findChild<TFormChanRead*>();
    std::string stream = "RD1*";
    while (int(stream.size()) < bytes)
        stream += "MV1*";
    const auto start = Clock::now();
    dialog->btnReadClick();
    simulator.SendRaw(stream);
    const double stall = RunUntil(
        [&] { return !form->Session().Controller().ReadBack().IsReading() && dialog->btnRead->isEnabled(); });
    // What the read left to draw and lay out.
    const double drawn = RunUntil([] {
        static int ticks = 0;
        return ++ticks > 200;
    });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("A read-back answered by %d bytes without ED*: done in %.2f s, longest stall of the "
                "window %.1f ms (%.1f ms after)\n\n",
                bytes, seconds, stall, drawn);
}

} // namespace

void RunSessionBench() {
    TBenchSetting setting;
    LongSession(setting.Folder(), {"--gap-us", "0"}, "Answers arriving whole", 10, 10000);
    LongSession(setting.Folder(), {"--split-us", "20"}, "Answers arriving one byte at a time", 10, 10000);
}

void RunFloodBench() {
    TBenchSetting setting;
    Flood(setting.Folder(), 1000000);
    ReadBackFlood(setting.Folder(), 1 << 20);
}

void RunStartupBench() {
    TBenchSetting setting;
    const QString folder = setting.Folder();
    // The shipped language files, as an installed program has them.
    for (const QString& code : {QString("en"), QString("ru")}) {
        QDir(folder).mkpath("lang/" + code);
        for (const QString& file : QDir(QString(KVT_SOURCE_LANG) + "/" + code).entryList(QDir::Files))
            QFile::copy(QString(KVT_SOURCE_LANG) + "/" + code + "/" + file,
                        folder + "/lang/" + code + "/" + file);
    }
    QFile::copy(QString(KVT_SOURCE_LANG) + "/lang.lng", folder + "/lang/lang.lng");
    Responder responder;
    responder.Start(folder, {});
    std::printf("Start-up and idle:\n");
    for (int run = 1; run <= 3; ++run) {
        const auto start = Clock::now();
        auto program = StartProgram(folder);
        program->Form1->show();
        QCoreApplication::processEvents();
        const double ms = std::chrono::duration<double>(Clock::now() - start).count() * 1000;
        // Idle: the window open on a silent line for two seconds.
        const double cpu0 = ProcessCpuSeconds();
        QEventLoop idle;
        QTimer::singleShot(2000, &idle, &QEventLoop::quit);
        idle.exec();
        const double idleCpu = (ProcessCpuSeconds() - cpu0) * 1000;
        std::printf("  run %d: window up in %.1f ms; idle for 2 s: %.2f ms of CPU\n", run, ms, idleCpu);
    }
    std::printf("\n");
}
