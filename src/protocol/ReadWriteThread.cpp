#include "ReadWriteThread.h"

#include "UnitKVTComands.h"
#include "core/SettingsView.h"
#include "core/TextCodec.h"
#include "serial/LineWriter.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {
std::atomic<quint64> lastSerial{0};
using Clock = std::chrono::steady_clock;
} // namespace

// Where a sending stands, shared with the reply reader, which tells it of every answer.
class TRWThread::TState : public TReplyReader::IListener {
public:
    TState(QStringList lines, const ISettingsView& datas, TReplyReader& reader, ILineWriter& writer)
        : lines(std::move(lines)), datas(datas), reader(reader), writer(writer) {
        // Each line as it goes on the line, ready before the first is sent.
        bytes.reserve(this->lines.size());
        for (const QString& line : this->lines)
            bytes.append(TextCodec::ToSerialBytes(line + '*'));
    }

    void Answered(const TReplyReader::TAnswer& answer) override {
        std::unique_lock lock(mutex);
        if (done || index < 0 || index >= lines.size())
            return;
        if (answer.communicationErrors != communicationErrors) {
            Finish(End::CommunicationError); // the recovery must not find a list still going out
            return;
        }
        // Only a status token received after this line was sent, following its own echo.
        if (answer.serial <= answeredBefore || !TReplyReader::IsStatusToken(answer.status) ||
            !EchoMatches(answer.echo, lines[index]))
            return;
        const Reply reply = Classify(answer.status);
        answerChannel = answer.status[1].digitValue();
        answers.push_back({answer.serial, index, lines[index], answer.echo, answer.status});
        if (reply == Reply::CommandError && datas.Reactions().er6 == 1)
            Finish(End::CommandError);
        else if (reply == Reply::DataError && datas.Reactions().er9 == 1)
            Finish(End::DataError);
        else
            SendNext();
    }

    // Sends the next line that is not empty; the end when there is none, or when the operator
    // asked to stop. Called with the lock.
    void SendNext() {
        do
            ++index;
        while (index < lines.size() && lines[index].isEmpty());
        if (index >= lines.size()) {
            Finish(End::Completed);
            return;
        }
        if (stopAfterLine) {
            Finish(End::StoppedByOperator);
            return;
        }
        currentLine = index + 1;
        // Answers published until now belong to earlier lines; text not yet cut into tokens is
        // no part of this line's echo.
        std::tie(answeredBefore, communicationErrors) = reader.Position();
        reader.LineSent();
        deadline = Clock::now() + std::chrono::milliseconds(datas.ReplyTime());
        if (!writer.WriteBytes(bytes[index])) {
            Finish(End::PortClosed); // nothing can answer a line that never left
            return;
        }
        ++sent;
    }

