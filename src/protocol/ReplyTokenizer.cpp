#include "ReplyTokenizer.h"

#include <QRegularExpression>

QString TReplyTokenizer::CleanToken(const QString& token) {
    const auto digit = [](QChar c) { return c >= '0' && c <= '9'; };
    const qsizetype n = token.size();
    if (n > 4 && token[n - 4] == 'E' && digit(token[n - 3]) && digit(token[n - 2]) && token[n - 1] == '*')
        return token.right(4);
    qsizetype first = 0;
    while (first < n - 1 && !(token[first] >= 'A' && token[first] <= 'Z'))
        ++first;
    return first == 0 ? token : token.mid(first);
}

void TReplyTokenizer::Clear() {
    buffer_.clear();
    lastEcho_.clear();
}

TReplyTokenizer::TCut TReplyTokenizer::Cut(const QString& text, bool dropEarlier, bool* stillMay) {
    // Text that came before a line was sent is no part of that line's echo. What may be the
    // first characters of a status token ("E", "E1", "E14") is kept only when this chunk goes
    // on with the rest of one; while it still may, the question waits too.
    *stillMay = false;
    if (dropEarlier) {
        static const QRegularExpression statusStart(QStringLiteral("^E\\d{0,2}$"));
        static const QRegularExpression status(QStringLiteral("^E\\d\\d\\*"));
        const QString joined = buffer_ + text;
        if (!statusStart.match(buffer_).hasMatch()) {
            buffer_.clear();
        } else if (!status.match(joined).hasMatch()) {
            *stillMay = statusStart.match(joined).hasMatch();
            if (!*stillMay)
                buffer_.clear();
        }
    }
    buffer_ += text;

    TCut cut;
    // One communication error is taken out per chunk; another stays an ordinary token.
    static const QString errors[] = {"E15*", "E25*", "E35*"};
    for (const QString& error : errors) {
        const qsizetype p = buffer_.indexOf(error);
        if (p < 0)
            continue;
        buffer_.remove(p, 4);
        cut.communicationError = error;
        if (clearOnError_)
            Clear(); // the recovery empties the buffer at once: the rest of this chunk is dropped
        break;
    }
    const qsizetype cr = buffer_.indexOf('\r');
    if (cr >= 0)
        buffer_.remove(cr, 1);
    const qsizetype lf = buffer_.indexOf('\n');
    if (lf >= 0)
        buffer_.remove(lf, 1);

    qsizetype start = 0;
    for (qsizetype star = buffer_.indexOf('*'); star >= 0; star = buffer_.indexOf('*', start)) {
        const QString token = CleanToken(buffer_.mid(start, star + 1 - start));
        start = star + 1;
        const bool status = IsStatusToken(token);
        const char16_t code = status ? token[2].unicode() : 0;
        cut.tokens.push_back({token, ++tokens_, status, status ? lastEcho_ : QString(),
                              code == '0' || code == '6' || code == '9'});
        if (!status)
            lastEcho_ = token;
    }
    buffer_.remove(0, start);
    if (buffer_.size() > MaxPendingText) {
        buffer_.remove(0, buffer_.size() - MaxPendingText);
        cut.textDropped = !dropTold_;
        dropTold_ = true;
    }
    return cut;
}
