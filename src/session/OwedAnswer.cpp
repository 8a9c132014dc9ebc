#include "OwedAnswer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace OwedAnswer {

QString FileFor(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? device : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    // The user's runtime folder; without one, the temporary folder, named for the user.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
    return folder + QString("/kvt-program-%1-owed-%2").arg(::getuid()).arg(QString::fromLatin1(key));
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
} // namespace

void Keep(const QString& device, const TReplyReader& reader, int quietMs) {
    const QString file = FileFor(device);
    const auto [owed, leftMs] = reader.OwedNow(quietMs);
    if (owed.kind == TReplyReader::TOwed::None) {
        QFile::remove(file);
        return;
    }
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return; // a wish, not a duty: the next session then waits for nothing
    const qint64 until = QDateTime::currentMSecsSinceEpoch() + leftMs;
    out.write(QString("%1 %2 %3 %4 %5\n")
                  .arg(int(owed.kind))
                  .arg(owed.channel)
                  .arg(until)
                  .arg(NodeMade(device))
                  .arg(owed.line)
                  .toUtf8());
}

void Restore(const QString& device, TReplyReader& reader) {
    const QString file = FileFor(device);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QStringList parts = QString::fromUtf8(in.read(512)).trimmed().split(' ');
    in.close();
    QFile::remove(file);
    if (parts.size() < 4 || parts[3].toLongLong() != NodeMade(device))
        return;
    TReplyReader::TOwed owed;
    const int kind = parts[0].toInt();
    if (kind != TReplyReader::TOwed::Status && kind != TReplyReader::TOwed::Answer)
        return;
    owed.kind = TReplyReader::TOwed::Kind(kind);
    owed.channel = std::clamp(parts[1].toInt(), 0, 3);
    owed.line = parts.value(4).left(64);
    const qint64 left = parts[2].toLongLong() - QDateTime::currentMSecsSinceEpoch();
    // A file from long ago (or of a clock set back) asks for no wait beyond the one it named.
    if (left > 0 && left < 24 * 3600 * 1000)
        reader.RestoreOwed(owed, left);
}

} // namespace OwedAnswer
