// libFuzzer target for the program preview: each byte picks a command (loops and buffers among
// the likeliest), the next bytes its argument, so that deep and wide repetitions come quickly.
// The walk must end soon for any list (the run's -timeout holds it to that), keep its positions
// within the counted range, and name a line of the list in every finding.
#include "preview/ProgramPreview.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const codes[] = {"LD", "ED", "LL", "JP", "LB", "SB", "MV", "SD", "DL", "DR",
                                        "RS", "SP", "HM", "ML", "WL", "XX", "JP", "LL", "MV", "SB"};
    constexpr size_t codeCount = sizeof(codes) / sizeof(codes[0]);
    QStringList lines;
    for (size_t i = 0; i < size && lines.size() < 65535;) {
        const uint8_t op = data[i++];
        QString line = codes[op % codeCount];
        // The argument: none, a byte, or up to eight bytes (beyond every range on purpose).
        const int width = (op / codeCount) % 4;
        if (width > 0) {
            quint64 value = 0;
            for (int b = 0; b < (width == 3 ? 8 : width) && i < size; ++b)
                value = (value << 8) | data[i++];
            line += QString::number(width == 3 ? qint64(value) : qint64(value % 300));
        }
        lines << line;
    }
    TTravelLimits travel;
    travel[1] = {true, -1000, 1000};
    const Preview::TListPreview preview = Preview::PreviewList(lines, travel);
    for (const Preview::TFinding& f : preview.findings) {
        if (f.line < -1 || f.line >= lines.size())
            std::abort();
    }
    for (const Preview::TProgram& p : preview.programs) {
        const TMotionEffect& m = p.motion;
        if (m.moves < 0 || m.stepsForward < 0 || m.stepsBackward < 0 || m.relativeLow > 0 ||
            m.relativeHigh < 0)
            std::abort();
        if (p.path.size() > size_t(Preview::MaxPathPoints) + 1)
            std::abort();
    }
    return 0;
}
