#include "ReadWriteThread.h"

#include "ReplyHandler.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"

TRWThread::TRWThread(QStringList lines, Links links) : lines_(std::move(lines)), links_(std::move(links)) {
    thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

TRWThread::~TRWThread() {
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

bool TRWThread::EchoMatches(const QString& echo, const QString& line) {
    // The controller may drop the plus sign of an argument; bytes before the echo (line noise)
    // stay attached to it.
    QString expected = line + '*';
    QString got = echo;
    expected.remove('+');
    got.remove('+');
    return got.endsWith(expected);
}

QString TRWThread::WaitReply(const QString& line, quint64 generation, std::stop_token stop) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(links_.datas.ReplyTime.load());
    for (;;) {
        if (!links_.replyEvent.WaitForSetAfter(generation, deadline, stop))
            return "No answer!"; // the event is left as it is
        generation = links_.replyEvent.Generation();
        const auto [echo, status] = links_.datas.LastReplyAndError();
        if (!TReplyHandler::IsStatusToken(status) || !EchoMatches(echo, line))
            continue; // an answer to something else: wait on for this line's own
        QString result = " ";
        if (status == "E16*" || status == "E26*" || status == "E36*")
            result = "Er6";
        if (status == "E19*" || status == "E29*" || status == "E39*")
            result = "Er9";
        links_.replyEvent.Reset();
        return result;
    }
}

void TRWThread::Execute(std::stop_token stop) {
    for (const QString& line : lines_) {
        if (stop.stop_requested())
            break;
        if (line.isEmpty())
            continue;
        const quint64 generation = links_.replyEvent.Generation();
        links_.write(line + '*');
        const QString result = WaitReply(line, generation, stop);
        if (stop.stop_requested())
            break;
        if (result.endsWith('!')) {
            links_.noAnswer();
            break;
        }
        if (result.endsWith('6') && links_.datas.Er6Reaction == 1)
            break;
        if (result.endsWith('9') && links_.datas.Er9Reaction == 1)
            break;
    }
    links_.readyEvent.Set();
    finished_ = true;
    links_.finished(this);
}
