// Round trip of one command: through the real TComPort (write, the simulator's echo and status,
// the read thread, delivery to a handler on the main thread), and the raw round trip over the
// same kind of pseudo-terminal with nothing of the program in between.
#include "Benches.h"
#include "RawTerminal.h"
#include "Simulator.h"
#include "Stats.h"
#include "serial/ComPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kCommand = "BG*";
constexpr const char* kAnswer = "BG*E10*";

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

std::vector<double> RawRoundTrips(const std::string& slave, int count) {
    std::vector<double> samples;
    const int fd = OpenRawTerminal(slave);
    const std::string answer = kAnswer;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        [[maybe_unused]] ssize_t w = ::write(fd, kCommand, 3);
        std::string got;
        ReadAtLeast(fd, got, answer.size());
        samples.push_back(Micros(Clock::now() - start));
    }
    ::close(fd);
    return samples;
}

std::vector<double> PortRoundTrips(const QString& portsFolder, int count) {
    std::vector<double> samples;
    TComPort port(portsFolder);
    port.SetPortNumber(1);
    port.SetDataBitsIndex(3);
    port.SetParity(2);
    port.SetBaudIndex(6);
    port.Open();
    port.EnableReading(true);
    if (!port.Connected())
        return samples;

    QEventLoop loop;
    QByteArray got;
    Clock::time_point start;
    auto send = [&] {
        got.clear();
        start = Clock::now();
        port.WriteText(kCommand);
    };
    QObject::connect(&port, &TComPort::OnRead, [&](const QByteArray& chunk, quint32) {
        got.append(chunk);
        if (got.size() < qsizetype(std::strlen(kAnswer)))
            return;
        samples.push_back(Micros(Clock::now() - start));
        if (int(samples.size()) == count)
            loop.quit();
        else
            send();
    });
    QTimer::singleShot(0, send);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return samples;
}

} // namespace

void RunPortBench(int count) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ports");
    kvtsim::Options options;
    options.joinReplies = true; // echo and status in one write, on both paths alike
    kvtsim::Simulator simulator(options);
    simulator.Start((dir.path() + "/ports/COM1").toStdString());

    std::printf("Round trip of one command (%s answered by %s), %d times each:\n", kCommand, kAnswer, count);
    const Stats raw = Stats::Of(RawRoundTrips(simulator.SlavePath(), count));
    const Stats port = Stats::Of(PortRoundTrips(dir.path() + "/ports", count));
    raw.Print("raw pseudo-terminal (the floor)");
    port.Print("TComPort to a handler on the main thread");
    std::printf("  ratio of medians: %.2f   ratio of means: %.2f\n\n", port.median / raw.median,
                port.mean / raw.mean);
}
