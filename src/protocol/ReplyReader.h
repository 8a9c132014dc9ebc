#pragma once

#include "serial/PortReceiver.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

class TCommonDatas;

// The half of reply handling that runs on the port's read thread. It cuts the received text into
// tokens as the reply handler always has (communication errors taken out first, the first CR and
// LF of a chunk dropped, line noise removed), and does at once the one thing a sending waits
// for: it publishes each answer (the echo and the status token with code 0, 6 or 9 that follows
// it) to the sending that listens. Everything else (channel states, logs, the reply list) waits, in
// order, in a queue that the reply handler takes on the main thread; the reader tells it when
// the queue stops being empty. A full queue holds the read thread back, so that a flood costs
// memory only up to a bound.
//
// A token whose tail is a status token (E, two digits, '*') is that status token, and bytes that
// cannot begin a command (anything but A..Z) are dropped from the front of an echo.
class TReplyReader : public IPortReceiver {
public:
    // One thing received, for the main thread.
    struct TItem {
        // TextDropped: unterminated text beyond MaxPendingText was dropped (once per opening).
        enum Kind { Characters, CommunicationError, Token, TextDropped } kind;
        QByteArray characters; // Characters: the chunk as it came
        QString text;          // CommunicationError: "E15*", "E25*" or "E35*"; Token: the token
        quint64 chunk = 0;     // the chunk it came in
        quint64 serial = 0;    // Token: its place among all tokens
    };

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

    // Unterminated text kept at most: garbage without any '*' cannot grow without end.
    static constexpr qsizetype MaxPendingText = 1024;
    // What the queue holds at most, in items and in bytes, before the read thread waits for the
    // main thread (it reads nothing meanwhile): a line that streams whatever it streams costs
    // memory only up to this.
    static constexpr size_t MaxQueuedItems = 200000;
    static constexpr qsizetype MaxQueuedBytes = 4 << 20;

    explicit TReplyReader(TCommonDatas& datas);

    // Called (on the reading thread) when the queue stops being empty.
    void SetNotify(std::function<void()> notify) { notify_ = std::move(notify); }

    // --- the read thread ---
    void ChunkReceived(const QByteArray& chunk, quint32 errors) override;
    void Interrupt() override;
    void Resume() override;

    // --- any thread ---
    // Takes up to `count` items, oldest first, of the chunks up to `throughChunk`.
    std::vector<TItem> Take(size_t count, quint64 throughChunk = UINT64_MAX);
    bool HasItems() const;
    // What the queue holds now, in bytes.
    qsizetype QueuedBytes() const;
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

    // A status token says only which channel and which code: not which command it answers. A
    // line that went unanswered may still get its answer late, and that answer would be taken
    // for the answer to whatever line is sent next. So when a line goes unanswered
    // (NoteUnanswered), its answer is owed, and the next line is sent (WaitUntilSettled) only
    // once it has come, or the line has been quiet for `quietMs` after the line gave up. When the
    // line's echo came, its status is owed: paid by an answering status (code 0, 6 or 9) of the
    // line's channel that comes alone (one that follows another echo is that echo's own). When
    // nothing came, the whole answer is owed: paid by the line's own echo and a status after it.
    // An answer later than that cannot be told from the next line's own.
    struct TOwed {
        enum Kind { None, Status, Answer } kind = None;
        int channel = 0; // the channel whose status pays it; 0 when not known
        QString line;    // Answer: the line whose echo is awaited
    };
    // `isItsEcho` tells the line's echo (a cleaned token); `channel` is the line's, or 0.
    void NoteUnanswered(const QString& line, int channel,
                        const std::function<bool(const QString&)>& isItsEcho);
    // False when `stop` was requested first.
    bool WaitUntilSettled(int quietMs, std::stop_token stop);
    // What is owed now, and how long the line must still stay quiet for it to be given up (ms).
    std::pair<TOwed, qint64> OwedNow(int quietMs) const;
    // What an earlier session on this line left owed, the line to stay quiet for `quietForMs`
    // more unless it comes: a new session (another call of kvtctl) waits for it too.
    void RestoreOwed(const TOwed& owed, qint64 quietForMs);

    // A line was sent: text received before it and not cut into a token yet cannot be part of
    // its echo (garbage, a line's noise), and is dropped before the next chunk is read, unless
    // it may be the start of a status token split across two chunks.
    void LineSent();

    static bool IsStatusToken(const QString& token) { return token.size() == 4 && token[0] == 'E'; }
    static QString CleanToken(const QString& token);

private:
    void Cut(const QByteArray& chunk, quint64 number);
    // What a token just received does to what is owed (called with the lock).
    void Settle(bool echo, const QString& token);
    void Tell(const TAnswer& answer);
    // What an item costs while it waits in the queue.
    static qsizetype Cost(const TItem& item) { return item.characters.size() + 2 * item.text.size() + 64; }

    TCommonDatas& datas_;
    std::function<void()> notify_;

    // The read thread's own.
    QString buffer_;
    QString lastEcho_;
    quint64 tokens_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable drained_;
    std::condition_variable_any arrived_;
    std::deque<QString> unansweredEchoes_; // the latest echoes no status has followed yet
    TOwed owed_;
    std::function<bool(const QString&)> isOwedEcho_;
    bool echoSinceOwed_ = false; // an echo came after the owed one (its status is its own)
    std::chrono::steady_clock::time_point lastArrival_{};
    std::chrono::steady_clock::time_point owedUntil_{}; // restored from an earlier session
    bool dropRequested_ = false; // LineSent: drop the text of the chunks up to dropThrough_
    quint64 dropThrough_ = 0;
    std::deque<TItem> queue_;
    qsizetype queuedBytes_ = 0;
    bool droppedSaid_ = false; // the read thread's: the drop of unterminated text told once
    TAnswer answer_;
    std::shared_ptr<IListener> listener_;
    bool interrupted_ = false;
    std::atomic<quint64> bytesReceived_{0};
    quint64 chunks_ = 0; // chunks received so far
    bool clearRequested_ = false;
    quint64 clearThrough_ = 0; // a clearing step for the text up to this chunk is due
};
