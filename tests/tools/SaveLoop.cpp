// Saves a program pair, the three settings files and a session copy of the log over and over,
// alternating two versions of each, as a program at work saves them (the copies of the sessions
// before pruned to three); on SIGTERM it saves once more, as a closing program
// does, and ends. The kill battery kills it at random moments, counted from the line "saving"
// it prints when it starts to save (its start-up may take long on a busy machine); it prints
// "saved" after each round of saves.
//
//   kvt_save_loop FOLDER
#include "SaveVersions.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "editor/ProgramFiles.h"
#include "lang/Lang.h"
#include "settings/LogFiles.h"
#include "settings/SettingsFiles.h"

#include <QDateTime>

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>

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
    const QDateTime start = QDateTime::currentDateTime();
    std::puts("saving");
    std::fflush(stdout);
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
        const QString copy = LogFiles::SessionCopyName(paths, start, "work");
        SaveLinesToFile(copy, v.lines, false);
        LogFiles::RecordSessionCopy(paths, copy);
        LogFiles::PruneSessionCopies(paths, 3, {copy});
        std::puts("saved");
        std::fflush(stdout);
        if (ending)
            return 0; // the close's own save was the one just made
    }
}
