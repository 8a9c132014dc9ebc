#include "OwedAnswers.h"

#include <algorithm>

void TOwedAnswers::Arrived(const std::vector<TArrival>& tokens) {
    {
        std::lock_guard lock(mutex_);
        lastArrival_ = Clock::now();
        for (const TArrival& t : tokens) {
            // The echoes still waiting for their status: a status belongs to the echo it follows.
            if (t.echo) {
                unansweredEchoes_.push_back(t.token);
                if (unansweredEchoes_.size() > 16)
                    unansweredEchoes_.pop_front();
            } else {
                const auto it = std::find(unansweredEchoes_.begin(), unansweredEchoes_.end(), t.itsEcho);
                if (it != unansweredEchoes_.end())
                    unansweredEchoes_.erase(it);
            }
            Settle(t.echo, t.token);
        }
    }
    arrived_.notify_all();
}

void TOwedAnswers::Settle(bool echo, const QString& token) {
    switch (owed_.kind) {
    case TOwed::None:
        return;
    case TOwed::Answer:
        // The whole answer is owed: its echo makes its status the one owed.
        if (echo && isOwedEcho_ && isOwedEcho_(token)) {
            owed_.kind = TOwed::Status;
            echoSinceOwed_ = false;
        }
        return;
    case TOwed::Status:
        break;
    }
    // A status that follows an echo come since is that echo's own, and pays nothing; only an
    // answering status of the line's channel, alone, pays what the line owes.
    if (echo) {
        echoSinceOwed_ = true;
        return;
    }
    if (echoSinceOwed_) {
        echoSinceOwed_ = false;
        return;
    }
    const QChar code = token.size() == 4 ? token[2] : QChar();
    const bool answers = code == '0' || code == '6' || code == '9';
    if (answers && (owed_.channel == 0 || token[1] == QChar('0' + owed_.channel)))
        owed_ = {};
}

void TOwedAnswers::NoteUnanswered(const QString& line, int channel,
                                  const std::function<bool(const QString&)>& isItsEcho) {
    std::lock_guard lock(mutex_);
    const bool echoCame = std::any_of(unansweredEchoes_.begin(), unansweredEchoes_.end(), isItsEcho);
    owed_ = {echoCame ? TOwed::Status : TOwed::Answer, channel, line};
    isOwedEcho_ = isItsEcho;
    echoSinceOwed_ = false;
    lastArrival_ = std::max(lastArrival_, Clock::now());
}

void TOwedAnswers::RestoreOwed(const TOwed& owed, qint64 quietForMs) {
    std::lock_guard lock(mutex_);
    owed_ = owed;
    const QString line = owed.line;
    isOwedEcho_ = [line](const QString& echo) { return echo == line + '*'; };
    echoSinceOwed_ = false;
    owedUntil_ = Clock::now() + std::chrono::milliseconds(std::max<qint64>(0, quietForMs));
}

std::pair<TOwedAnswers::TOwed, qint64> TOwedAnswers::OwedNow(int quietMs) const {
    std::lock_guard lock(mutex_);
    const auto until = std::max(lastArrival_ + std::chrono::milliseconds(quietMs), owedUntil_);
    const qint64 left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (owed_.kind == TOwed::None || left <= 0)
        return {TOwed{}, 0};
    return {owed_, left};
}

bool TOwedAnswers::WaitUntilSettled(int quietMs, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (owed_.kind != TOwed::None && !stop.stop_requested()) {
        const auto quietUntil = std::max(lastArrival_ + std::chrono::milliseconds(quietMs), owedUntil_);
        if (Clock::now() >= quietUntil) {
            owed_ = {}; // taken for lost
            break;
        }
        arrived_.wait_until(lock, stop, quietUntil, [&] {
            return owed_.kind == TOwed::None ||
                   std::max(lastArrival_ + std::chrono::milliseconds(quietMs), owedUntil_) != quietUntil;
        });
    }
    return !stop.stop_requested();
}
