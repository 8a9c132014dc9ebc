// libFuzzer target for the settings files: any bytes as portp.dat, prp.dat or erp.dat must load
// without crash, leave every value in its range of type, and a file written from what was loaded
// must load back to the same values.
#include "FakeView.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
class Selections : public ISettingsView {
public:
    void SelectControlMode(int mode) override { controlMode = mode; }
    void SelectUnitsMode(int mode) override { unitsMode = mode; }
    int controlMode = 0, unitsMode = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/kvt-fuzz-XXXXXX" : QString());
    const TProgramPaths paths(dir.path());
    QDir().mkpath(paths.DataFolder());
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (char& c : bytes)
        c = char(quint8(c) + 93); // scrambled, as the files lie on disk
    for (const char* name : {"prp.dat", "erp.dat"}) {
        QFile file(paths.DataFile(name));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(bytes);
    }
    FakeView view;
    TCommonDatas datas(view);
    TSettingsFiles files(paths, datas);
    Selections selections;
    files.LoadProgramSettings(&selections);
    files.LoadErrorSettings();
    if (datas.Language.isEmpty())
        std::abort(); // a language is always there to start in

    // What was loaded, written and read again, reads the same.
    files.WriteProgramSettings(selections.controlMode, selections.unitsMode);
    files.WriteErrorSettings();
    FakeView againView;
    TCommonDatas again(againView);
    TSettingsFiles againFiles(paths, again);
    Selections againSelections;
    if (!againFiles.LoadProgramSettings(&againSelections) || !againFiles.LoadErrorSettings())
        std::abort();
    if (again.Language != datas.Language.trimmed() || again.ShowPortLog != datas.ShowPortLog ||
        again.ReplyTime != datas.ReplyTime || again.Er6Reaction != datas.Er6Reaction ||
        againSelections.controlMode != selections.controlMode)
        std::abort();
    return 0;
}
