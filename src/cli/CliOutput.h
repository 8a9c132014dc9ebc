#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

// What kvtctl tells: one line per event on standard output, readable or (with --json) one JSON
// object with the event's fields (event, line, text, answer, outcome, ...), stable for scripts;
// the progress of a long sending on standard error when that is a terminal; errors on
// standard error.
class TCliOutput {
public:
    using TFields = std::vector<std::pair<QString, QVariant>>;

    explicit TCliOutput(bool json);

    // An event of kind `event`: `readable` is its line in the readable form (none: the readable
    // form leaves it out, another line has told it).
    void Event(const QString& event, const TFields& fields, const QString& readable);
    // "Line k of N", rewritten in place on a terminal; nothing otherwise.
    void Progress(int line, int count);
    void Error(const QString& text);
    // Called once when standard output is closed (a reader such as `head` went away): a request
    // to stop, as Ctrl+C is.
    void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }
    bool Closed() const { return closed_; }
    // A write of standard output that failed otherwise (a full disk, a closed descriptor), checked
    // once more at the end (Flush): why, or empty.
    const QString& Failure() const { return failure_; }
    void Flush();
    // Standard output was closed from the start.
    void SetFailure(int error) { Failed(error); }

private:
    void EndProgress();
    bool json_;
    bool progressShown_ = false;
    bool terminal_;
    bool closed_ = false;
    QString failure_;
    void Failed(int error);
    std::function<void()> onClosed_;
};
