// libFuzzer target for the settings files: any bytes as portp.dat, prp.dat or erp.dat must load
// without crash, leave every value in its range of type, and a file written from what was loaded
// must load back to the same values.
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

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
    const TSettingsFiles files(paths);
    TSettings settings;
    files.LoadProgramSettings(settings);
    files.LoadErrorSettings(settings);
    if (settings.Language.isEmpty())
        std::abort(); // a language is always there to start in

    // What was loaded, written and read again, reads the same.
    files.WriteProgramSettings(settings);
    files.WriteErrorSettings(settings);
    TSettings again;
    if (!files.LoadProgramSettings(again) || !files.LoadErrorSettings(again))
        std::abort();
    if (again.Language != settings.Language.trimmed() || again.ShowPortLog != settings.ShowPortLog ||
        again.ReplyTime != settings.ReplyTime || again.Er6Reaction != settings.Er6Reaction ||
        again.ControlMode != settings.ControlMode || again.UnitsMode != settings.UnitsMode)
        std::abort();
    return 0;
}
