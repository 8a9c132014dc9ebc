#include "JournalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QRegularExpression& OwnName() {
    static const QRegularExpression name(R"(^journal-(\d{4})-(\d{2})(?:\.(\d+))?\.jsonl$)");
    return name;
}

// A file's place in time: year, month and part, as one sortable number.
qint64 Order(const QString& name) {
    const QRegularExpressionMatch m = OwnName().match(name);
    if (!m.hasMatch())
        return -1;
    const qint64 part = m.captured(3).isEmpty() ? 1 : m.captured(3).toLongLong();
    return (m.captured(1).toLongLong() * 12 + m.captured(2).toLongLong()) * 100000 + part;
}

QString PartName(const QString& month, int part) {
    return part <= 1 ? QString("journal-%1.jsonl").arg(month)
                     : QString("journal-%1.%2.jsonl").arg(month).arg(part);
}

// Writes all of `bytes`, going on after a signal or a partial write.
bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

TJournalFiles::TJournalFiles(QString folder) : folder_(std::move(folder)) {}

QStringList TJournalFiles::Files() const {
    QStringList names;
    const QFileInfoList entries =
        QDir(folder_).entryInfoList({"journal-*.jsonl"}, QDir::Files | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink() && Order(entry.fileName()) >= 0)
            names << entry.fileName();
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return Order(a) < Order(b); });
    return names;
}

QString TJournalFiles::FileFor(const QDateTime& time) const {
    const QString month = time.toString("yyyy-MM");
    int part = 1;
    for (const QString& name : Files()) {
        const QRegularExpressionMatch m = OwnName().match(name);
        if (m.captured(1) + '-' + m.captured(2) == month)
            part = std::max(part, m.captured(3).isEmpty() ? 1 : m.captured(3).toInt());
    }
    if (QFileInfo(folder_ + '/' + PartName(month, part)).size() >= MaxFileBytes)
        ++part;
    return PartName(month, part);
}

bool TJournalFiles::Append(const TJournalRecord& record) {
    lastError_.clear();
    if (!QDir().mkpath(folder_)) {
        lastError_ = "cannot make the folder " + folder_;
        return false;
    }
    const QString name = FileFor(record.time);
    const QString path = folder_ + '/' + name;
    const bool isNew = !QFileInfo::exists(path);
    // Read and write: the last byte is looked at before the record goes on.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        lastError_ = path + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // A line a crash left torn is closed first, so that this record stands on a line of its own.
    QByteArray bytes = record.ToLine() + '\n';
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
        bytes.prepend('\n');
    const bool written = WriteAll(fd, bytes);
    if (!written)
        lastError_ = path + ": " + QString::fromLocal8Bit(std::strerror(errno));
    ::flock(fd, LOCK_UN);
    ::close(fd);
    if (isNew)
        Prune(name);
    return written;
}

void TJournalFiles::Read(const QDateTime& since,
                         const std::function<bool(const TJournalRecord&)>& take) const {
    const QString sinceMonth = since.isValid() ? since.toString("yyyy-MM") : QString();
    for (const QString& name : Files()) {
        // A month wholly before `since` is not opened.
        if (!sinceMonth.isEmpty() && name.mid(8, 7) < sinceMonth)
            continue;
        QFile file(folder_ + '/' + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            QByteArray line = file.readLine(1 << 20);
            if (line.endsWith('\n'))
                line.chop(1);
            else if (!file.atEnd())
                continue; // longer than any record of ours
            const auto record = TJournalRecord::FromLine(line);
            if (!record || (since.isValid() && record->time < since))
                continue;
            if (!take(*record))
                return;
        }
    }
}

void TJournalFiles::Prune(const QString& keep) const {
    QStringList files = Files();
    qint64 total = 0;
    QStringList months;
    for (const QString& name : files) {
        total += QFileInfo(folder_ + '/' + name).size();
        if (!months.contains(name.mid(8, 7)))
            months << name.mid(8, 7);
    }
    while (!files.isEmpty() && files.first() != keep &&
           (total > MaxTotalBytes || months.size() > MaxMonths)) {
        const QString oldest = files.takeFirst();
        total -= QFileInfo(folder_ + '/' + oldest).size();
        QFile::remove(folder_ + '/' + oldest);
        if (files.isEmpty() || files.first().mid(8, 7) != oldest.mid(8, 7))
            months.removeOne(oldest.mid(8, 7));
    }
}
