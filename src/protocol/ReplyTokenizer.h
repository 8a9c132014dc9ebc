#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Cuts what the controller sends into tokens as the reply handling always has: everything up to
// and including the next '*'. One communication error (E15*, E25*, E35*) is taken out of a chunk
// first; the first CR and the first LF of a chunk are dropped; line noise is removed (a token
// whose tail is a status token is that status token, and bytes that cannot begin a command are
// dropped from the front of an echo). Unterminated text beyond MaxPendingText is dropped from its
// front. It belongs to the line's read thread: nothing in it is locked.
class TReplyTokenizer {
public:
    // Unterminated text kept at most: garbage without any '*' cannot grow without end.
    static constexpr qsizetype MaxPendingText = 1024;

    struct TToken {
        QString text;   // the token, noise removed
        quint64 serial; // its place among all tokens
        bool status;    // a status token ("E", channel digit, code digit, '*')
        QString echo;   // a status: the echo it follows (the last one before it)
        bool answers;   // a status with code 0, 6 or 9: an answer to a line sent
    };
    struct TCut {
        QString communicationError; // the one taken out of this chunk, or empty
        std::vector<TToken> tokens;
        bool textDropped = false; // unterminated text was dropped (the first time only)
    };

    // With only the recovery's clearing step to do after a communication error, the rest of the
    // chunk is dropped at once (the handler says whether that is the case).
    void SetClearOnCommunicationError(bool clear) { clearOnError_ = clear; }

    // The tokens a chunk completes. `dropEarlier`: a line was sent since the last chunk, so text
    // received before it cannot be part of its echo and goes, unless it may be the start of a
    // status token and this chunk goes on as one (then `stillMay` asks again at the next chunk).
    TCut Cut(const QString& text, bool dropEarlier, bool* stillMay);
    // The recovery's clearing step: the text not cut and the last echo are forgotten.
    void Clear();
    // A new opening: a drop is told again.
    void ResetToldDrop() { dropTold_ = false; }
    QString Pending() const { return buffer_; }

    static bool IsStatusToken(const QString& token) { return token.size() == 4 && token[0] == 'E'; }
    static QString CleanToken(const QString& token);

private:
    QString buffer_;
    QString lastEcho_;
    quint64 tokens_ = 0;
    bool clearOnError_ = false;
    bool dropTold_ = false;
};
