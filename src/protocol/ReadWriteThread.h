#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

class TCommonDatas;
class TNamedEvent;

// The transmission thread: it sends the lines of a command list one at a time, each followed by
// '*', and waits for the controller's answer to each before the next. It stops on a missing
// answer, and on a command error or command data error when the settings say so.
//
// It works on its own copy of the list, taken when it starts, so nothing the operator does
// meanwhile changes what is sent; any number of lines is sent whole. An answer counts for a line
// only when it is a status token that follows that line's own echo: a late answer to an earlier
// line is never taken for the answer to the next one.
class TRWThread {
public:
    struct Links {
        TCommonDatas& datas;
        TNamedEvent& replyEvent;
        TNamedEvent& readyEvent;
        std::function<bool(const QString&)> write; // sends on the serial port
        std::function<void()> noAnswer;            // "no reply" to log (posted to the window)
        std::function<void(TRWThread*)> finished;  // the thread is done (posted to the window)
    };

    TRWThread(QStringList lines, Links links);
    // Asks the thread to stop and waits for it; it ends within one wait at most.
    ~TRWThread();
    TRWThread(const TRWThread&) = delete;
    TRWThread& operator=(const TRWThread&) = delete;

    void RequestStop() { thread_.request_stop(); }
    bool Finished() const { return finished_; }

    // The answer to `line`, sent after the reply event's generation `generation`: " " (go on),
    // "Er6", "Er9", or "No answer!" when none came within the reply time.
    QString WaitReply(const QString& line, quint64 generation, std::stop_token stop);

    static bool EchoMatches(const QString& echo, const QString& line);

private:
    void Execute(std::stop_token stop);

    QStringList lines_;
    Links links_;
    std::atomic<bool> finished_{false};
    std::jthread thread_;
};
