// The program preview of the largest list: 65,535 lines in three programs full of loops and
// buffers, walked as the preview walks them, against a floor that only reads each line's code
// and number (what any walk of the list must do at least), interleaved round by round; then the
// same with a travel limit left deep inside a loop, and the preview window drawing it all.
#include "BenchSetting.h"
#include "Benches.h"
#include "ProgramPreviewWindow.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Stats.h"
#include "Unit1.h"
#include "core/Settings.h"
#include "preview/ProgramPreview.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {

// 65,535 lines: three blocks, each of loops (LL ... JP) inside buffers (LB ... SB) and plain
// stretches between them.
QStringList LargestList() {
    QStringList lines;
    const int perBlock = 65535 / 3;
    for (int channel = 1; channel <= 3; ++channel) {
        const int start = int(lines.size());
        lines << "LD" + QString::number(channel) << "SD" + QString::number(100 * channel) << "DL";
        int i = 0;
        while (int(lines.size()) - start < perBlock - 12) {
            lines << "LB"
                  << "LL"
                  << "MV" + QString::number(100 + i % 400) << "SP5"
                  << "RS"
                  << "MV" + QString::number(50 + i % 200) << "JP" + QString::number(1 + i % 9) << "DR"
                  << "MV" + QString::number(10 + i % 90) << "SB" + QString::number(1 + i % 4);
            ++i;
        }
        while (int(lines.size()) - start < perBlock - 1)
            lines << "MV1";
        lines << "ED";
    }
    return lines;
}

double Us(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e3;
}

// The floor: each line's two letters and its number read, with nothing of the program's.
qint64 ReadEveryLine(const QStringList& lines) {
    qint64 sum = 0;
    for (const QString& line : lines) {
        if (line.size() >= 2)
            sum += line[0].unicode() + line[1].unicode() + QStringView(line).mid(2).toLongLong();
    }
    return sum;
}

} // namespace

void RunPreviewBench() {
    const QStringList lines = LargestList();
    TTravelLimits travel{};
    travel[2] = {true, -100, 100000};
    std::printf("preview: %lld lines in 3 programs\n", qint64(lines.size()));

    std::vector<double> floor, preview, withTravel;
    qint64 sink = 0;
    Preview::TListPreview last, limited;
    for (int round = 0; round < 21; ++round) {
        floor.push_back(Us([&] { sink += ReadEveryLine(lines); }));
        preview.push_back(Us([&] { last = Preview::PreviewList(lines); }));
        withTravel.push_back(Us([&] { limited = Preview::PreviewList(lines, travel); }));
    }
    std::printf("  moves after unrolling: %lld, %lld, %lld; plot points %zu, %zu, %zu (%lld)\n",
                last.programs[0].motion.moves, last.programs[1].motion.moves, last.programs[2].motion.moves,
                last.programs[0].path.size(), last.programs[1].path.size(), last.programs[2].path.size(),
                sink % 10);
    std::printf("  channel 2 leaves its travel -100 ... 100000 at line %d (to %lld)\n",
                limited.programs[1].leavesTravelAt + 1, limited.programs[1].leavesTravelTo);
    Stats::Of(floor).Print("floor: read each line's code and number");
    Stats::Of(preview).Print("preview of the list");
    Stats::Of(withTravel).Print("preview, channel 2 leaving its travel");

    // The worst lists found: repeats of nothing nested deep, a repeat as deep as allowed around
    // each move, arguments far beyond range, every line a loop of the loops before it.
    const auto padded = [](QStringList lines) {
        while (lines.size() < 65534)
            lines << "JP255";
        return lines << "ED";
    };
    QStringList nested{"LD1", "SD1", "DL", "LL"};
    for (int i = 0; nested.size() < 65534; ++i)
        nested << "MV1"
               << "JP2";
    nested << "ED";
    const struct {
        const char* name;
        QStringList lines;
    } hostile[] = {
        {"LL, then JP255 on every line (repeats of nothing)", padded({"LD1", "LL"})},
        {"a move, then JP255 on every line", padded({"LD1", "SD1", "DL", "LL", "MV10000000"})},
        {"MV1, JP2 alternating: each loop holds the one before", nested},
        {"JP2147483647 on every line",
         [] {
             QStringList l{"LD1", "LL", "MV1"};
             while (l.size() < 65534)
                 l << "JP2147483647";
             return l << "ED";
         }()},
    };
    for (const auto& h : hostile) {
        std::vector<double> times;
        for (int round = 0; round < 5; ++round)
            times.push_back(Us([&] { last = Preview::PreviewList(h.lines, travel); }));
        Stats::Of(times).Print(QString("worst case: %1").arg(h.name).toUtf8().constData());
    }

    // The window: the table, the findings and the plot of all three programs.
    TBenchSetting setting;
    kvtsim::Simulator simulator;
    simulator.Start((setting.Folder() + "/ports/COM1").toStdString());
    TForm1 form(setting.Folder());
    form.rgrSingl_Mult->Click(TSettings::ExtendedMode);
    form.Session().Editor().Replace(lines);
    form.show();
    form.mmPreview->trigger();
    auto* window = form.findChild<TProgramPreviewWindow*>();
    std::vector<double> refresh;
    for (int round = 0; round < 7; ++round) {
        refresh.push_back(Us([&] {
            window->Refresh();
            window->grab();
        }));
    }
    Stats::Of(refresh).Print("preview window: walk, table, plot, drawn");
}
