#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <thread>

class ILineWriter;
class TCommonDatas;
class TNamedEvent;

// The read-back thread: sends the read-back request ("RB*" with Direct Control, else "RD1*") and
// waits, at most the reply time, for the reply handler to have collected a program up to its ED.
// It touches no control and judges nothing: whether a wait that ran out had an answer after all
// is decided on the main thread, once what was received meanwhile has been handled. Its end
// reaches the main thread through Done (queued). Stopping it (its destruction) ends the wait at
// once.
class TChanReadThread : public QObject {
    Q_OBJECT
public:
    // Read: a program came whole (or, when judged, part of one); NoAnswer: nothing came (judged
    // on the main thread); TimedOut: the reply time ran out; Stopped: the read was abandoned.
    enum class Outcome { Read, NoAnswer, TimedOut, Stopped };
    Q_ENUM(Outcome)

    // `request` is "RB*" with Direct Control, else "RD1*" (RequestFor).
    TChanReadThread(QString request, TCommonDatas& datas, TNamedEvent& readBackEvent, ILineWriter& writer);
    static QString RequestFor(const TCommonDatas& datas);
    ~TChanReadThread() override;
    TChanReadThread(const TChanReadThread&) = delete;
    TChanReadThread& operator=(const TChanReadThread&) = delete;

    void Start();
    bool Finished() const { return finished_; }

signals:
    // Read (the event came), TimedOut or Stopped.
    void Done(TChanReadThread::Outcome outcome);

private:
    void Execute(std::stop_token stop);

    const QString request_;
    TCommonDatas& datas_;
    TNamedEvent& readBackEvent_;
    ILineWriter& writer_;
    std::atomic<bool> finished_{false};
    std::jthread thread_;
};
