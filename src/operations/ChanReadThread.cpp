#include "ChanReadThread.h"

#include "core/Events.h"
#include "core/SettingsView.h"
#include "serial/LineWriter.h"

#include <QElapsedTimer>

TChanReadThread::TChanReadThread(QString request, const ISettingsView& datas, TNamedEvent& readBackEvent,
                                 ILineWriter& writer, std::function<quint64()> received, qint64 maxMs)
    : request_(std::move(request)), datas_(datas), received_(std::move(received)), maxMs_(maxMs),
      readBackEvent_(readBackEvent), writer_(writer) {}

qint64 TChanReadThread::LongestReadMs(int baud, int replyTimeMs) {
    return qint64(MaxReadBytes) * 11 * 1000 / std::max(baud, 1) + 10 * qint64(replyTimeMs);
}

QString TChanReadThread::RequestFor(int channel) {
    return channel == 0 ? QString("RB*") : QString("RD%1*").arg(channel);
}

TChanReadThread::~TChanReadThread() {
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

void TChanReadThread::Start() {
    if (!thread_.joinable())
        thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

void TChanReadThread::Execute(std::stop_token stop) {
    const quint64 start = received_();
    QElapsedTimer elapsed;
    elapsed.start();
    writer_.WriteText(request_);
    bool complete = false;
    for (quint64 before = start;;) {
        complete = readBackEvent_.WaitFor(datas_.ReplyTime(), stop);
        const quint64 now = received_();
        // Silence for a whole reply time, more than any program, or longer than the largest
        // program takes: the read is over.
        if (complete || stop.stop_requested() || now == before || now - start > MaxReadBytes ||
            elapsed.elapsed() > maxMs_)
            break;
        before = now;
    }
    Outcome outcome = complete ? Outcome::Read : Outcome::TimedOut;
    if (stop.stop_requested())
        outcome = Outcome::Stopped;
    finished_ = true;
    emit Done(outcome);
}
