#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <limits>
#include <thread>

class ILineWriter;
class ISettingsView;
class TNamedEvent;

// The read-back thread: sends the read-back request ("RB*" with Direct Control, else "RD1*") and
// waits for the reply handler to have collected a program up to its ED, as long as characters
// keep coming: the reply time is the longest silence it waits through, not the whole read (at
// 9600 baud a long program takes many reply times), and a read never outlasts what the most a
// program can hold would take.
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

    // `request` is "RD<n>*" or "RB*" (RequestFor); `received` tells how
    // many bytes have come so far (from any thread).
    // `maxMs` bounds the whole read: what the largest program takes at the line's rate, so that
    // a line that keeps dribbling a byte now and then cannot hold a read for days.
    TChanReadThread(QString request, const ISettingsView& datas, TNamedEvent& readBackEvent,
                    ILineWriter& writer, std::function<quint64()> received,
                    qint64 maxMs = std::numeric_limits<qint64>::max());
    // The most a read takes in: the bytes of the largest program, with room for noise.
    static constexpr quint64 MaxReadBytes = 65537ull * 32;
    // How long the largest program takes at `baud` (eleven bits a byte at most), and a margin.
    static qint64 LongestReadMs(int baud, int replyTimeMs);
    // The request for the program of channel 1 to 3, or for the buffer (0).
    static QString RequestFor(int channel);
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
    const ISettingsView& datas_;
    std::function<quint64()> received_;
    qint64 maxMs_;
    TNamedEvent& readBackEvent_;
    ILineWriter& writer_;
    std::atomic<bool> finished_{false};
    std::jthread thread_;
};
