// Sending a list line by line, as fast as the line allows: the program (a real main window, its
// session and sending thread), a bare C++ send-and-wait loop on the same pseudo-terminal
// (the floor: nothing of ours in between), and a pyserial loop (what an integrator would write
// instead, when python3-serial is installed), interleaved round by round against one simulator
// process. First against a responder that answers at once (echo and status in one write), then
// against one that leaves 0.2 ms between echo and status, as the controller does.
#include "BenchSetting.h"
#include "Benches.h"
#include "RawTerminal.h"
#include "Responder.h"
#include "SessionRooms.h"
#include "Stats.h"
#include "Unit1.h"
#include "editor/CommandList.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <optional>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Wall and CPU time per line, in milliseconds.
struct Sample {
    double wall = 0, cpu = 0;
};

QStringList ProgramLines(int count) {
    QStringList lines{"LD1"};
    for (int i = 1; i < count - 1; ++i)
        lines.append("MV" + QString::number(100 + i));
    lines.append("ED");
    return lines;
}

// Sends `lines` from a real main window. With `stallMs`, a probe ticks every millisecond on the
// window's event loop and records the longest late tick; the probe wakes the main thread a
// thousand times a second, so the rounds that time the program run without it.
Sample ProgramRun(const QString& folder, const QStringList& lines, double* stallMs) {
    TForm1 form(folder);
    form.rgrSingl_Mult->Click(1);
    form.show();
    form.Session().Editor().Replace(lines);
    // The window draws itself first: its first paint is no cost of sending.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QEventLoop loop;
    TStallProbe probe;
    QObject::connect(&form.Session().Controller().Sending(), &TSending::Ended, &loop, &QEventLoop::quit);
    const double cpu0 = ProcessCpuSeconds();
    const auto start = Clock::now();
    form.btnRunTRClick();
    if (stallMs)
        probe.Start();
    loop.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpu0;
    if (stallMs)
        *stallMs = std::max(*stallMs, probe.LongestMs());
    return {wall * 1000 / lines.size(), cpu * 1000 / lines.size()};
}

Sample FloorRun(const QString& link, const QStringList& lines) {
    const int fd = OpenRawTerminal(link.toStdString());
    const double cpu0 = ProcessCpuSeconds();
    const auto start = Clock::now();
    for (const QString& line : lines) {
        const QByteArray out = (line + "*").toLatin1();
        [[maybe_unused]] ssize_t w = ::write(fd, out.constData(), size_t(out.size()));
        std::string got; // the echo and a four-character status token
        ReadAtLeast(fd, got, size_t(out.size()) + 4);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpu0;
    ::close(fd);
    return {wall * 1000 / lines.size(), cpu * 1000 / lines.size()};
}

const char* const kPyserialLoop = R"(import serial, sys, time
port = serial.Serial(sys.argv[1], 9600, parity=serial.PARITY_EVEN, timeout=2)
lines = open(sys.argv[2]).read().split()
wall, cpu = time.perf_counter(), time.process_time()
for line in lines:
    out = (line + '*').encode()
    port.write(out)
    need, got = len(out) + 4, b''
    while len(got) < need:
        chunk = port.read(need - len(got))
        if not chunk:
            break
        got += chunk
print(time.perf_counter() - wall, time.process_time() - cpu)
)";

bool PyserialInstalled() {
    return QProcess::execute("/usr/bin/python3", {"-c", "import serial"}) == 0;
}

std::optional<Sample> PyserialRun(const QString& link, const QStringList& lines, const QString& folder) {
    const auto printed = RunPythonLoop(kPyserialLoop, link, lines, folder);
    const QStringList parts = printed ? printed->split(' ') : QStringList{};
    if (parts.size() != 2)
        return std::nullopt;
    return Sample{parts[0].toDouble() * 1000 / lines.size(), parts[1].toDouble() * 1000 / lines.size()};
}

struct Series {
    std::vector<double> wall, cpu;
    void Add(const Sample& s) {
        wall.push_back(s.wall);
        cpu.push_back(s.cpu);
    }
    void Print(const char* name) const {
        if (wall.empty()) {
            std::printf("  %-28s (not run: python3-serial is not installed)\n", name);
            return;
        }
        std::printf("  %-28s wall %7.4f ms (%7.4f..%7.4f)   CPU %7.4f ms (%7.4f..%7.4f)\n", name,
                    Median(wall), *std::min_element(wall.begin(), wall.end()),
                    *std::max_element(wall.begin(), wall.end()), Median(cpu),
                    *std::min_element(cpu.begin(), cpu.end()), *std::max_element(cpu.begin(), cpu.end()));
    }
};

void RunWith(const QString& folder, const QStringList& responderArgs, const char* title, int rounds,
             const QStringList& lines, bool python) {
    Responder responder;
    if (!responder.Start(folder, responderArgs)) {
        std::printf("  (the simulator did not start)\n");
        return;
    }
    Series program, floor, pyserial;
    for (int round = 0; round < rounds; ++round) {
        program.Add(ProgramRun(folder, lines, nullptr));
        floor.Add(FloorRun(responder.Link(), lines));
        if (python) {
            if (const auto s = PyserialRun(responder.Link(), lines, folder))
                pyserial.Add(*s);
        }
    }
    std::printf("%s, %d rounds of %d lines, per line: median (spread)\n", title, rounds, int(lines.size()));
    program.Print("the program");
    floor.Print("bare C++ loop (the floor)");
    pyserial.Print("pyserial loop");
    std::printf("  program / floor: wall %.2f, CPU %.2f", Median(program.wall) / Median(floor.wall),
                Median(program.cpu) / Median(floor.cpu));
    if (!pyserial.wall.empty())
        std::printf("   program / pyserial: wall %.2f, CPU %.2f",
                    Median(program.wall) / Median(pyserial.wall), Median(program.cpu) / Median(pyserial.cpu));
    double stall = 0;
    for (int round = 0; round < 3; ++round)
        ProgramRun(folder, lines, &stall);
    std::printf(
        "\n  longest stall of the window's event loop while sending (3 more rounds, probed): %.2f ms\n\n",
        stall);
}

} // namespace

void RunSendingBench(int lineCount, int rounds) {
    TBenchSetting setting;
    const QStringList lines = ProgramLines(lineCount);
    const bool python = PyserialInstalled();
    RunWith(setting.Folder(), {"--gap-us", "0"}, "Answered at once (echo and E10* in one write)", rounds,
            lines, python);
    RunWith(setting.Folder(), {"--gap-us", "200"}, "Answered with 0.2 ms between echo and status", rounds,
            lines, python);
    const double characters = [&] {
        double c = 0;
        for (const QString& line : lines)
            c += 2.0 * (line.size() + 1) + 4;
        return c;
    }();
    std::printf("The serial line itself at 9600 baud 8E1 (11 bits a character): %.1f ms per line.\n\n",
                characters * 11.0 / 9600.0 * 1000.0 / lines.size());
}
