// Sending a 1,000-line list through the program's session (port, read thread, reply handler,
// transmission thread) to the simulator: its time per line against the raw round trip over the
// same kind of pseudo-terminal (the floor) and the serial line's own time at 9600 baud 8E1; and
// the longest stall of the main thread's event loop while it sends.
#include "Benches.h"
#include "RawTerminal.h"
#include "Simulator.h"
#include "Stats.h"
#include "core/CommonDatasView.h"
#include "core/Dialogs.h"
#include "session/Session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// No message box may stop a benchmark.
class SilentDialogs : public IDialogs {
public:
    void ShowMessage(const QString&) override {}
    bool Confirm(const QString&) override { return true; }
    QString OpenFileName(const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }
};

// The session's view when there is no window: everything it would show is dropped.
class NoView : public ICommonDatasView {
public:
    void PaintIndicator(int, TRgb) override {}
    void ShowCoordinatesActive(const QString&, bool, bool, bool) override {}
    void EnableSimpleButtons(bool, bool, bool, bool) override {}
    void ShowScale(const QString&, const QString&, const QString&) override {}
    void ShowRounding(const QString&) override {}
    void AddLogLine(const QString&, bool) override {}
    void AddRecordingLine(const QString&) override {}
};

QStringList ProgramLines(int count) {
    QStringList lines{"LD1"};
    for (int i = 1; i < count - 1; ++i)
        lines.append("MV" + QString::number(100 + i));
    lines.append("ED");
    return lines;
}

// Sends each line and reads until its status token has come: the least any sender can take.
double RawSeconds(const std::string& slave, const QStringList& lines) {
    const int fd = OpenRawTerminal(slave);
    const auto start = Clock::now();
    for (const QString& line : lines) {
        const QByteArray out = (line + "*").toLatin1();
        [[maybe_unused]] ssize_t w = ::write(fd, out.constData(), size_t(out.size()));
        // The answer is the echo and a four-character status token.
        std::string got;
        ReadAtLeast(fd, got, size_t(out.size()) + 4);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ::close(fd);
    return seconds;
}

struct ProgramRun {
    double seconds = 0;
    double longestStallMs = 0;
    size_t commandsReceived = 0;
};

ProgramRun ProgramSeconds(const QString& folder, const QStringList& lines, kvtsim::Simulator& simulator) {
    ProgramRun run;
    NoView view;
    TSession session(folder, view);
    session.OpenPort();
    const size_t before = simulator.Commands().size();

    QEventLoop loop;
    QElapsedTimer sinceTick;
    QTimer probe; // ticks every millisecond; a late tick is a stall of the event loop
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        run.longestStallMs = std::max(run.longestStallMs, sinceTick.nsecsElapsed() / 1e6 - 1.0);
        sinceTick.restart();
        if (!session.Transmitting())
            loop.quit();
    });
    const auto start = Clock::now();
    session.Send(lines);
    sinceTick.start();
    probe.start();
    loop.exec();
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.commandsReceived = simulator.Commands().size() - before;
    return run;
}

} // namespace

void RunTransmissionBench(int lineCount) {
    SilentDialogs dialogs;
    IDialogs* previous = SetDialogs(&dialogs);
    QTemporaryDir dir;
    for (const char* sub : {"ports", "Data", "Log", "Users", "lang"})
        QDir(dir.path()).mkpath(sub);
    kvtsim::Simulator simulator; // echo and status as separate writes, as the controller sends them
    simulator.Start((dir.path() + "/ports/COM1").toStdString());
    const QStringList lines = ProgramLines(lineCount);

    // Characters on the line per command: the line and '*', its echo, a status token; 11 bits
    // each at 9600 baud with 8 data bits, even parity and a stop bit.
    double characters = 0;
    for (const QString& line : lines)
        characters += 2.0 * (line.size() + 1) + 4;
    const double lineMs = characters * 11.0 / 9600.0 * 1000.0 / lines.size();

    const ProgramRun program = ProgramSeconds(dir.path(), lines, simulator);
    // A fresh simulator for the floor, so that its recording state starts the same way.
    kvtsim::Simulator floorSimulator;
    floorSimulator.Start();
    const double raw = RawSeconds(floorSimulator.SlavePath(), lines);

    const double programMs = program.seconds * 1000.0 / lines.size();
    const double rawMs = raw * 1000.0 / lines.size();
    std::printf("Sending a %d-line list (LD1, MV..., ED) to the simulator:\n", int(lines.size()));
    std::printf("  program, per line                              %8.3f ms  (%zu lines answered)\n",
                programMs, program.commandsReceived);
    std::printf("  raw round trip, per line (the floor)           %8.3f ms\n", rawMs);
    std::printf("  serial line at 9600 baud 8E1, per line         %8.3f ms\n", lineMs);
    std::printf("  program / floor: %.2f    program / serial line: %.4f\n", programMs / rawMs,
                programMs / lineMs);
    std::printf("  longest stall of the window's event loop while sending: %.2f ms\n\n",
                program.longestStallMs);
    SetDialogs(previous);
}
