// kvtdefaults: writes the settings files of a fresh installation (Data/portp.dat, prp.dat,
// erp.dat with the initial values and port 1) into a program folder, leaving any that exist.
//
//   kvtdefaults PROGRAM_FOLDER
#include "core/ProgramPaths.h"
#include "settings/SettingsFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvtdefaults PROGRAM_FOLDER\n");
        return 2;
    }
    const TProgramPaths target(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(target.DataFolder());
    // Written in a scratch folder, then copied where none exists: an operator's files stay.
    QTemporaryDir scratch;
    const TProgramPaths fresh(scratch.path());
    try {
        TSettingsFiles::WriteDefaults(fresh);
    } catch (...) {
        std::fprintf(stderr, "kvtdefaults: cannot write the settings files\n");
        return 1;
    }
    for (const char* name : {"portp.dat", "prp.dat", "erp.dat"}) {
        if (!QFileInfo::exists(target.DataFile(name)))
            QFile::copy(fresh.DataFile(name), target.DataFile(name));
    }
    return 0;
}
