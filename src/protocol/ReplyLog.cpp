#include "ReplyLog.h"

#include <QTime>

void TReplyLog::Append(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    // A line's time is when its first byte came.
    const qint32 now = QTime::currentTime().msecsSinceStartOfDay();
    if (times_.back() < 0)
        times_.back() = now;
    const qint64 base = text_.size();
    text_.append(bytes);
    for (qsizetype i = bytes.indexOf('*'); i >= 0; i = bytes.indexOf('*', i + 1)) {
        starts_.push_back(base + i + 1);
        times_.push_back(base + i + 1 < text_.size() ? now : -1);
    }
    if (Count() > 2 * keep_ || text_.size() > 2 * KeepBytes)
        ShedOldest();
}

void TReplyLog::SetShed(qsizetype keep, std::function<void(const QByteArray&)> shed) {
    keep_ = std::max<qsizetype>(keep, 1);
    shedTo_ = std::move(shed);
}

void TReplyLog::ShedOldest() {
    // Whole lines, down to Keep lines and KeepBytes bytes; then, when the last line alone holds
    // more, its beginning.
    qsizetype lines = std::max<qsizetype>(0, Count() - keep_);
    while (lines < Count() - 1 && text_.size() - starts_[size_t(lines)] > KeepBytes)
        ++lines;
    const qint64 whole = starts_[size_t(lines)];
    const qint64 part = lines == Count() - 1 ? std::max<qint64>(0, text_.size() - whole - KeepBytes) : 0;
    const qint64 cut = whole + part;
    if (shedTo_) {
        QByteArray block;
        block.reserve(cut + 15 * (lines + 1));
        for (qsizetype i = 0; i < lines; ++i) {
            if (i > 0 || !continued_)
                block.append(Stamp(i).toLatin1());
            block.append(text_.constData() + starts_[size_t(i)], starts_[size_t(i) + 1] - starts_[size_t(i)]);
            block.append("\r\n", 2);
        }
        if (part > 0) {
            if (lines > 0 || !continued_)
                block.append(Stamp(lines).toLatin1());
            block.append(text_.constData() + whole, part); // the rest of its line follows
        }
        shedTo_(block);
    }
    continued_ = part > 0 || (continued_ && lines == 0);
    text_.remove(0, cut);
    text_.squeeze();
    starts_.erase(starts_.begin(), starts_.begin() + lines);
    times_.erase(times_.begin(), times_.begin() + lines);
    starts_.front() = cut; // the line kept first begins where the cut is (shifted to 0 below)
    for (qint64& start : starts_)
        start -= cut;
    shed_ += lines;
}

QString TReplyLog::Stamp(qsizetype index) const {
    if (!timesShown_ || index < 0 || index >= Count())
        return {};
    const qint32 ms = times_[size_t(index)];
    // A line that has no byte yet has no time: the stamp's width in blanks keeps the column.
    return ms < 0 ? QString(13, ' ') : QTime::fromMSecsSinceStartOfDay(ms).toString("hh:mm:ss.zzz ");
}

qsizetype TReplyLog::End(qsizetype index) const {
    return index + 1 < Count() ? qsizetype(starts_[size_t(index) + 1]) : text_.size();
}

QString TReplyLog::Line(qsizetype index) const {
    if (index < 0 || index >= Count())
        return {};
    const qsizetype start = qsizetype(starts_[size_t(index)]);
    return QString::fromLatin1(text_.constData() + start, End(index) - start);
}

QByteArray TReplyLog::LineBytes(qsizetype index) const {
    if (index < 0 || index >= Count())
        return {};
    const qsizetype start = qsizetype(starts_[size_t(index)]);
    return text_.mid(start, End(index) - start);
}

QString TReplyLog::LineStart(qsizetype index, qsizetype maxLength, bool* longer) const {
    if (index < 0 || index >= Count())
        return {};
    const qsizetype start = qsizetype(starts_[size_t(index)]);
    const qsizetype length = End(index) - start;
    if (longer)
        *longer = length > maxLength;
    return QString::fromLatin1(text_.constData() + start, std::min(length, maxLength));
}

QStringList TReplyLog::Lines() const {
    QStringList lines;
    lines.reserve(Count());
    for (qsizetype i = 0; i < Count(); ++i)
        lines.append(Line(i));
    return lines;
}

qsizetype TReplyLog::MemoryBytes() const {
    return text_.capacity() + qsizetype(starts_.capacity() * sizeof(qint64)) +
           qsizetype(times_.capacity() * sizeof(qint32));
}
