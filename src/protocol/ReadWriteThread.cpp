#include "ReadWriteThread.h"

#include "ReplyHandler.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "serial/LineWriter.h"

namespace {
std::atomic<quint64> lastSerial{0};
} // namespace

TRWThread::TRWThread(QStringList lines, TCommonDatas& datas, TNamedEvent& replyEvent, TNamedEvent& readyEvent,
                     ILineWriter& writer)
    : lines_(std::move(lines)), datas_(datas), replyEvent_(replyEvent), readyEvent_(readyEvent),
      writer_(writer), serial_(++lastSerial) {}

TRWThread::~TRWThread() {
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

void TRWThread::Start() {
    if (!thread_.joinable())
        thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

bool TRWThread::EchoMatches(const QString& echo, const QString& line) {
    // The echo as the reply handler keeps it, line noise before it already dropped; the
    // controller may drop the plus sign of an argument.
    QString expected = line + '*';
    QString got = echo;
    expected.remove('+');
    got.remove('+');
    return got == expected;
}

TRWThread::Reply TRWThread::WaitReply(const QString& line, quint64 generation, std::stop_token stop) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(datas_.ReplyTime.load());
    for (;;) {
        if (!replyEvent_.WaitForSetAfter(generation, deadline, stop))
            return Reply::NoAnswer; // the event is left as it is
        generation = replyEvent_.Generation();
        const auto [echo, status] = datas_.LastReplyAndError();
        if (!TReplyHandler::IsStatusToken(status) || !EchoMatches(echo, line))
            continue; // an answer to something else: wait on for this line's own
        Reply result = Reply::Go;
        if (status == "E16*" || status == "E26*" || status == "E36*")
            result = Reply::CommandError;
        if (status == "E19*" || status == "E29*" || status == "E39*")
            result = Reply::DataError;
        replyEvent_.Reset();
        return result;
    }
}

void TRWThread::Execute(std::stop_token stop) {
    End end = End::Completed;
    int index = 0;
    for (; index < lines_.size(); ++index) {
        const QString& line = lines_[index];
        if (stop.stop_requested())
            break;
        if (line.isEmpty())
            continue;
        const quint64 generation = replyEvent_.Generation();
        if (!writer_.WriteText(line + '*')) {
            // Nothing can answer a line that never left: stop at once.
            end = End::PortClosed;
            break;
        }
        const Reply reply = WaitReply(line, generation, stop);
        if (stop.stop_requested())
            break;
        if (reply == Reply::NoAnswer) {
            end = End::NoAnswer;
            break;
        }
        if (reply == Reply::CommandError && datas_.Er6Reaction == 1) {
            end = End::CommandError;
            break;
        }
        if (reply == Reply::DataError && datas_.Er9Reaction == 1) {
            end = End::DataError;
            break;
        }
    }
    if (stop.stop_requested())
        end = End::Stopped;
    // Finished before the ready event: whoever wakes on it may start the next transmission.
    finished_ = true;
    readyEvent_.Set();
    emit Ended(serial_, end, index, lines_.value(index));
}
