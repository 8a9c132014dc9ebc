#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QFile;

// The file stream through which the program writes and reads its own files. With scrambling on,
// every byte is shifted by a fixed key-dependent offset on the way to the disk and shifted back
// on the way in; with it off the stream is an ordinary file. The shift does not depend on the
// position, so a file may be read or written in pieces of any size and seeking keeps working.
//
// A stream opened with fmCreate writes to a temporary file beside the target (hidden: a dot, the
// target's name and ".kvt-new", a name no operator gives a file) and replaces the target only on Commit() (or
// Sync() and then Replace()), in one rename: a write that fails, or a stream destroyed before Replace(),
// leaves the earlier file whole and removes the temporary file. A stream opened for reading opens regular
// files only and never blocks on a pipe or device.
class TEncodedStream {
public:
    static constexpr quint16 fmOpenRead = 0;    // an existing file, for reading
    static constexpr quint16 fmCreate = 0xFFFF; // a new file, or one that replaces the old

    // Throws EFileError ("Cannot open file ..." or "Cannot create file ...", with the system's
    // reason) when the file cannot be opened; no stream exists then and nothing is written.
    TEncodedStream(const QString& fileName, quint16 mode, bool scramble);
    ~TEncodedStream();
    TEncodedStream(const TEncodedStream&) = delete;
    TEncodedStream& operator=(const TEncodedStream&) = delete;

    // Reads up to `count` bytes and returns how many were read. Throws EFileError on failure.
    qint64 Read(char* buffer, qint64 count);
    // Reads from here to the end, at most `most` bytes. Throws EFileError on failure.
    QByteArray ReadRest(qint64 most);
    // Writes `count` bytes; returns `count`. Throws EFileError on failure.
    qint64 Write(const char* buffer, qint64 count);
    // Sync() and Replace().
    void Commit();
    // Puts everything written on the disk (fmCreate only). Throws EFileError on failure.
    void Sync();
    // Replaces the target by the synced temporary file, in one rename. Throws EFileError.
    void Replace();

    qint64 Size() const;
    qint64 Position() const;
    bool Seek(qint64 position);

    bool Scramble() const { return scramble_; }
    // The shift applied to every byte: the sum of the key bytes, modulo 256.
    static quint8 Offset();
    // The temporary file a save to `fileName` writes before it replaces the target.
    static QString TemporaryName(const QString& fileName) { return HelperName(fileName, "new"); }
    // A helper file of a save beside `fileName`: ".<name>.kvt-<role>", hidden.
    static QString HelperName(const QString& fileName, const char* role);
    // Whether a save may replace `fileName`: it is missing, or a regular file (not a link, a
    // pipe, a folder or a device node, which a save would turn into a regular file).
    static bool MayReplace(const QString& fileName);

private:
    // The key of every stream. Files written with one key can only be read with the same key,
    // so these five bytes must never change: they are the letters "KVT" and the digits "17".
    static constexpr std::array<quint8, 5> Key = {0x4B, 0x56, 0x54, 0x31, 0x37};

    [[noreturn]] void FailWrite(int error) const;

    QString fileName_;
    quint16 mode_;
    bool scramble_;
    bool replaced_ = false;
    std::unique_ptr<QFile> file_;
};

// The text of a file as lines, with what a reader should know about how it was read.
struct TFileText {
    QStringList lines;
    qsizetype lineCount = 0;      // lines the file holds (also when they were not read)
    bool tooManyLines = false;    // more lines than the reader takes: none were read
    bool lastLineUnended = false; // the last line has no line break: the file may be cut short
    bool zeroByte = false;        // a zero byte ended the text; what followed it was not read
    // Lines (0-based) that are not valid UTF-8 and were read as Windows-1251, in a file whose
    // other lines with letters beyond ASCII are UTF-8: one file, two encodings.
    QList<qsizetype> guessedLines;
    bool MixedEncodings() const { return !guessedLines.isEmpty(); }
};

// The text of a list of lines as the program stores it: every line followed by CR LF, UTF-8.
QByteArray JoinLinesForFile(const QStringList& lines);
// Splits file text into lines at CR LF, LF or CR; a break after the last line does not start
// another line; a zero byte ends the text. Each line is read as UTF-8 when it is valid UTF-8,
// else as Windows-1251, so that one damaged line does not garble the others. With `maxLines`
// at 0 or above, a text of more lines is not split at all (tooManyLines).
TFileText ReadFileText(const QByteArray& bytes, qsizetype maxLines = -1);
// ReadFileText(bytes).lines.
QStringList SplitFileLines(const QByteArray& bytes);

// Writes `lines` to `fileName` through a TEncodedStream, replacing the file atomically.
// Throws EFileError; on failure the earlier file stays as it was.
void SaveLinesToFile(const QString& fileName, const QStringList& lines, bool scramble);
// Reads the whole file through a TEncodedStream. Throws EFileError.
TFileText LoadFileText(const QString& fileName, bool scramble, qsizetype maxLines = -1);
// LoadFileText(...).lines.
QStringList LoadLinesFromFile(const QString& fileName, bool scramble);
