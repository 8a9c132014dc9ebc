#include "EncodStr.h"

#include "AppError.h"
#include "TextCodec.h"

#include <QFile>
#include <QSaveFile>

#include <numeric>
#include <vector>

quint8 TEncodedStream::Offset() {
    return static_cast<quint8>(std::accumulate(Key.begin(), Key.end(), 0u) % 256u);
}

TEncodedStream::TEncodedStream(const QString& fileName, quint16 mode, bool scramble)
    : fileName_(fileName), mode_(mode), scramble_(scramble) {
    if (mode == fmCreate) {
        auto file = std::make_unique<QSaveFile>(fileName);
        if (!file->open(QIODevice::WriteOnly))
            throw EFileError::CannotCreate(fileName, file->errorString());
        file_ = std::move(file);
    } else {
        auto file = std::make_unique<QFile>(fileName);
        if (!file->open(QIODevice::ReadOnly))
            throw EFileError::CannotOpen(fileName, file->errorString());
        file_ = std::move(file);
    }
}

TEncodedStream::~TEncodedStream() {
    // A save stream that was never committed is discarded: the target keeps its old contents.
    if (auto* save = dynamic_cast<QSaveFile*>(file_.get()))
        save->cancelWriting();
}

qint64 TEncodedStream::Write(const char* buffer, qint64 count) {
    if (count <= 0)
        return 0;
    std::vector<char> temporary(static_cast<size_t>(count));
    const quint8 offset = scramble_ ? Offset() : 0;
    for (qint64 i = 0; i < count; ++i)
        temporary[size_t(i)] = static_cast<char>(static_cast<quint8>(buffer[i]) + offset);
    const qint64 written = file_->write(temporary.data(), count);
    if (written != count)
        throw EFileError::CannotCreate(fileName_, file_->errorString());
    return written;
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

void TEncodedStream::Commit() {
    auto* save = dynamic_cast<QSaveFile*>(file_.get());
    if (!save)
        return;
    if (!save->commit())
        throw EFileError::CannotCreate(fileName_, save->errorString());
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

QByteArray JoinLinesForFile(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += TextCodec::EncodeFileText(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList SplitFileLines(const QByteArray& raw) {
    QByteArray bytes = raw;
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString text = TextCodec::DecodeFileBytes(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

void SaveLinesToFile(const QString& fileName, const QStringList& lines, bool scramble) {
    const QByteArray bytes = JoinLinesForFile(lines);
    TEncodedStream stream(fileName, TEncodedStream::fmCreate, scramble);
    stream.Write(bytes.constData(), bytes.size());
    stream.Commit();
}

QStringList LoadLinesFromFile(const QString& fileName, bool scramble) {
    TEncodedStream stream(fileName, TEncodedStream::fmOpenRead, scramble);
    const qint64 size = stream.Size() - stream.Position();
    QByteArray bytes(size > 0 ? size : 0, Qt::Uninitialized);
    qint64 total = 0;
    while (total < bytes.size()) {
        const qint64 n = stream.Read(bytes.data() + total, bytes.size() - total);
        if (n <= 0)
            break;
        total += n;
    }
    bytes.truncate(total);
    return SplitFileLines(bytes);
}
