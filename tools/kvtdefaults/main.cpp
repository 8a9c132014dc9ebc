// kvtdefaults: writes the settings files of a fresh installation (Data/portp.dat, prp.dat,
// erp.dat with the initial values and port 1) into a program folder, leaving any that exist.
//
//   kvtdefaults PROGRAM_FOLDER
#include "core/AppError.h"
#include "core/ProgramPaths.h"
#include "settings/SettingsFiles.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvtdefaults PROGRAM_FOLDER\n");
        return 2;
    }
    try {
        TSettingsFiles::WriteMissingDefaults(TProgramPaths(QString::fromLocal8Bit(argv[1])));
    } catch (const EFileError& error) {
        std::fprintf(stderr, "kvtdefaults: %s\n", qPrintable(error.Text()));
        return 1;
    }
    return 0;
}
