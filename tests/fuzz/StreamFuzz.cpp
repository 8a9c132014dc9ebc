// libFuzzer target for the scrambled file stream and the reading of file text: any bytes on
// disk must read back as they were written, and split into lines without crash or blow-up.
#include "core/EncodStr.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const TFileText text = ReadFileText(bytes, 1000);
    if (!text.tooManyLines && text.lines.size() != text.lineCount)
        std::abort(); // the lines counted are the lines read
    if (text.tooManyLines && (!text.lines.isEmpty() || text.lineCount <= 1000))
        std::abort();
    for (const qsizetype line : text.guessedLines) {
        if (line < 0 || line >= text.lines.size())
            std::abort();
    }
    // What the program writes, it reads back the same.
    if (!text.tooManyLines && !text.zeroByte &&
        ReadFileText(JoinLinesForFile(text.lines)).lines != text.lines)
        std::abort();

    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/kvt-fuzz-XXXXXX" : QString());
    const QString path = dir.filePath("f.kvt");
    {
        TEncodedStream out(path, TEncodedStream::fmCreate, true);
        out.Write(bytes.constData(), bytes.size());
        out.Commit();
    }
    TEncodedStream in(path, TEncodedStream::fmOpenRead, true);
    QByteArray back(bytes.size(), Qt::Uninitialized);
    if (in.Read(back.data(), back.size()) != bytes.size() || back != bytes)
        std::abort(); // scrambling is undone byte for byte
    return 0;
}
