#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <utility>
#include <vector>

// The book of answers a line still owes. A status token says only which channel and which code:
// not which command it answers. A line that went unanswered may still get its answer late, and
// that answer would be taken for the answer to whatever line is sent next. So when a line goes
// unanswered (NoteUnanswered), its answer is owed, and the next line is sent (WaitUntilSettled)
// only once it has come, or the line has been quiet for `quietMs` after the line gave up. When
// the line's echo came, its status is owed: paid by an answering status (code 0, 6 or 9) of the
// line's channel that comes alone (one that follows another echo is that echo's own). When
// nothing came, the whole answer is owed: paid by the line's own echo and a status after it. An
// answer later than that cannot be told from the next line's own.
class TOwedAnswers {
public:
    struct TOwed {
        enum Kind { None, Status, Answer } kind = None;
        int channel = 0; // the channel whose status pays it; 0 when not known
        QString line;    // Answer: the line whose echo is awaited
    };

    // The tokens of a chunk came (on the read thread): each an echo (cleaned), or a status with
    // the echo it follows.
    struct TArrival {
        bool echo;
        QString token;
        QString itsEcho; // a status: the echo it follows
    };
    void Arrived(const std::vector<TArrival>& tokens);
    // `isItsEcho` tells the line's echo (a cleaned token); `channel` is the line's, or 0.
    void NoteUnanswered(const QString& line, int channel,
                        const std::function<bool(const QString&)>& isItsEcho);
    // False when `stop` was requested first.
    bool WaitUntilSettled(int quietMs, std::stop_token stop);
    // What is owed now, and how long the line must still stay quiet for it to be given up (ms).
    std::pair<TOwed, qint64> OwedNow(int quietMs) const;
    // What an earlier session on this line left owed, the line to stay quiet for `quietForMs`
    // more unless it comes: a new session (another call of kvtctl) waits for it too.
    void RestoreOwed(const TOwed& owed, qint64 quietForMs);

private:
    using Clock = std::chrono::steady_clock;
    void Settle(bool echo, const QString& token); // with the lock

    mutable std::mutex mutex_;
    std::condition_variable_any arrived_;
    std::deque<QString> unansweredEchoes_; // the latest echoes no status has followed yet
    TOwed owed_;
    std::function<bool(const QString&)> isOwedEcho_;
    bool echoSinceOwed_ = false; // an echo came after the owed one (its status is its own)
    Clock::time_point lastArrival_{};
    Clock::time_point owedUntil_{}; // restored from an earlier session
};