    void Finish(End how) {
        done = true;
        end = how;
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable_any changed;
    const QStringList lines;
    QList<QByteArray> bytes;
    int index = -1; // the line waiting for its answer
    quint64 answeredBefore = 0;
    quint64 communicationErrors = 0;
    Clock::time_point deadline{};
    bool done = false;
    bool stopAfterLine = false;
    End end = End::Completed;
    int sent = 0;
    std::atomic<int> currentLine{0};
    int answerChannel = 0;           // the channel of the last status that answered a line
    std::deque<TLineAnswer> answers; // lines answered, not yet taken

    const ISettingsView& datas;
    TReplyReader& reader;
    ILineWriter& writer;
};

TRWThread::TRWThread(QStringList lines, const ISettingsView& datas, TReplyReader& reader, ILineWriter& writer)
    : state_(std::make_shared<TState>(std::move(lines), datas, reader, writer)), reader_(reader),
      serial_(++lastSerial), lineCount_(int(state_->lines.size())) {
    qRegisterMetaType<TRWThread::TReport>();
}

TRWThread::~TRWThread() {
    StopAndWait();
}

void TRWThread::StopAndWait() {
    reader_.Detach(state_.get());
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

void TRWThread::Start() {
    if (thread_.joinable())
        return;
    reader_.Attach(state_);
    thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

void TRWThread::StopAfterCurrentLine() {
    std::unique_lock lock(state_->mutex);
    state_->stopAfterLine = true;
}

void TRWThread::PortLost() {
    std::unique_lock lock(state_->mutex);
    if (!state_->done)
        state_->Finish(End::LineLost);
}

int TRWThread::CurrentLine() const {
    return state_->currentLine;
}

std::vector<TRWThread::TLineAnswer> TRWThread::TakeAnswers(quint64 throughSerial) {
    std::unique_lock lock(state_->mutex);
    std::vector<TLineAnswer> taken;
    auto& answers = state_->answers;
    while (!answers.empty() && answers.front().serial <= throughSerial) {
        taken.push_back(answers.front());
        answers.pop_front();
    }
    return taken;
}

bool TRWThread::EchoMatches(const QString& echo, const QString& line) {
    // The echo as the reply reader keeps it, line noise before it already dropped, is the line
    // and its '*'; the controller may drop the plus sign of an argument. Compared in place: this
    // runs for every answer.
    qsizetype e = 0, l = 0;
    const qsizetype echoSize = echo.size(), lineSize = line.size();
    for (;;) {
        while (e < echoSize && echo[e] == '+')
            ++e;
        while (l < lineSize && line[l] == '+')
            ++l;
        if (l == lineSize)
            return e + 1 == echoSize && echo[e] == '*';
        if (e == echoSize || echo[e] != line[l])
            return false;
        ++e;
        ++l;
    }
}

TRWThread::Reply TRWThread::Classify(const QString& status) {
    if (status == "E16*" || status == "E26*" || status == "E36*")
        return Reply::CommandError;
    if (status == "E19*" || status == "E29*" || status == "E39*")
        return Reply::DataError;
    return Reply::Go;
}

void TRWThread::Execute(std::stop_token stop) {
    TState& state = *state_;
    TReport report;
    report.count = lineCount_;
    // A status an earlier line still owes must not be taken for the first line's answer.
    const bool settled =
        reader_.Owed().WaitUntilSettled(int(OwedStatusReplyTimes * state.datas.ReplyTime()), stop);
    {
        std::unique_lock lock(state.mutex);
        if (settled)
            state.SendNext();
        else
            state.Finish(End::Stopped);
        // The reader sends the lines that follow; this thread keeps the time of each.
        while (!state.done) {
            if (stop.stop_requested()) {
                state.Finish(End::Stopped);
                break;
            }
            if (Clock::now() >= state.deadline) {
                state.Finish(End::NoAnswer);
                break;
            }
            const Clock::time_point deadline = state.deadline;
            state.changed.wait_until(lock, stop, deadline,
                                     [&] { return state.done || state.deadline != deadline; });
        }
        if (state.end == End::NoAnswer) {
            // Its answer may still come: owed, by the line's own channel when it names one,
            // else by the channel that answered the lines before it.
            const QString line = state.lines.value(state.index);
            const int code = TKVTCommands::CommandIndex(line);
            const int named = line.mid(2).toInt();
            const bool namesChannel =
                (code == TKVTCommands::LD || code == TKVTCommands::ST || code == TKVTCommands::PS) &&
                named >= 1 && named <= 3;
            reader_.Owed().NoteUnanswered(line, namesChannel ? named : state.answerChannel,
                                          [line](const QString& echo) { return EchoMatches(echo, line); });
        }
        report.end = state.end;
        report.index = state.index;
        report.line = state.lines.value(state.index);
        report.sent = state.sent;
    }
    reader_.Detach(state_.get());
    finalReport_ = report;
    // Finished before the report: whoever learns of the end may start the next sending.
    finished_ = true;
    emit Ended(serial_, report);
}
