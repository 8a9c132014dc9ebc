#include "ReplyReader.h"

#include "core/TextCodec.h"
#include "core/UnitCommonDatas.h"

#include <QRegularExpression>

#include <algorithm>

TReplyReader::TReplyReader(TCommonDatas& datas) : datas_(datas) {}

QString TReplyReader::CleanToken(const QString& token) {
    const auto digit = [](QChar c) { return c >= '0' && c <= '9'; };
    const qsizetype n = token.size();
    if (n > 4 && token[n - 4] == 'E' && digit(token[n - 3]) && digit(token[n - 2]) && token[n - 1] == '*')
        return token.right(4);
    qsizetype first = 0;
    while (first < n - 1 && !(token[first] >= 'A' && token[first] <= 'Z'))
        ++first;
    return first == 0 ? token : token.mid(first);
}

void TReplyReader::ChunkReceived(const QByteArray& chunk, quint32 /*errors*/) {
    quint64 number;
    {
        // A flood waits here for the main thread, unless the port is closing.
        std::unique_lock lock(mutex_);
        drained_.wait(lock, [&] {
            return (queue_.size() < MaxQueuedItems && queuedBytes_ < MaxQueuedBytes) || interrupted_;
        });
        if (interrupted_)
            return;
        if (clearRequested_ && clearThrough_ >= chunks_) {
            buffer_.clear();
            lastEcho_.clear();
        }
        clearRequested_ = false;
        // Text that came before a line was sent is no part of that line's echo. What may be
        // the first characters of a status token ("E", "E1", "E14") is kept only when this
        // chunk goes on with the rest of one; while it still may, the question waits too.
        bool stillMay = false;
        if (dropRequested_ && dropThrough_ >= chunks_) {
            static const QRegularExpression statusStart(QStringLiteral("^E\\d{0,2}$"));
            static const QRegularExpression status(QStringLiteral("^E\\d\\d\\*"));
            const QString joined = buffer_ + TextCodec::FromSerialBytes(chunk.constData(), chunk.size());
            if (!statusStart.match(buffer_).hasMatch()) {
                buffer_.clear();
            } else if (!status.match(joined).hasMatch()) {
                stillMay = statusStart.match(joined).hasMatch();
                if (!stillMay)
                    buffer_.clear();
            }
        }
        dropRequested_ = stillMay;
        number = ++chunks_;
        if (stillMay)
            dropThrough_ = number;
    }
    bytesReceived_ += quint64(chunk.size());
    buffer_ += TextCodec::FromSerialBytes(chunk.constData(), chunk.size());
    Cut(chunk, number);
}

