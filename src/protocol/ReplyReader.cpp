#include "ReplyReader.h"

#include "core/TextCodec.h"

void TReplyReader::ChunkReceived(const QByteArray& chunk, quint32 /*errors*/) {
    // A flood waits here for the main thread, unless the port is closing.
    if (!queue_.WaitForRoom())
        return;
    quint64 number;
    bool dropEarlier;
    {
        std::lock_guard lock(mutex_);
        if (clearRequested_ && clearThrough_ >= chunks_)
            tokenizer_.Clear();
        clearRequested_ = false;
        dropEarlier = dropRequested_ && dropThrough_ >= chunks_;
        number = ++chunks_;
    }
    bytesReceived_ += quint64(chunk.size());
    if (clearOnError_)
        tokenizer_.SetClearOnCommunicationError(clearOnError_());
    bool stillMay = false;
    const TReplyTokenizer::TCut cut =
        tokenizer_.Cut(TextCodec::FromSerialBytes(chunk.constData(), chunk.size()), dropEarlier, &stillMay);
    {
        std::lock_guard lock(mutex_);
        dropRequested_ = stillMay || (dropRequested_ && dropThrough_ >= chunks_);
        if (stillMay)
            dropThrough_ = number;
    }

    // Everything for the main thread is queued at once, before any answer is told: whoever
    // learns of the end of a sending from an answer finds what led to it in the queue.
    std::vector<TItem> items;
    items.reserve(cut.tokens.size() + 2);
    items.push_back({TItem::Characters, chunk, {}, number, 0});
    if (!cut.communicationError.isEmpty())
        items.push_back({TItem::CommunicationError, {}, cut.communicationError, number, 0});
    std::vector<TOwedAnswers::TArrival> arrivals;
    arrivals.reserve(cut.tokens.size());
    for (const TReplyTokenizer::TToken& token : cut.tokens) {
        items.push_back({TItem::Token, {}, token.text, number, token.serial});
        arrivals.push_back({!token.status, token.text, token.echo});
    }
    if (cut.textDropped)
        items.push_back({TItem::TextDropped, {}, {}, number, 0});
    const bool wasEmpty = queue_.Push(items);
    TAnswer afterError;
    quint64 errorsNow = 0;
    std::vector<TAnswer> answers;
    {
        std::lock_guard lock(mutex_);
        if (!cut.communicationError.isEmpty()) {
            ++answer_.communicationErrors;
            afterError = answer_;
        }
        // The answers of this chunk are published before anyone waiting is woken: a line sent
        // once what it waited for has come counts them as before it (Position), never as its own.
        for (const TReplyTokenizer::TToken& token : cut.tokens) {
            if (!token.answers || token.serial <= answer_.serial)
                continue;
            answer_.serial = token.serial;
            answer_.echo = token.echo;
            answer_.status = token.text;
            answers.push_back(answer_);
        }
        errorsNow = answer_.communicationErrors;
    }
    // Only now is a sending waiting for an owed answer woken: the answer that paid it is counted
    // as before its first line (Position), never taken for that line's own.
    owed_.Arrived(arrivals);
    if (wasEmpty && notify_)
        notify_();
    if (!cut.communicationError.isEmpty())
        Tell(afterError); // a running sending stops at once
    for (TAnswer& a : answers) {
        a.communicationErrors = errorsNow;
        Tell(a);
    }
}

void TReplyReader::Interrupt() {
    queue_.Interrupt();
}

void TReplyReader::Resume() {
    queue_.Resume();
    tokenizer_.ResetToldDrop(); // a new opening: a drop is told again
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
        answer_.echo.clear();
        answer_.status.clear();
    }
    queue_.DropThrough(lastChunk);
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
    return clearRequested_ && clearThrough_ >= chunks_ ? QString() : tokenizer_.Pending();
}
