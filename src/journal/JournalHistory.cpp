#include "JournalHistory.h"

#include "JournalFiles.h"
#include "JournalRecord.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kNames[] = {"opened", "closed", "lost",   "write",    "write-end",
                                  "start",  "pause",  "resume", "stop",     "complete",
                                  "error",  "verify", "button", "stop-key", "scale"};

// Days since 1970-01-01 of a civil date.
qint64 DaysFromCivil(qint64 y, unsigned m, unsigned d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

bool Digits(const char* p, int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// 2026-12-09T14:06:59.063Z or ...+01:00 as milliseconds since the epoch; -1 when it is not so.
qint64 ParseTime(const char* p, qsizetype n) {
    int y, mo, d, h, mi, s, ms = 0;
    if (n < 20 || !Digits(p, 4, y) || p[4] != '-' || !Digits(p + 5, 2, mo) || p[7] != '-' ||
        !Digits(p + 8, 2, d) || p[10] != 'T' || !Digits(p + 11, 2, h) || p[13] != ':' ||
        !Digits(p + 14, 2, mi) || p[16] != ':' || !Digits(p + 17, 2, s))
        return -1;
    qsizetype i = 19;
    if (p[i] == '.') {
        if (n < 24 || !Digits(p + 20, 3, ms))
            return -1;
        i = 23;
    }
    int offset = 0;
    if (p[i] == 'Z' && i + 1 == n) {
        offset = 0;
    } else if ((p[i] == '+' || p[i] == '-') && i + 6 == n && p[i + 3] == ':') {
        int oh, om;
        if (!Digits(p + i + 1, 2, oh) || !Digits(p + i + 4, 2, om))
            return -1;
        offset = (oh * 60 + om) * (p[i] == '-' ? -1 : 1);
    } else {
        return -1;
    }
    const qint64 days = DaysFromCivil(y, unsigned(mo), unsigned(d));
    return ((days * 24 + h) * 60 + mi - offset) * 60000 + qint64(s) * 1000 + ms;
}

// The text of the last top-level `"key":"..."` of a line the journal wrote (its keys sorted, the
// only nested objects, a write's blocks, before them); empty when there is none.
QByteArray StringOf(const QByteArray& line, const char* pattern) {
    const qsizetype at = line.lastIndexOf(pattern);
    if (at < 0)
        return {};
    const qsizetype from = at + qsizetype(std::strlen(pattern));
    const qsizetype end = line.indexOf('"', from);
    return end < 0 ? QByteArray() : line.mid(from, end - from);
}

int ChannelOf(const QByteArray& line) {
    const qsizetype at = line.lastIndexOf("\"channel\":");
    if (at < 0)
        return 0;
    const char c = line.size() > at + 10 ? line[at + 10] : '0';
    return c >= '1' && c <= '3' ? c - '0' : 0;
}

} // namespace

TJournalHistory::Kind TJournalHistory::KindOf(const QString& name) {
    for (int i = 0; i < int(std::size(kNames)); ++i)
        if (name == QLatin1String(kNames[i]))
            return Kind(i);
    return Kind::Other;
}

QString TJournalHistory::NameOf(Kind kind) {
    return int(kind) < int(std::size(kNames)) ? QString(kNames[int(kind)]) : QString("other");
}

TJournalHistory::TJournalHistory(const TJournalFiles& files) : files_(files) {}

void TJournalHistory::Take(const QByteArray& line, quint16 file, quint32 offset) {
    TEvent event{0, offset, file};
    const QByteArray time = StringOf(line, "\"time\":\"");
    const QByteArray kind = StringOf(line, "\"kind\":\"");
    event.ms = time.isEmpty() ? -1 : ParseTime(time.constData(), time.size());
    const bool quick = event.ms >= 0 && !kind.isEmpty() && line.startsWith('{') && line.endsWith('}');
    // Blocks are read from the record itself; a line the quick reading does not take, too.
    QJsonObject object;
    if (!quick || kind == "write") {
        const auto record = TJournalRecord::FromLine(line);
        if (!record)
            return;
        event.ms = record->time.toMSecsSinceEpoch();
        event.kind = KindOf(record->kind);
        event.channel = quint8(std::clamp(record->channel, 0, 3));
        event.byKvtctl = record->who == "kvtctl";
        for (const QJsonValue& block : record->fields.value("blocks").toArray()) {
            const int n = block.toObject().value("channel").toInt();
            if (n >= 1 && n <= 3)
                event.blocks |= quint8(1 << n);
        }
    } else {
        event.kind = KindOf(QString::fromLatin1(kind));
        event.channel = quint8(ChannelOf(line));
        event.byKvtctl = StringOf(line, "\"who\":\"") == "kvtctl";
    }
    events_.push_back(event);
    // The newest are kept: the oldest half goes when the bound is passed.
    if (qsizetype(events_.size()) > MaxEvents + MaxEvents / 2) {
        events_.erase(events_.begin(), events_.begin() + (qsizetype(events_.size()) - MaxEvents));
        truncated_ = true;
    }
}

void TJournalHistory::Load(const QDateTime& since, const QDateTime& now) {
    events_.clear();
    truncated_ = false;
    names_ = files_.Files();
    const QString sinceMonth = since.isValid() ? since.toString("yyyy-MM") : QString();
    const qint64 sinceMs = since.isValid() ? since.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    for (int f = 0; f < names_.size(); ++f) {
        if (!sinceMonth.isEmpty() && names_[f].mid(8, 7) < sinceMonth)
            continue;
        QFile file(files_.Folder() + '/' + names_[f]);
        if (!file.open(QIODevice::ReadOnly) || file.size() == 0 ||
            file.size() > std::numeric_limits<quint32>::max())
            continue;
        const uchar* data = file.map(0, file.size());
        if (!data)
            continue;
        const char* text = reinterpret_cast<const char*>(data);
        const qsizetype size = file.size();
        for (qsizetype at = 0; at < size;) {
            const void* found = std::memchr(text + at, '\n', size_t(size - at));
            const qsizetype end = found ? static_cast<const char*>(found) - text : size;
            if (found) // a last line without its end is one a crash cut
                Take(QByteArray::fromRawData(text + at, end - at), quint16(f), quint32(at));
            at = end + 1;
        }
        file.unmap(const_cast<uchar*>(data));
    }
    if (sinceMs != std::numeric_limits<qint64>::min())
        std::erase_if(events_, [&](const TEvent& e) { return e.ms < sinceMs; });
    std::stable_sort(events_.begin(), events_.end(),
                     [](const TEvent& a, const TEvent& b) { return a.ms < b.ms; });
    if (qsizetype(events_.size()) > MaxEvents) {
        events_.erase(events_.begin(), events_.begin() + (qsizetype(events_.size()) - MaxEvents));
        truncated_ = true;
    }
    BuildIntervals(now.toMSecsSinceEpoch());
}

void TJournalHistory::BuildIntervals(qint64 nowMs) {
    for (auto& list : intervals_)
        list.clear();
    std::array<std::optional<TInterval>, 4> open;
    const auto close = [&](int n, qint64 ms) {
        if (open[size_t(n)]) {
            open[size_t(n)]->toMs = std::max(ms, open[size_t(n)]->fromMs);
            intervals_[size_t(n)] << *open[size_t(n)];
            open[size_t(n)].reset();
        }
    };
    const auto begin = [&](int n, qint64 ms, State state) {
        close(n, ms);
        open[size_t(n)] = TInterval{ms, ms, state};
    };
    for (const TEvent& e : events_) {
        const int n = e.channel;
        switch (e.kind) {
        case Kind::Write:
            for (int c = 1; c <= 3; ++c)
                if (e.blocks & (1 << c))
                    begin(c, e.ms, State::Recording);
            break;
        case Kind::WriteEnd:
            for (int c = 1; c <= 3; ++c)
                if (open[size_t(c)] && open[size_t(c)]->state == State::Recording)
                    close(c, e.ms);
            break;
        case Kind::Start:
        case Kind::Resume:
            if (n != 0)
                begin(n, e.ms, State::Executing);
            break;
        case Kind::Pause:
            if (n != 0)
                begin(n, e.ms, State::Paused);
            break;
        case Kind::Stop:
        case Kind::Complete:
            if (n != 0)
                close(n, e.ms);
            break;
        case Kind::Opened:
        case Kind::Closed:
        case Kind::Lost:
            // What ran after the line went is not known: the intervals end here.
            for (int c = 1; c <= 3; ++c)
                close(c, e.ms);
            break;
        default:
            break;
        }
    }
    for (int c = 1; c <= 3; ++c)
        close(c, std::max(nowMs, open[size_t(c)] ? open[size_t(c)]->fromMs : 0));
}

TJournalHistory::TInterval TJournalHistory::IntervalAt(int channel, qint64 ms) const {
    if (channel < 1 || channel > 3)
        return {0, 0};
    const QList<TInterval>& list = intervals_[size_t(channel)];
    const auto it = std::upper_bound(list.begin(), list.end(), ms,
                                     [](qint64 value, const TInterval& i) { return value < i.fromMs; });
    if (it == list.begin())
        return {0, 0};
    const TInterval& before = *(it - 1);
    return ms <= before.toMs ? before : TInterval{0, 0};
}

QByteArray TJournalHistory::Line(const TEvent& event) const {
    QFile file(files_.Folder() + '/' + names_.value(event.file));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(event.offset))
        return {};
    QByteArray line = file.readLine(1 << 20);
    if (line.endsWith('\n'))
        line.chop(1);
    return line;
}

QByteArray TJournalHistory::Csv(const std::vector<qsizetype>& rows) const {
    const auto quoted = [](QByteArray text) { return '"' + text.replace('"', "\"\"") + '"'; };
    QByteArray csv = "time,who,kind,coordinate,fields\r\n";
    for (qsizetype row : rows) {
        const TEvent& e = events_[size_t(row)];
        const auto record = TJournalRecord::FromLine(Line(e));
        const QByteArray fields =
            record ? QJsonDocument(record->fields).toJson(QJsonDocument::Compact) : QByteArray("{}");
        csv += QDateTime::fromMSecsSinceEpoch(e.ms).toString(Qt::ISODateWithMs).toUtf8() + ',' +
               (e.byKvtctl ? "kvtctl" : "window") + ',' + NameOf(e.kind).toUtf8() + ',' +
               (e.channel ? QByteArray::number(e.channel) : QByteArray()) + ',' + quoted(fields) + "\r\n";
    }
    return csv;
}
