#include "EncodStr.h"

#include "AppError.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Flushes a folder's entries (a rename in it) to the disk; best effort.
void SyncFolder(const QString& fileName) {
    const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

quint8 TEncodedStream::Offset() {
    return static_cast<quint8>(std::accumulate(Key.begin(), Key.end(), 0u) % 256u);
}

TEncodedStream::TEncodedStream(const QString& fileName, quint16 mode, bool scramble)
    : fileName_(fileName), mode_(mode), scramble_(scramble), file_(std::make_unique<QFile>()) {
    if (mode == fmCreate) {
        const QString temporary = TemporaryName(fileName);
        const QByteArray path = QFile::encodeName(temporary);
        ::unlink(path.constData()); // left by a save that was interrupted
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            throw EFileError::CannotCreate(fileName, SystemReason(errno));
        file_->setFileName(temporary);
        if (!file_->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            ::unlink(path.constData());
            throw EFileError::CannotCreate(fileName, file_->errorString());
        }
        return;
    }
    // Opened without blocking, so that a pipe named like a program cannot hold the window, and
    // taken only when it is a regular file.
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw EFileError::CannotOpen(fileName, SystemReason(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        throw EFileError::CannotOpen(fileName, SystemReason(error));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_->setFileName(fileName);
    if (!file_->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw EFileError::CannotOpen(fileName, file_->errorString());
    }
}

TEncodedStream::~TEncodedStream() {
    // A save stream that never replaced its target is discarded: the target keeps its old
    // contents and the temporary file goes.
    if (mode_ == fmCreate && !replaced_) {
        file_->close();
        ::unlink(QFile::encodeName(TemporaryName(fileName_)).constData());
    }
}

void TEncodedStream::FailWrite(int error) const {
    throw EFileError::CannotCreate(fileName_, SystemReason(error != 0 ? error : EIO));
}

qint64 TEncodedStream::Write(const char* buffer, qint64 count) {
    if (count <= 0)
        return 0;
    std::vector<char> temporary(static_cast<size_t>(count));
    const quint8 offset = scramble_ ? Offset() : 0;
    for (qint64 i = 0; i < count; ++i)
        temporary[size_t(i)] = static_cast<char>(static_cast<quint8>(buffer[i]) + offset);
    // Straight to the file descriptor: a full disk is reported with the system's reason.
    const int fd = file_->handle();
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, temporary.data() + done, size_t(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            FailWrite(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return count;
}

qint64 TEncodedStream::Read(char* buffer, qint64 count) {
    if (count <= 0)
        return 0;
    std::vector<char> temporary(static_cast<size_t>(count));
    const qint64 n = file_->read(temporary.data(), count);
    if (n < 0)
        throw EFileError::CannotOpen(fileName_, file_->errorString());
    const quint8 offset = scramble_ ? Offset() : 0;
    for (qint64 i = 0; i < n; ++i)
        buffer[i] = static_cast<char>(static_cast<quint8>(temporary[size_t(i)]) - offset);
    return n;
}

void TEncodedStream::Sync() {
    if (mode_ != fmCreate)
        return;
    if (::fsync(file_->handle()) != 0 && errno != EINVAL)
        FailWrite(errno);
}

void TEncodedStream::Replace() {
    if (mode_ != fmCreate || replaced_)
        return;
    file_->close();
    const QByteArray from = QFile::encodeName(TemporaryName(fileName_));
    const QByteArray to = QFile::encodeName(fileName_);
    if (::rename(from.constData(), to.constData()) != 0)
        FailWrite(errno);
    replaced_ = true;
    SyncFolder(fileName_);
}

void TEncodedStream::Commit() {
    Sync();
    Replace();
}

qint64 TEncodedStream::Size() const {
    return file_->size();
}
qint64 TEncodedStream::Position() const {
    return file_->pos();
}
bool TEncodedStream::Seek(qint64 position) {
    return file_->seek(position);
}

bool TEncodedStream::MayReplace(const QString& fileName) {
    struct stat status {};
    if (::lstat(QFile::encodeName(fileName).constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

QString TEncodedStream::HelperName(const QString& fileName, const char* role) {
    const qsizetype slash = fileName.lastIndexOf('/');
    return fileName.left(slash + 1) + '.' + fileName.mid(slash + 1) + ".kvt-" + QLatin1String(role);
}

QByteArray JoinLinesForFile(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += TextCodec::EncodeFileText(line);
        bytes += "\r\n";
    }
    return bytes;
}

TFileText ReadFileText(const QByteArray& raw, qsizetype maxLines) {
    TFileText result;
    QByteArrayView bytes(raw);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) {
        bytes = bytes.first(zero);
        result.zeroByte = true;
    }
    const qsizetype n = bytes.size();
    // Count first, so that a text of millions of line breaks costs a scan, not millions of lines.
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\n' || (c == '\r' && !(i + 1 < n && bytes[i + 1] == '\n')))
            ++count;
    }
    const bool unended = n > 0 && bytes[n - 1] != '\n' && bytes[n - 1] != '\r';
    result.lineCount = count + (unended ? 1 : 0);
    result.lastLineUnended = unended;
    if (maxLines >= 0 && result.lineCount > maxLines) {
        result.tooManyLines = true;
        return result;
    }

    bool utf8Letters = false; // a line with characters beyond ASCII that is valid UTF-8
    result.lines.reserve(result.lineCount);
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        bool guessed = false;
        result.lines.append(TextCodec::DecodeLine(bytes.sliced(start, end - start), &guessed, &utf8Letters));
        if (guessed)
            result.guessedLines.append(result.lines.size() - 1);
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        take(i);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(n);
    // Windows-1251 throughout is an older file, read as it was meant; only a file that is
    // UTF-8 elsewhere makes a line that is not a guess worth telling.
    if (!utf8Letters)
        result.guessedLines.clear();
    return result;
}

QStringList SplitFileLines(const QByteArray& bytes) {
    return ReadFileText(bytes).lines;
}

void SaveLinesToFile(const QString& fileName, const QStringList& lines, bool scramble) {
    const QByteArray bytes = JoinLinesForFile(lines);
    TEncodedStream stream(fileName, TEncodedStream::fmCreate, scramble);
    stream.Write(bytes.constData(), bytes.size());
    stream.Commit();
}

QByteArray TEncodedStream::ReadRest(qint64 most) {
    QByteArray bytes(qsizetype(std::clamp<qint64>(Size() - Position(), 0, most)), Qt::Uninitialized);
    qint64 total = 0;
    while (total < bytes.size()) {
        const qint64 n = Read(bytes.data() + total, bytes.size() - total);
        if (n <= 0)
            break;
        total += n;
    }
    bytes.truncate(total);
    return bytes;
}

TFileText LoadFileText(const QString& fileName, bool scramble, qsizetype maxLines) {
    TEncodedStream stream(fileName, TEncodedStream::fmOpenRead, scramble);
    return ReadFileText(stream.ReadRest(std::numeric_limits<qint64>::max()), maxLines);
}

QStringList LoadLinesFromFile(const QString& fileName, bool scramble) {
    return LoadFileText(fileName, scramble).lines;
}
