// A program that saves its program pair and its settings is killed at random moments, at once
// (SIGKILL) or first asked to end (SIGTERM) and then killed: every file is always the old or the
// new one, whole, and the next start and load work.
#include "FakeView.h"
#include "SaveVersions.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "editor/ProgramFiles.h"
#include "settings/LogFiles.h"
#include "settings/SettingsFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

// Which version `value` is, or -1 when it is neither.
template <typename Get> int VersionOf(Get get) {
    for (int n : {0, 1}) {
        if (get(SaveVersions::Version(n)))
            return n;
    }
    return -1;
}

// Reads the saver's output until a line `line` (false when it ends or is silent for a minute).
bool WaitForLine(QProcess& saver, const QByteArray& line) {
    for (;;) {
        while (saver.canReadLine()) {
            if (saver.readLine().trimmed() == line)
                return true;
        }
        if (!saver.waitForReadyRead(60000))
            return false;
    }
}

} // namespace

TEST(KillBattery, EveryFileIsTheOldOrTheNewOneWholeAndTheNextStartWorks) {
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE("seed " + std::to_string(seed));
    QRandomGenerator random(seed);
    QTemporaryDir dir;
    const TProgramPaths paths(dir.path());
    for (const char* sub : {"Data", "Log", "Users", "ports", "lang"})
        QDir(dir.path()).mkpath(sub);
    const TSettingsFiles files(paths);
    const QString program = paths.UsersFolder() + "/p.kvt";
    int sawBoth[2] = {0, 0};
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QProcess saver;
        saver.start(KVT_SAVE_LOOP, {dir.path()});
        ASSERT_TRUE(saver.waitForStarted());
        // The moment is counted from when it starts to save, not from its start-up, which a busy
        // machine can make longer than any moment chosen; the first round lets one save end
        // whole, so that there is always a pair to look at.
        ASSERT_TRUE(WaitForLine(saver, "saving"));
        if (round == 0) {
            ASSERT_TRUE(WaitForLine(saver, "saved"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(40)));
        if (random.bounded(2) == 0) {
            ::kill(pid_t(saver.processId()), SIGTERM); // asked to end, then killed mid-close
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(3000)));
        }
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(60000));
        if (!QFileInfo::exists(program))
            continue; // killed before its first save was whole

        // The pair: one version, both files of the same one.
        ASSERT_TRUE(ProgramFiles::CompanionExists(program));
        ProgramFiles::TLoaded loaded;
        ASSERT_NO_THROW(loaded = ProgramFiles::Load(program, SaveVersions::Lang(paths)));
        EXPECT_TRUE(loaded.damage.isEmpty()) << loaded.damage.join(" ").toStdString();
        const int version = VersionOf([&](const SaveVersions::TVersion& v) {
            return loaded.program.lines == v.lines && loaded.program.descriptions == v.descriptions;
        });
        EXPECT_GE(version, 0) << "the pair is neither the old nor the new one";
        if (version >= 0)
            ++sawBoth[version];

        // Each settings file: whole, and one of the two versions.
        TSettings read;
        ASSERT_TRUE(files.LoadPortSettings(read));
        ASSERT_TRUE(files.LoadProgramSettings(read));
        ASSERT_TRUE(files.LoadErrorSettings(read));
        EXPECT_GE(VersionOf([&](const SaveVersions::TVersion& v) {
                      return read.PortNumber == v.settings.PortNumber;
                  }),
                  0);
        EXPECT_GE(VersionOf([&](const SaveVersions::TVersion& v) {
                      return read.UnitsName == v.settings.UnitsName;
                  }),
                  0);
        EXPECT_GE(VersionOf([&](const SaveVersions::TVersion& v) {
                      return read.ReplyTime == v.settings.ReplyTime;
                  }),
                  0);

        // Each session's copy of the log: whole, one of the two versions.
        for (const QString& name : QDir(paths.LogFolder()).entryList({"*_work.log"}, QDir::Files)) {
            const QStringList lines = LoadLinesFromFile(paths.LogFile(name), false);
            EXPECT_GE(VersionOf([&](const SaveVersions::TVersion& v) { return lines == v.lines; }), 0)
                << name.toStdString();
        }
    }
    // What the killed saves left is removed at the next start; the copies stay within their
    // count (the copy of a session killed before it could prune being one more).
    LogFiles::RemoveLeftovers(paths);
    for (const QString& folder : {paths.LogFolder(), paths.DataFolder()})
        EXPECT_TRUE(QDir(folder).entryList({".*.kvt-new"}, QDir::Files | QDir::Hidden).isEmpty())
            << folder.toStdString();
    EXPECT_LE(QDir(paths.LogFolder()).entryList({"*_work.log"}, QDir::Files).size(), 4);
    // The next start: every settings file reads, nothing to report.
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session(dir.path(), view, &view);
    EXPECT_TRUE(session.Options().DamagedFiles().isEmpty())
        << session.Options().DamagedFiles().join(' ').toStdString();
    EXPECT_GT(sawBoth[0] + sawBoth[1], 0) << "no round left a pair to look at";
}
