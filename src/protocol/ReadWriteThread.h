#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

class ILineWriter;
class TCommonDatas;
class TNamedEvent;

// The transmission thread: it sends the lines of a command list one at a time, each followed by
// '*', and waits for the controller's answer to each before the next. It stops on a missing
// answer, and on a command error or command data error when the settings say so.
//
// It works on its own copy of the list, taken when it is created, so nothing the operator does
// meanwhile changes what is sent; any number of lines is sent whole. An answer counts for a line
// only when it is a status token that follows that line's own echo: a late answer to an earlier
// line is never taken for the answer to the next one.
//
// Its one report, Ended, is emitted from the transmission thread; a receiver on the main thread
// gets it queued. Every transmission has a serial number of its own, never reused, by which a
// late report of an earlier transmission is told from the one of the running transmission.
class TRWThread : public QObject {
    Q_OBJECT
public:
    // The answer to one line (WaitReply).
    enum class Reply { Go, NoAnswer, CommandError, DataError };
    Q_ENUM(Reply)
    // How a transmission ended.
    enum class End { Completed, NoAnswer, CommandError, DataError, PortClosed, Stopped };
    Q_ENUM(End)

    TRWThread(QStringList lines, TCommonDatas& datas, TNamedEvent& replyEvent, TNamedEvent& readyEvent,
              ILineWriter& writer);
    // Asks the thread to stop and waits for it; it ends within one wait at most.
    ~TRWThread() override;
    TRWThread(const TRWThread&) = delete;
    TRWThread& operator=(const TRWThread&) = delete;

    // Starts sending (once); connect to Ended first.
    void Start();
    void RequestStop() { thread_.request_stop(); }
    bool Finished() const { return finished_; }
    quint64 Serial() const { return serial_; }

    // The answer to `line`, sent after the reply event's generation `generation`: Go, CommandError
    // (E<n>6*), DataError (E<n>9*), or NoAnswer when none came within the reply time.
    Reply WaitReply(const QString& line, quint64 generation, std::stop_token stop);

    static bool EchoMatches(const QString& echo, const QString& line);

signals:
    // The transmission ended at line `index` (`line`; the count of lines when all were sent).
    void Ended(quint64 serial, TRWThread::End end, int index, const QString& line);

private:
    void Execute(std::stop_token stop);

    QStringList lines_;
    TCommonDatas& datas_;
    TNamedEvent& replyEvent_;
    TNamedEvent& readyEvent_;
    ILineWriter& writer_;
    const quint64 serial_;
    std::atomic<bool> finished_{false};
    std::jthread thread_;
};
