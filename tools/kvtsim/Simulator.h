#pragma once

#include "ControllerModel.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kvtsim {

// Faults and timing the stand-in controller can be told to show.
struct Options {
    double timeScale = 1.0;      // motion and pauses last this fraction of their real time
    bool silent = false;         // answer nothing at all
    int replyDelayMs = 0;        // every answer comes this late
    bool splitBytes = false;     // answers travel one byte at a time, splitGapUs apart
    int splitGapUs = 1000;       // the time between two bytes of a split answer
    int statusGapUs = 200;       // echo and status leave this far apart; 0: together, in one write
    bool joinReplies = false;    // echo and status leave together, in one write
    int garbageEvery = 0;        // every n-th answer is preceded by garbage bytes (0: never)
    int commErrorEvery = 0;      // every n-th command is answered by a communication error instead
    int commErrorAlongEvery = 0; // every n-th command's echo is followed by E15*, then its status
    int hangUpAfter = 0;         // hang up after this many commands (0: never)
    int silentFrom = 0;          // answer nothing from this command on (its number since the start; 0: never)
};

// The controller simulator: a controller model behind a pseudo-terminal, optionally linked under
// a name of the program's ports folder (ports/COM1). One thread answers the line; the options
// may change while it runs.
class Simulator {
public:
    explicit Simulator(Options options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the pseudo-terminal, links it as `linkPath` if given (replacing an old link), and
    // starts answering. False, with a reason in `error`, when the terminal cannot be made.
    bool Start(const std::string& linkPath = {}, std::string* error = nullptr);
    // Instead of a pseudo-terminal, answers over TCP: listens on `host` (an IPv4 or IPv6
    // address; the loopback address unless told otherwise) and `port` (0: one the system
    // chooses, ListenPort), one client at a time; a client that goes lets the next one in.
    bool Listen(const std::string& host, int port, std::string* error = nullptr);
    int ListenPort() const { return listenPort_; }
    void Stop();

    const std::string& SlavePath() const { return slavePath_; }
    void SetOptions(const Options& options);
    Options GetOptions() const;

    // Closes the line as an unplugged device does: the other side sees a hang-up.
    void HangUp();
    // Sends bytes of the test's choosing now.
    void SendRaw(const std::string& bytes);

    // Commands received so far (without their '*').
    std::vector<std::string> Commands() const;
    // Waits until at least `count` commands have arrived, at most `timeoutMs`.
    bool WaitForCommands(size_t count, int timeoutMs) const;
    std::vector<std::string> Program(int channel) const;
    void SetProgram(int channel, std::vector<std::string> program);
    bool Running(int channel) const;
    // Every byte received, in order.
    std::string Received() const;
    // The terminal's line settings as the other side set them: its speed (a B... constant of
    // termios) and its control flags (a pseudo-terminal keeps the speed, CSTOPB and PARODD).
    unsigned TerminalSpeed() const;
    unsigned TerminalControlFlags() const;

private:
    void Run();
    void Schedule(Clock::time_point due, const std::string& bytes);
    // Sends one answer with the faults the options ask for; `commandNumber` counts from 1, 0 for
    // an unasked report.
    void Answer(const std::vector<std::string>& replies, int commandNumber, Clock::time_point now);
    void WriteDue(Clock::time_point now);
    void Wake();
    void CloseLine();

    mutable std::mutex mutex_;
    mutable std::condition_variable commandArrived_;
    Options options_;
    ControllerModel model_;
    std::multimap<Clock::time_point, std::string> outbox_;
    Clock::time_point lastDue_{};
    std::string received_;
    int answers_ = 0;
    int master_ = -1;
    int slaveKeeper_ = -1; // keeps the terminal alive while the program has it closed
    int listen_ = -1;      // Listen: the listening socket; master_ is then the client, if any
    int listenPort_ = 0;
    int wake_ = -1;
    bool stop_ = false;
    bool outputBlocked_ = false; // the terminal took no more: wait until it is writable
    std::string slavePath_;
    std::string linkPath_;
    std::thread thread_;
};

} // namespace kvtsim