void TReplyReader::Cut(const QByteArray& chunk, quint64 number) {
    // Everything for the main thread is queued at once, before any answer is told: whoever
    // learns of the end of a sending from an answer finds what led to it in the queue.
    std::vector<TItem> items;
    items.reserve(4);
    items.push_back({TItem::Characters, chunk, {}, number, 0});
    bool communicationError = false;

    // One communication error is taken out per chunk; another stays an ordinary token.
    static const QString errors[] = {"E15*", "E25*", "E35*"};
    for (const QString& error : errors) {
        const qsizetype p = buffer_.indexOf(error);
        if (p < 0)
            continue;
        buffer_.remove(p, 4);
        items.push_back({TItem::CommunicationError, {}, error, number, 0});
        communicationError = true;
        // With only the clearing step to do, the recovery empties the buffer at once: the rest
        // of this chunk is dropped.
        if (datas_.AutoRecovery() && !datas_.RecoveryBreakComm() && datas_.RecoveryClearMarks()) {
            buffer_.clear();
            lastEcho_.clear();
        }
        break;
    }

    const qsizetype cr = buffer_.indexOf('\r');
    if (cr >= 0)
        buffer_.remove(cr, 1);
    const qsizetype lf = buffer_.indexOf('\n');
    if (lf >= 0)
        buffer_.remove(lf, 1);

    struct TToPublish {
        quint64 serial;
        QString echo, status;
    };
    std::vector<TToPublish> answers;
    // Each token of this chunk: an echo, or a status with the echo it follows.
    struct TTokenKind {
        bool echo;
        QString echoText;
        QString status;
    };
    std::vector<TTokenKind> kinds;
    qsizetype start = 0;
    for (qsizetype star = buffer_.indexOf('*'); star >= 0; star = buffer_.indexOf('*', start)) {
        const QString token = CleanToken(buffer_.mid(start, star + 1 - start));
        start = star + 1;
        const quint64 serial = ++tokens_;
        items.push_back({TItem::Token, {}, token, number, serial});
        kinds.push_back({!IsStatusToken(token), IsStatusToken(token) ? lastEcho_ : token, token});
        if (!IsStatusToken(token)) {
            lastEcho_ = token;
            continue;
        }
        const char16_t code = token[2].unicode();
        if (code == '0' || code == '6' || code == '9')
            answers.push_back({serial, lastEcho_, token});
    }
    buffer_.remove(0, start);
    if (buffer_.size() > MaxPendingText) {
        buffer_.remove(0, buffer_.size() - MaxPendingText);
        if (!droppedSaid_)
            items.push_back({TItem::TextDropped, {}, {}, number, 0});
        droppedSaid_ = true;
    }

    bool wasEmpty;
    TAnswer afterError;
    quint64 errorsNow = 0;
    {
        std::lock_guard lock(mutex_);
        lastArrival_ = std::chrono::steady_clock::now();
        for (const TTokenKind& kind : kinds) {
            // The echoes still waiting for their status: a status belongs to the echo it follows.
            if (kind.echo) {
                unansweredEchoes_.push_back(kind.echoText);
                if (unansweredEchoes_.size() > 16)
                    unansweredEchoes_.pop_front();
            } else {
                for (auto it = unansweredEchoes_.begin(); it != unansweredEchoes_.end(); ++it) {
                    if (*it == kind.echoText) {
                        unansweredEchoes_.erase(it);
                        break;
                    }
                }
            }
            Settle(kind.echo, kind.echo ? kind.echoText : kind.status);
        }
        wasEmpty = queue_.empty();
        for (TItem& item : items) {
            queuedBytes_ += Cost(item);
            queue_.push_back(std::move(item));
        }
        if (communicationError) {
            ++answer_.communicationErrors;
            afterError = answer_;
        }
        // The answers of this chunk are published before anyone waiting is woken: a line sent
        // once what it waited for has come counts them as before it (Position), never as its own.
        for (const TToPublish& a : answers) {
            if (a.serial > answer_.serial) {
                answer_.serial = a.serial;
                answer_.echo = a.echo;
                answer_.status = a.status;
            }
        }
        errorsNow = answer_.communicationErrors;
    }
    arrived_.notify_all();
    if (wasEmpty && notify_)
        notify_();
    if (communicationError)
        Tell(afterError); // a running sending stops at once
    for (const TToPublish& a : answers)
        Tell({a.serial, a.echo, a.status, errorsNow});
}

void TReplyReader::Interrupt() {
    std::unique_lock lock(mutex_);
    interrupted_ = true;
    lock.unlock();
    drained_.notify_all();
}

void TReplyReader::Resume() {
    std::lock_guard lock(mutex_);
    interrupted_ = false;
    droppedSaid_ = false; // a new opening: a drop is told again
}

std::vector<TReplyReader::TItem> TReplyReader::Take(size_t count, quint64 throughChunk) {
    std::vector<TItem> items;
    {
        std::lock_guard lock(mutex_);
        const size_t n = std::min(count, queue_.size());
        items.reserve(n);
        while (items.size() < n && queue_.front().chunk <= throughChunk) {
            queuedBytes_ -= Cost(queue_.front());
            items.push_back(std::move(queue_.front()));
            queue_.pop_front();
        }
    }
    drained_.notify_all();
    return items;
}

qsizetype TReplyReader::QueuedBytes() const {
    std::lock_guard lock(mutex_);
    return queuedBytes_;
}

