#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kvtsim {

using Clock = std::chrono::steady_clock;

// What the stand-in controller says, and when.
struct Output {
    Clock::time_point due;
    std::string bytes;
};

// The behaviour of a three-channel controller of the TRVA series as the program relies on it:
// each command, ended by '*', is echoed and answered by a status token "E<channel><code>*".
// LD<n> opens channel n's recording, the commands up to ED are stored as its program; ST<n> (or
// ST for all) runs stored programs for the time the program preview estimates (times the time
// scale) and reports completion unasked, unless they wait for a signal or move without end; PS<n> pauses and
// resumes; RD<n> and RB send back a stored program. Unknown codes get code 6, arguments out of range code 9.
class ControllerModel {
public:
    explicit ControllerModel(double timeScale = 1.0) : timeScale_(timeScale) {}

    void SetTimeScale(double scale) { timeScale_ = scale; }

    // Takes received bytes; returns the answer to each command they complete, in order (an
    // answer is the echo and the status token, or the echo and the read-back text).
    std::vector<std::vector<std::string>> Receive(const std::string& bytes, Clock::time_point now);
    // Unasked reports whose time has come (program completions).
    std::vector<std::string> Due(Clock::time_point now);
    // The next moment Due() will have something, if any.
    std::optional<Clock::time_point> NextDeadline() const;

    const std::vector<std::string>& Program(int channel) const { return channels_.at(channel).program; }
    // Replaces a channel's stored program, as a program written by another tool would.
    void SetProgram(int channel, std::vector<std::string> program) {
        channels_.at(channel).program = std::move(program);
    }
    bool Running(int channel) const { return channels_.at(channel).running; }
    bool Paused(int channel) const { return channels_.at(channel).paused; }
    int RecordingChannel() const { return recording_; }
    const std::vector<std::string>& Commands() const { return commands_; }

    // The program of a channel as RD<n> sends it, every token ended by '*'.
    std::string ReadBack(int channel) const;

private:
    struct Channel {
        std::vector<std::string> program;
        bool running = false;
        bool paused = false;
        bool endless = false;        // it waits for a signal or moves without end: no completion
        Clock::time_point end{};     // when the running program completes
        Clock::duration remaining{}; // left when paused
    };

    std::vector<std::string> Execute(const std::string& command, Clock::time_point now);
    // How long a program runs: the preview's estimate times the time scale; none when it has
    // no end of its own.
    std::optional<Clock::duration> Duration(const std::vector<std::string>& program) const;
    void Start(int channel, Clock::time_point now);

    double timeScale_;
    std::array<Channel, 4> channels_{}; // 1..3
    int recording_ = 0;                 // channel in communication mode, 0 for none
    std::vector<std::string> recordingProgram_;
    std::string pending_;
    std::vector<std::string> commands_;
};

} // namespace kvtsim
