// The run journal's cost and the run history's opening: a 1,000-line list sent from a real main
// window with the journal on and off (the same simulator process, interleaved rounds, per line),
// one record appended on its own, and a journal of a million events read by the history window.
#include "BenchSetting.h"
#include "Benches.h"
#include "Responder.h"
#include "SessionRooms.h"
#include "Stats.h"
#include "Unit1.h"
#include "core/Settings.h"
#include "history/RunHistoryWindow.h"
#include "journal/JournalFiles.h"
#include "journal/JournalHistory.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Wall time per line, in milliseconds, of a send of `lines` with the journal `on` or off.
double SendRun(const QString& folder, const QStringList& lines, bool on) {
    TForm1 form(folder);
    form.rgrSingl_Mult->Click(1);
    TSettings settings = form.Session().Options().Settings();
    settings.KeepJournal = on;
    form.Session().Options().Apply(settings);
    form.show();
    form.Session().Editor().Replace(lines);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QEventLoop loop;
    QObject::connect(&form.Session().Controller().Sending(), &TSending::Ended, &loop, &QEventLoop::quit);
    const auto start = Clock::now();
    form.btnRunTRClick();
    loop.exec();
    return std::chrono::duration<double>(Clock::now() - start).count() * 1000 / lines.size();
}

// A journal of `count` events of a busy rig: writes and their ends, starts, pauses and
// completions of the three coordinates, a second apart.
void WriteJournal(const QString& folder, int count) {
    QDir().mkpath(folder);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-count);
    QByteArray chunk;
    QFile file(folder + "/journal-" + start.toString("yyyy-MM") + ".jsonl");
    file.open(QIODevice::WriteOnly);
    static const char* const kinds[] = {"write", "write-end", "start", "pause", "resume", "complete"};
    for (int i = 0; i < count; ++i) {
        const char* kind = kinds[i % 6];
        QJsonObject fields;
        if (i % 6 == 0)
            fields = {{"file", "/home/op/pump.kvt"}, {"lines", 12}, {"fingerprint", "0123456789ab"}};
        if (i % 6 == 1)
            fields = {{"outcome", "completed"}, {"lines", 12}, {"sent", 12}};
        chunk += TJournalRecord{start.addSecs(i), "window", kind, i % 6 < 2 ? 0 : 1 + (i / 6) % 3, fields}
                     .ToLine() +
                 '\n';
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

} // namespace

void RunJournalBench() {
    TBenchSetting setting;
    const QString folder = setting.Folder();
    QStringList lines{"LD1"};
    for (int i = 1; i < 999; ++i)
        lines.append("MV" + QString::number(100 + i));
    lines.append("ED");
    Responder responder;
    if (!responder.Start(folder, {"--join"})) {
        std::printf("  (the simulator did not start)\n");
        return;
    }
    std::vector<double> on, off;
    for (int round = 0; round < 7; ++round) {
        on.push_back(SendRun(folder, lines, true));
        off.push_back(SendRun(folder, lines, false));
    }
    std::printf("The run journal: %d lines sent from the window, 7 interleaved rounds, per line (median):\n"
                "  journal on %.4f ms, off %.4f ms: on / off %.3f\n",
                int(lines.size()), Median(on), Median(off), Median(on) / Median(off));
    TJournalFiles files(folder + "/Data/journal-append");
    const int appends = 5000;
    const auto start = Clock::now();
    for (int i = 0; i < appends; ++i)
        files.Append({QDateTime::currentDateTime(), "window", "start", 1, {}});
    std::printf("  one record appended (open, lock, write, close): %.1f us\n",
                std::chrono::duration<double, std::micro>(Clock::now() - start).count() / appends);

    const QString big = folder + "/Data/journal-big";
    WriteJournal(big, 1'000'000);
    TJournalFiles bigFiles(big);
    const long long rss0 = ResidentBytes();
    const auto load0 = Clock::now();
    TJournalHistory history(bigFiles);
    history.Load({});
    const double loadS = std::chrono::duration<double>(Clock::now() - load0).count();
    const long long rss1 = ResidentBytes();
    TForm1 form(folder);
    const auto open0 = Clock::now();
    auto* window = new TRunHistoryWindow(bigFiles, form.Session().Lang(), &form);
    window->show();
    QCoreApplication::processEvents();
    const double openS = std::chrono::duration<double>(Clock::now() - open0).count();
    std::printf(
        "A journal of %zu events (%.0f MB): read in %.2f s (%.1f MB held, %.0f bytes an event); the Run "
        "history window opened and drawn in %.2f s\n\n",
        history.Events().size(), QFileInfo(big + '/' + bigFiles.Files().first()).size() / 1e6, loadS,
        (rss1 - rss0) / 1e6, double(rss1 - rss0) / double(history.Events().size()), openS);
}