bool TReplyReader::HasItems() const {
    std::lock_guard lock(mutex_);
    return !queue_.empty();
}

TReplyReader::TAnswer TReplyReader::Answer() const {
    std::lock_guard lock(mutex_);
    return answer_;
}

std::pair<quint64, quint64> TReplyReader::Position() const {
    std::lock_guard lock(mutex_);
    return {answer_.serial, answer_.communicationErrors};
}

bool TReplyReader::Publish(quint64 serial, const QString& echo, const QString& status) {
    TAnswer answer;
    {
        std::lock_guard lock(mutex_);
        if (serial <= answer_.serial)
            return false;
        answer_.serial = serial;
        answer_.echo = echo;
        answer_.status = status;
        answer = answer_;
    }
    Tell(answer);
    return true;
}

void TReplyReader::Tell(const TAnswer& answer) {
    std::shared_ptr<IListener> listener;
    {
        std::lock_guard lock(mutex_);
        listener = listener_;
    }
    if (listener)
        listener->Answered(answer);
}

void TReplyReader::Attach(std::shared_ptr<IListener> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

void TReplyReader::Detach(const IListener* listener) {
    std::lock_guard lock(mutex_);
    if (listener_.get() == listener)
        listener_.reset();
}

void TReplyReader::Clear(quint64 lastChunk) {
    {
        std::lock_guard lock(mutex_);
        clearRequested_ = true;
        clearThrough_ = lastChunk;
        while (!queue_.empty() && queue_.front().chunk <= lastChunk) {
            queuedBytes_ -= Cost(queue_.front());
            queue_.pop_front();
        }
        answer_.echo.clear();
        answer_.status.clear();
    }
    drained_.notify_all();
}

void TReplyReader::Settle(bool echo, const QString& token) {
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

void TReplyReader::NoteUnanswered(const QString& line, int channel,
                                  const std::function<bool(const QString&)>& isItsEcho) {
    std::lock_guard lock(mutex_);
    const bool echoCame = std::any_of(unansweredEchoes_.begin(), unansweredEchoes_.end(), isItsEcho);
    owed_ = {echoCame ? TOwed::Status : TOwed::Answer, channel, line};
    isOwedEcho_ = isItsEcho;
    echoSinceOwed_ = false;
    lastArrival_ = std::max(lastArrival_, std::chrono::steady_clock::now());
}

void TReplyReader::RestoreOwed(const TOwed& owed, qint64 quietForMs) {
    std::lock_guard lock(mutex_);
    owed_ = owed;
    const QString line = owed.line;
    isOwedEcho_ = [line](const QString& echo) { return echo == line + '*'; };
    echoSinceOwed_ = false;
    owedUntil_ =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<qint64>(0, quietForMs));
}

std::pair<TReplyReader::TOwed, qint64> TReplyReader::OwedNow(int quietMs) const {
    std::lock_guard lock(mutex_);
    const auto until = std::max(lastArrival_ + std::chrono::milliseconds(quietMs), owedUntil_);
    const qint64 left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now())
            .count();
    if (owed_.kind == TOwed::None || left <= 0)
        return {TOwed{}, 0};
    return {owed_, left};
}

bool TReplyReader::WaitUntilSettled(int quietMs, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (owed_.kind != TOwed::None && !stop.stop_requested()) {
        const auto quietUntil = std::max(lastArrival_ + std::chrono::milliseconds(quietMs), owedUntil_);
        if (std::chrono::steady_clock::now() >= quietUntil) {
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

void TReplyReader::LineSent() {
    std::lock_guard lock(mutex_);
    dropRequested_ = true;
    dropThrough_ = chunks_;
}

quint64 TReplyReader::ChunksReceived() const {
    std::lock_guard lock(mutex_);
    return chunks_;
}

QString TReplyReader::PendingText() const {
    std::lock_guard lock(mutex_);
    return clearRequested_ && clearThrough_ >= chunks_ ? QString() : buffer_;
}
