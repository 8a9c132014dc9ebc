#include "JournalRecord.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QStringList>

QByteArray TJournalRecord::ToLine() const {
    QJsonObject object = fields;
    object.insert("time", time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs));
    object.insert("who", who);
    object.insert("kind", kind);
    object.insert("channel", channel);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<TJournalRecord> TJournalRecord::FromLine(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    QJsonObject object = document.object();
    TJournalRecord record;
    record.time = QDateTime::fromString(object.take("time").toString(), Qt::ISODateWithMs);
    record.who = object.take("who").toString();
    record.kind = object.take("kind").toString();
    record.channel = object.take("channel").toInt();
    if (!record.time.isValid() || record.kind.isEmpty())
        return std::nullopt;
    record.fields = object;
    return record;
}

QString Fingerprint(const QStringList& lines) {
    const QByteArray hash = QCryptographicHash::hash(lines.join('\n').toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(12));
}
