#include "TextFileLines.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

TTextFileLines TTextFileLines::Read(const QString& fileName, qint64 maxBytes) {
    TTextFileLines read;
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink()) {
        read.fault = Fault::Missing;
        return read;
    }
    if (!info.isFile()) {
        read.fault = Fault::NotAFile;
        return read;
    }
    if (info.size() > maxBytes) {
        read.fault = Fault::TooLarge;
        return read;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        read.fault = Fault::Unreadable;
        return read;
    }
    // Read one byte past the bound: a file that grew since it was looked at is still too large.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        read.fault = Fault::TooLarge;
        return read;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.contains('\0')) {
        read.fault = Fault::NotText;
        return read;
    }
    QString normalized = text;
    normalized.replace("\r\n", "\n").replace('\r', '\n');
    read.lines = normalized.split('\n');
    if (!read.lines.isEmpty() && read.lines.last().isEmpty())
        read.lines.removeLast();
    return read;
}
