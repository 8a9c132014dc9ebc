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
// It touches no control: its outcome reaches the main thread through Finished (queued). Stopping
// it (its destruction) ends the wait at once.
class TChanReadThread : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Read, NoAnswer, Stopped };
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
    // Read: the event came, or time ran out with part of a reply collected; NoAnswer: nothing.
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
