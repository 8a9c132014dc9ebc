#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// What the line's read thread leaves for the main thread, in order: the characters of each chunk
// (for the reply list), the communication errors taken out, the tokens. It is bounded in items
// and in bytes: a full queue holds the read thread back (it reads nothing meanwhile), so that a
// line that streams whatever it streams costs memory only up to the bound, until the port closes
// (Interrupt), when nothing waits any more.
class TReplyQueue {
public:
    // One thing received, for the main thread.
    struct TItem {
        // TextDropped: unterminated text was dropped (once per opening).
        enum Kind { Characters, CommunicationError, Token, TextDropped } kind;
        QByteArray characters; // Characters: the chunk as it came
        QString text;          // CommunicationError: "E15*", "E25*" or "E35*"; Token: the token
        quint64 chunk = 0;     // the chunk it came in
        quint64 serial = 0;    // Token: its place among all tokens
    };

    static constexpr size_t MaxItems = 200000;
    static constexpr qsizetype MaxBytes = 4 << 20;

    // Waits while the queue is full (false, nothing waited for, once interrupted).
    bool WaitForRoom();
    // Adds `items` at the end; true when the queue was empty.
    bool Push(std::vector<TItem>& items);
    // Takes up to `count` items, oldest first, of the chunks up to `throughChunk`.
    std::vector<TItem> Take(size_t count, quint64 throughChunk = UINT64_MAX);
    // Drops the items of the chunks up to `lastChunk` not yet taken.
    void DropThrough(quint64 lastChunk);
    bool HasItems() const;
    qsizetype Bytes() const;
    // The port closes: a wait ends, and none begins until Resume.
    void Interrupt();
    void Resume();

private:
    static qsizetype Cost(const TItem& item) { return item.characters.size() + 2 * item.text.size() + 64; }

    mutable std::mutex mutex_;
    std::condition_variable drained_;
    std::deque<TItem> items_;
    qsizetype bytes_ = 0;
    bool interrupted_ = false;
};
