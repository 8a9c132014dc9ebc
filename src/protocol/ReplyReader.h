#pragma once

#include "OwedAnswers.h"
#include "ReplyQueue.h"
#include "ReplyTokenizer.h"
#include "serial/PortReceiver.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

// The half of reply handling that runs on the line's read thread. It cuts the received text into
// tokens (TReplyTokenizer) and does at once the one thing a sending waits for: it publishes each
// answer (the echo and the status token with code 0, 6 or 9 that follows it) to the sending that
// listens, and keeps the book of answers a line still owes (TOwedAnswers). Everything else
// (channel states, logs, the reply list) waits, in order, in a bounded queue (TReplyQueue) that
// the reply handler takes on the main thread; the reader tells it when the queue stops being
// empty.
class TReplyReader : public IPortReceiver {
public:
    using TItem = TReplyQueue::TItem;
    using TOwed = TOwedAnswers::TOwed;

    // The latest answer, as the sending that listens is told of it.
    struct TAnswer {
        quint64 serial = 0; // the status token's place among all tokens
        QString echo;
        QString status;
        quint64 communicationErrors = 0; // how many communication errors have come so far
    };

    // Who waits for answers: told of every answer published, on the thread that publishes it
    // (the read thread, or the main thread for the codes that answer only while a program runs),
    // and of every communication error.
    class IListener {
    public:
        virtual ~IListener() = default;
        virtual void Answered(const TAnswer& answer) = 0;
    };

    static constexpr qsizetype MaxPendingText = TReplyTokenizer::MaxPendingText;
    static constexpr size_t MaxQueuedItems = TReplyQueue::MaxItems;
    static constexpr qsizetype MaxQueuedBytes = TReplyQueue::MaxBytes;

    // Called (on the reading thread) when the queue stops being empty.
    void SetNotify(std::function<void()> notify) { notify_ = std::move(notify); }
    // Asked (on the reading thread) at a communication error: whether the recovery will only
    // clear, so that the rest of the chunk is dropped at once.
    void SetClearOnCommunicationError(std::function<bool()> clear) { clearOnError_ = std::move(clear); }

    // --- the read thread ---
    void ChunkReceived(const QByteArray& chunk, quint32 errors) override;
    void Interrupt() override;
    void Resume() override;

    // --- any thread ---
    TReplyQueue& Queue() { return queue_; }
    TOwedAnswers& Owed() { return owed_; }
    TAnswer Answer() const;
    // The serial number of the latest answer and the count of communication errors, without the
    // texts.
    std::pair<quint64, quint64> Position() const;
    // Publishes an answer unless a later one already was, and tells the listener; true when it
    // was published.
    bool Publish(quint64 serial, const QString& echo, const QString& status);
    // The one listener (a running sending), or none.
    void Attach(std::shared_ptr<IListener> listener);
    void Detach(const IListener* listener);
    // The recovery's clearing step, for what was received up to chunk `lastChunk`: the items of
    // those chunks not yet taken are dropped, and the text not yet cut into tokens and the last
    // echo are forgotten (unless a later chunk has come meanwhile).
    void Clear(quint64 lastChunk);
    // Text received and not yet cut into tokens (on the reading thread, or when none reads).
    QString PendingText() const;
    // Bytes received so far (any thread): a wait that lasts while characters keep coming.
    quint64 BytesReceived() const { return bytesReceived_; }
    // The chunks received so far; the items queued up to now belong to chunks up to this one.
    quint64 ChunksReceived() const;
    // A line was sent: text received before it and not cut into a token yet cannot be part of
    // its echo (garbage, a line's noise), and is dropped before the next chunk is read, unless
    // it may be the start of a status token split across two chunks.
    void LineSent();

    static bool IsStatusToken(const QString& token) { return TReplyTokenizer::IsStatusToken(token); }
    static QString CleanToken(const QString& token) { return TReplyTokenizer::CleanToken(token); }

private:
    void Tell(const TAnswer& answer);

    std::function<void()> notify_;
    std::function<bool()> clearOnError_;
    TReplyTokenizer tokenizer_; // the read thread's own
    TReplyQueue queue_;
    TOwedAnswers owed_;

    mutable std::mutex mutex_;
    TAnswer answer_;
    std::shared_ptr<IListener> listener_;
    std::atomic<quint64> bytesReceived_{0};
    quint64 chunks_ = 0;         // chunks received so far
    bool dropRequested_ = false; // LineSent: drop the text of the chunks up to dropThrough_
    quint64 dropThrough_ = 0;
    bool clearRequested_ = false;
    quint64 clearThrough_ = 0; // a clearing step for the text up to this chunk is due
};
