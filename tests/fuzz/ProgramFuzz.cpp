// libFuzzer target for the program-file pair: the first byte cuts the rest into a program file
// and its companion (scrambled as on disk). Loading must never crash, never take more lines
// than a program may have, and the list must take what was loaded as it is.
#include "FakeView.h"
#include "core/AppError.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/Lang.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
void WriteScrambled(const QString& path, const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (char& c : bytes)
        c = char(quint8(c) + 93);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(bytes);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/kvt-fuzz-XXXXXX" : QString());
    const size_t cut = std::min<size_t>(data[0], size - 1);
    WriteScrambled(dir.filePath("p.kvt"), data + 1, cut);
    WriteScrambled(dir.filePath("p._kvt"), data + 1 + cut, size - 1 - cut);

    FakeView view;
    TCommonDatas datas(view);
    TProgramPaths paths(dir.path());
    TLang lang(paths, datas, view);
    try {
        const ProgramFiles::TLoaded loaded = ProgramFiles::Load(dir.filePath("p.kvt"), lang);
        if (loaded.program.lines.size() > ProgramFiles::MaxLines)
            std::abort();
        TCommandList list;
        list.SetProgram(loaded.program.lines, loaded.program.descriptions);
        if (list.Lines() != loaded.program.lines || list.Descriptions().size() != list.Count())
            std::abort();
        const int faulty = list.FirstFaultyLine();
        if ((faulty < 0) != (list.FaultyLineCount() == 0))
            std::abort();
    } catch (const EFileError&) {
        // refused with a reason: fine
    }
    return 0;
}
