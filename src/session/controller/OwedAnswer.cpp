#include "OwedAnswer.h"

#include "core/PrivatePlace.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace OwedAnswer {

namespace {
const QString kPrefix = "owed-";
} // namespace

QString FileFor(const QString& device) {
    const QString folder = PrivatePlace::Folder();
    if (folder.isEmpty())
        return {};
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? device : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return folder + QString("/%1%2").arg(kPrefix, QString::fromLatin1(key));
}

namespace {
// When the device node was made: a record of an earlier node of the same name (a terminal
// made anew, an adapter plugged in again) is no record of this line.
qint64 NodeMade(const QString& device) {
    struct stat status {};
    if (::stat(QFile::encodeName(device).constData(), &status) != 0)
        return 0;
    return qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
}

// Records that no session took back (a device never opened again) go after a day.
void RemoveStale(const QString& folder) {
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo& file : QDir(folder).entryInfoList({kPrefix + "*"}, QDir::Files | QDir::System)) {
        if (file.lastModified() < dayAgo)
            QFile::remove(file.filePath());
    }
}
} // namespace

void Keep(const QString& device, const TOwedAnswers& book, int quietMs) {
    const QString file = FileFor(device);
    if (file.isEmpty())
        return; // no private place: the next session then waits for nothing
    RemoveStale(QFileInfo(file).path());
    const auto [owed, leftMs] = book.OwedNow(quietMs);
    if (owed.kind == TOwedAnswers::TOwed::None) {
        QFile::remove(file);
        return;
    }
    const qint64 until = QDateTime::currentMSecsSinceEpoch() + leftMs;
    // A wish, not a duty: a record that cannot be written is no fault.
    PrivatePlace::WriteOwnFile(file, QString("%1 %2 %3 %4 %5\n")
                                         .arg(int(owed.kind))
                                         .arg(owed.channel)
                                         .arg(until)
                                         .arg(NodeMade(device))
                                         .arg(owed.line)
                                         .toUtf8());
}

void Restore(const QString& device, TOwedAnswers& book, int longestWaitMs) {
    const QString file = FileFor(device);
    if (file.isEmpty())
        return;
    // Only a regular file of this user's, read without blocking; whatever stood there goes.
    const auto bytes = PrivatePlace::ReadOwnFile(file, 512);
    QFile::remove(file);
    if (!bytes)
        return;
    const QStringList parts = QString::fromUtf8(*bytes).trimmed().split(' ');
    if (parts.size() < 4 || parts[3].toLongLong() != NodeMade(device))
        return;
    TOwedAnswers::TOwed owed;
    const int kind = parts[0].toInt();
    if (kind != TOwedAnswers::TOwed::Status && kind != TOwedAnswers::TOwed::Answer)
        return;
    owed.kind = TOwedAnswers::TOwed::Kind(kind);
    owed.channel = std::clamp(parts[1].toInt(), 0, 3);
    owed.line = parts.value(4).left(64);
    // However long a record asks for, a few reply times at most are waited.
    const qint64 left = parts[2].toLongLong() - QDateTime::currentMSecsSinceEpoch();
    if (left > 0)
        book.RestoreOwed(owed, std::min<qint64>(left, longestWaitMs));
}

} // namespace OwedAnswer
