#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QFileDevice;

// The file stream through which the program writes and reads its own files. With scrambling on,
// every byte is shifted by a fixed key-dependent offset on the way to the disk and shifted back
// on the way in; with it off the stream is an ordinary file. The shift does not depend on the
// position, so a file may be read or written in pieces of any size and seeking keeps working.
//
// A stream opened with fmCreate writes beside the target and replaces it only on Commit(), in one
// rename: a write that fails, or a stream destroyed without Commit(), leaves the earlier file
// whole.
class TEncodedStream {
public:
    static constexpr quint16 fmOpenRead = 0;    // an existing file, for reading
    static constexpr quint16 fmCreate = 0xFFFF; // a new file, or one that replaces the old

    // Throws EFileError ("Cannot open file ..." or "Cannot create file ...") when the file cannot
    // be opened; no stream exists then and nothing is written.
    TEncodedStream(const QString& fileName, quint16 mode, bool scramble);
    ~TEncodedStream();
    TEncodedStream(const TEncodedStream&) = delete;
    TEncodedStream& operator=(const TEncodedStream&) = delete;

    // Reads up to `count` bytes and returns how many were read. Throws EFileError on failure.
    qint64 Read(char* buffer, qint64 count);
    // Writes `count` bytes; returns `count`. Throws EFileError on failure.
    qint64 Write(const char* buffer, qint64 count);
    // Replaces the target file by what was written (fmCreate only). Throws EFileError on failure.
    void Commit();

    qint64 Size() const;
    qint64 Position() const;
    bool Seek(qint64 position);

    bool Scramble() const { return scramble_; }
    // The shift applied to every byte: the sum of the key bytes, modulo 256.
    static quint8 Offset();

private:
    // The key of every stream. Files written with one key can only be read with the same key,
    // so these five bytes must never change: they are the letters "KVT" and the digits "17".
    static constexpr std::array<quint8, 5> Key = {0x4B, 0x56, 0x54, 0x31, 0x37};

    QString fileName_;
    quint16 mode_;
    bool scramble_;
    std::unique_ptr<QFileDevice> file_;
};

// The text of a list of lines as the program stores it: every line followed by CR LF, UTF-8.
QByteArray JoinLinesForFile(const QStringList& lines);
// Splits file text into lines at CR LF, LF or CR; a break after the last line does not start
// another line; a zero byte ends the text. Bytes that are not valid UTF-8 read as Windows-1251.
QStringList SplitFileLines(const QByteArray& bytes);

// Writes `lines` to `fileName` through a TEncodedStream, replacing the file atomically.
// Throws EFileError; on failure the earlier file stays as it was.
void SaveLinesToFile(const QString& fileName, const QStringList& lines, bool scramble);
// Reads the whole file through a TEncodedStream as a list of lines. Throws EFileError.
QStringList LoadLinesFromFile(const QString& fileName, bool scramble);
