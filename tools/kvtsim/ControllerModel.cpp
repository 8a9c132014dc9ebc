#include "ControllerModel.h"

#include "preview/ProgramPreview.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace kvtsim {

namespace {

struct Range {
    long long min, max;
    bool argumentRequired;
    bool argumentAllowed;
};

// The controller's own limits, which the program's editor keeps within.
const std::map<std::string, Range>& Vocabulary() {
    static const std::map<std::string, Range> codes = {
        {"ST", {1, 3, false, true}},    {"LD", {1, 3, true, true}},        {"ED", {0, 0, false, false}},
        {"BG", {0, 0, false, false}},   {"EN", {0, 0, false, false}},      {"MV", {1, 10000000, false, true}},
        {"SD", {1, 10000, true, true}}, {"SS", {0, 2000, true, true}},     {"AL", {-500, 500, true, true}},
        {"RS", {0, 0, false, false}},   {"SP", {1, 99999999, true, true}}, {"DS", {0, 0, false, false}},
        {"LL", {0, 0, false, false}},   {"JP", {0, 255, true, true}},      {"DL", {0, 0, false, false}},
        {"DR", {0, 0, false, false}},   {"SF", {1, 4, true, true}},        {"WL", {1, 4, true, true}},
        {"WH", {1, 4, true, true}},     {"CF", {1, 4, true, true}},        {"ON", {0, 0, false, true}},
        {"OF", {0, 0, false, true}},    {"PS", {1, 3, true, true}},        {"MH", {1, 4, true, true}},
        {"ML", {1, 4, true, true}},     {"HM", {0, 0, false, false}},      {"LB", {0, 0, false, false}},
        {"SB", {1, 250, true, true}},   {"RB", {0, 0, false, false}},      {"RD", {1, 3, true, true}},
    };
    return codes;
}

std::optional<long long> ParseArgument(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+')
        ++first;
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::string Status(int channel, int code) {
    return "E" + std::to_string(channel) + std::to_string(code) + "*";
}

} // namespace

std::vector<std::vector<std::string>> ControllerModel::Receive(const std::string& bytes,
                                                               Clock::time_point now) {
    std::vector<std::vector<std::string>> out;
    for (char c : bytes) {
        if (c == '\r' || c == '\n')
            continue;
        if (c != '*') {
            pending_ += c;
            continue;
        }
        std::string command;
        command.swap(pending_);
        if (command.empty())
            continue;
        commands_.push_back(command);
        out.push_back(Execute(command, now));
    }
    return out;
}

std::optional<Clock::duration> ControllerModel::Duration(const std::vector<std::string>& program) const {
    // The preview's own estimate, so that a program completes when the preview says it would.
    QStringList lines;
    for (const std::string& command : program)
        lines << QString::fromStdString(command);
    const TMotionEffect motion = Preview::PreviewProgram(lines);
    if (motion.openLine >= 0)
        return std::nullopt; // an endless move or a wait for a signal: no end of its own
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(motion.seconds * timeScale_));
}

void ControllerModel::Start(int channel, Clock::time_point now) {
    Channel& c = channels_[channel];
    c.running = true;
    c.paused = false;
    const auto duration = Duration(c.program);
    c.endless = !duration;
    c.end = duration ? now + *duration : now;
}

std::vector<std::string> ControllerModel::Execute(const std::string& command, Clock::time_point now) {
    const std::string echo = command + "*";
    const std::string code = command.substr(0, 2);
    const std::string argumentText = command.substr(std::min<size_t>(2, command.size()));
    const auto argument = ParseArgument(argumentText);

    int channel = recording_ != 0 ? recording_ : 1;
    if ((code == "ST" || code == "LD" || code == "PS" || code == "RD") && argument && *argument >= 1 &&
        *argument <= 3)
        channel = int(*argument);

    const auto known = Vocabulary().find(code);
    if (command.size() < 2 || known == Vocabulary().end())
        return {echo, Status(channel, 6)};
    const Range& range = known->second;
    if (!argumentText.empty()) {
        if (!range.argumentAllowed || !argument || *argument < range.min || *argument > range.max)
            return {echo, Status(channel, 9)};
    } else if (range.argumentRequired) {
        return {echo, Status(channel, 9)};
    }

    if (recording_ != 0) {
        if (code == "ED") {
            channels_[recording_].program = recordingProgram_;
            recordingProgram_.clear();
            recording_ = 0;
            return {echo, Status(channel, 0)};
        }
        if (code == "LD" || code == "ST" || code == "PS" || code == "RD" || code == "RB")
            return {echo, Status(channel, 6)};
        recordingProgram_.push_back(command);
        return {echo, Status(channel, 0)};
    }

    if (code == "LD") {
        recording_ = channel;
        recordingProgram_.clear();
        return {echo, Status(channel, 0)};
    }
    if (code == "ST") {
        if (!argument) {
            for (int n = 1; n <= 3; ++n) {
                if (!channels_[n].program.empty())
                    Start(n, now);
            }
            return {echo, Status(1, 0)};
        }
        Channel& c = channels_[channel];
        if (c.running) {
            // A second ST stops the program; the controller reports it finished straight away.
            c.running = c.paused = false;
            return {echo, Status(channel, 0), Status(channel, 4)};
        }
        Start(channel, now);
        return {echo, Status(channel, 0)};
    }
    if (code == "PS") {
        Channel& c = channels_[channel];
        if (c.running && !c.paused) {
            c.paused = true;
            c.remaining = std::max(Clock::duration::zero(), c.end - now);
            return {echo, Status(channel, 2)};
        }
        if (c.running && c.paused) {
            c.paused = false;
            c.end = now + c.remaining;
            return {echo, Status(channel, 8)};
        }
        return {echo, Status(channel, 0)};
    }
    if (code == "RD")
        return {echo + ReadBack(channel)};
    if (code == "RB")
        return {echo + ReadBack(1)};
    return {echo, Status(channel, 0)};
}

std::string ControllerModel::ReadBack(int channel) const {
    const auto& program = channels_.at(channel).program;
    std::string text;
    if (!program.empty())
        text += "LD" + std::to_string(channel) + "*";
    for (const std::string& command : program) {
        const std::string code = command.substr(0, 2);
        const auto argument = ParseArgument(command.substr(2));
        if (!argument) {
            text += command + "*";
        } else if (code == "AL" && *argument < 0) {
            text += "AL" + std::to_string(32768 - *argument) + "*"; // -a travels as 32768 + a
        } else {
            text += code + std::to_string(*argument) + "*";
        }
    }
    return text + "ED*";
}

std::vector<std::string> ControllerModel::Due(Clock::time_point now) {
    std::vector<std::string> out;
    for (int n = 1; n <= 3; ++n) {
        Channel& c = channels_[n];
        if (c.running && !c.paused && !c.endless && c.end <= now) {
            c.running = false;
            out.push_back(Status(n, 4));
        }
    }
    return out;
}

std::optional<Clock::time_point> ControllerModel::NextDeadline() const {
    std::optional<Clock::time_point> next;
    for (int n = 1; n <= 3; ++n) {
        const Channel& c = channels_[n];
        if (c.running && !c.paused && !c.endless && (!next || c.end < *next))
            next = c.end;
    }
    return next;
}

} // namespace kvtsim
