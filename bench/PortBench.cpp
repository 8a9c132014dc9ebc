// Round trip of one command: through the real TComPort (write, the simulator's echo and status,
// the read thread, delivery to the port's receiver, as the reply reader takes it), and the raw
// round trip over the same kind of pseudo-terminal with nothing of the program in between.
#include "Benches.h"
#include "RawTerminal.h"
#include "Simulator.h"
#include "Stats.h"
#include "serial/ComPort.h"
#include "serial/PortReceiver.h"

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <mutex>
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

// Collects what the read thread hands over and wakes the sender when an answer is whole.
class TAnswerWaiter : public IPortReceiver {
public:
    void ChunkReceived(const QByteArray& chunk, quint32) override {
        std::lock_guard lock(mutex_);
        got_.append(chunk);
        changed_.notify_all();
    }
    void Interrupt() override {}
    void Resume() override {}
    void Clear() {
        std::lock_guard lock(mutex_);
        got_.clear();
    }
    bool WaitFor(qsizetype size) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return got_.size() >= size; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    QByteArray got_;
};

std::vector<double> PortRoundTrips(const QString& portsFolder, int count) {
    std::vector<double> samples;
    TAnswerWaiter waiter;
    TComPort port(portsFolder);
    port.SetReceiver(&waiter);
    port.SetPortNumber(1);
    port.SetLine({});
    port.Open();
    port.EnableReading(true);
    if (!port.Connected())
        return samples;
    const qsizetype answer = qsizetype(std::strlen(kAnswer));
    for (int i = 0; i < count; ++i) {
        waiter.Clear();
        const auto start = Clock::now();
        port.WriteText(kCommand);
        if (!waiter.WaitFor(answer))
            break;
        samples.push_back(Micros(Clock::now() - start));
    }
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
    port.Print("TComPort to its receiver on the read thread");
    std::printf("  ratio of medians: %.2f   ratio of means: %.2f\n\n", port.median / raw.median,
                port.mean / raw.mean);
}
