// Saves a program pair and the three settings files over and over, alternating two versions of
// each, as a program at work saves them; on SIGTERM it saves once more, as a closing program
// does, and ends. The kill battery kills it at random moments.
//
//   kvt_save_loop FOLDER
#include "SaveVersions.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "editor/ProgramFiles.h"
#include "lang/Lang.h"
#include "settings/SettingsFiles.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>

namespace {
std::atomic<bool> ending{false};
void OnTerm(int) {
    ending = true;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    std::signal(SIGTERM, OnTerm);
    const TProgramPaths paths(QString::fromLocal8Bit(argv[1]));
    const TSettingsFiles files(paths);
    for (int i = 0;; ++i) {
        const int version = i % 2;
        const SaveVersions::TVersion v = SaveVersions::Version(version);
        // The settings first: once the program pair exists, every settings file has been
        // written at least once, and the battery checks them all.
        files.WritePortSettings(v.settings.PortNumber);
        files.WriteProgramSettings(v.settings);
        files.WriteErrorSettings(v.settings);
        ProgramFiles::Save(paths.UsersFolder() + "/p.kvt", {v.lines, v.descriptions},
                           SaveVersions::Lang(paths));
        if (ending)
            return 0; // the close's own save was the one just made
    }
}
