#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A controller whose every answer the test writes: a pseudo-terminal linked where the program
// looks for its port, and a thread that cuts what the program sends into commands (up to each
// '*') and answers each as the test's script says: any bytes, each after its own delay.
// Reopenable after a hang-up, so a test can pull the plug and put it back.
class ScriptedController {
public:
    struct TReply {
        int delayMs = 0; // after the command arrived
        std::string bytes;
    };
    // The answer to command number `number` (from 1), without its '*'.
    using Script = std::function<std::vector<TReply>(const std::string& command, int number)>;

    ScriptedController() = default;
    ~ScriptedController();
    ScriptedController(const ScriptedController&) = delete;
    ScriptedController& operator=(const ScriptedController&) = delete;

    // Opens the terminal, links it as `linkPath` and starts answering.
    bool Start(const QString& linkPath, Script script);
    void Stop();
    // The line closes, as when the device is unplugged; Start opens a new one.
    void HangUp();
    // Sends bytes now, unasked.
    void Send(const std::string& bytes);
    std::vector<std::string> Commands() const;
    bool WaitForCommands(size_t count, int timeoutMs) const;

private:
    void Run();
    using Clock = std::chrono::steady_clock;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    Script script_;
    std::multimap<Clock::time_point, std::string> outbox_;
    std::vector<std::string> commands_;
    std::string pending_;
    int master_ = -1, keeper_ = -1, wake_ = -1;
    bool stop_ = false;
    std::thread thread_;
};
