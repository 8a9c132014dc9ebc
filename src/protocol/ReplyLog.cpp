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
    if (Count() > 2 * keep_)
        ShedOldest();
}

void TReplyLog::SetShed(qsizetype keep, std::function<void(const QByteArray&)> shed) {
    keep_ = std::max<qsizetype>(keep, 1);
    shedTo_ = std::move(shed);
}

void TReplyLog::ShedOldest() {
    const qsizetype lines = Count() - keep_;
    const qint64 cut = starts_[size_t(lines)];
    if (shedTo_) {
        QByteArray block;
        block.reserve(cut + 2 * lines);
        for (qsizetype i = 0; i < lines; ++i) {
            block.append(Stamp(i).toLatin1());
            block.append(text_.constData() + starts_[size_t(i)], starts_[size_t(i) + 1] - starts_[size_t(i)]);
            block.append("\r\n", 2);
        }
        shedTo_(block);
    }
    text_.remove(0, cut);
    text_.squeeze();
    starts_.erase(starts_.begin(), starts_.begin() + lines);
    times_.erase(times_.begin(), times_.begin() + lines);
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
