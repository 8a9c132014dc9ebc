#include "CliJournal.h"

#include "CliOutput.h"
#include "journal/JournalFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace CliJournal {

namespace {

std::optional<QDateTime> SinceOf(const QString& text) {
    if (text.isEmpty())
        return QDateTime();
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid())
        return day.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    return time.isValid() ? std::optional<QDateTime>(time) : std::nullopt;
}

QString Shown(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isArray() || value.isObject())
        return QString::fromUtf8(
            QJsonDocument(value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject()))
                .toJson(QJsonDocument::Compact));
    return value.toVariant().toString();
}

} // namespace

bool Print(TCliOutput& out, const TJournalFiles& files, const QString& since, int channel, QString& why) {
    const auto from = SinceOf(since);
    if (!from) {
        why = QString("--since needs a day or a time (2026-12-09, 2026-12-09T14:00), not \"%1\".").arg(since);
        return false;
    }
    files.Read(*from, [&](const TJournalRecord& record) {
        if (channel != 0 && record.channel != channel)
            return true;
        TCliOutput::TFields fields{{"time", record.time.toString(Qt::ISODateWithMs)},
                                   {"who", record.who},
                                   {"kind", record.kind},
                                   {"channel", record.channel}};
        QStringList readable{record.time.toString(Qt::ISODateWithMs), record.who, record.kind};
        if (record.channel != 0)
            readable << QString("coordinate %1").arg(record.channel);
        for (auto it = record.fields.begin(); it != record.fields.end(); ++it) {
            fields.emplace_back(it.key(), it.value().toVariant());
            readable << it.key() + '=' + Shown(it.value());
        }
        out.Event("record", fields, readable.join("  "));
        return !out.Closed();
    });
    return true;
}

std::optional<int> StoppedLine(const TJournalFiles& files, const QString& file, const QStringList& lines,
                               QString& why) {
    std::optional<TJournalRecord> last;
    files.Read({}, [&](const TJournalRecord& record) {
        if (record.kind == "write-end" && record.fields.value("file").toString() == file)
            last = record;
        return true;
    });
    if (!last) {
        why = QString("The journal holds no sending of %1.").arg(file);
        return std::nullopt;
    }
    if (last->fields.value("outcome").toString() == "completed") {
        why = QString("The last sending of %1 (%2) went to its end: there is nothing to resume.")
                  .arg(file, last->time.toString(Qt::ISODate));
        return std::nullopt;
    }
    const int from = last->fields.value("from").toInt(1) - 1;
    const int count = last->fields.value("lines").toInt();
    if (from < 0 || Fingerprint(lines.mid(from, count)) != last->fields.value("fingerprint").toString()) {
        why = QString("%1 has changed since its sending stopped (%2): give the line with --from-line.")
                  .arg(file, last->time.toString(Qt::ISODate));
        return std::nullopt;
    }
    return last->fields.value("line").toInt() - 1;
}

} // namespace CliJournal
