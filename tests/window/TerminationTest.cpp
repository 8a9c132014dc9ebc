// The program asked to end (SIGTERM: a logout, a shutdown) while one of its boxes stands: at the
// start, at the close, over a folder another program holds. The real dialogs are used: the boxes
// are Qt's own, each with its event loop; the program must end all the same.
#include "ProgramFolder.h"
#include "Simulator.h"
#include "Startup.h"
#include "Wait.h"
#include "core/EncodStr.h"
#include "startup/CommandLine.h"
#include "startup/CrashReport.h"
#include "startup/FolderLock.h"
#include "startup/TerminationWatch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

namespace {

// Ends the program with SIGTERM once a box has stood for a moment; a watchdog closes whatever
// still stands much later, so that a program that does not end fails the test instead of
// hanging it.
class TerminationFixture : public ::testing::Test {
protected:
    int Run(const TCommandLine& line, const std::function<void()>& beforeTerm = {}) {
        QTimer term;
        term.setSingleShot(true);
        QObject::connect(&term, &QTimer::timeout, [&] {
            if (beforeTerm)
                beforeTerm();
            boxSeen = boxSeen || OpenBoxes() > 0;
            std::raise(SIGTERM);
        });
        QTimer close; // the close whose box the termination meets, when asked
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            hung = true;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                    d->reject();
                else
                    w->close();
            }
        });
        term.start(termAfterMs);
        watchdog.start(30000);
        return RunProgram(line, QCoreApplication::applicationDirPath(), watch);
    }
    static int OpenBoxes() {
        int boxes = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            boxes += qobject_cast<QDialog*>(w) && w->isVisible();
        return boxes;
    }

    TTerminationWatch watch;
    int termAfterMs = 300;
    bool hung = false;
    bool boxSeen = false;
};

} // namespace

TEST_F(TerminationFixture, EndsWhileTheBoxOfAnUnusableProgramFolderStands) {
    QTemporaryDir dir;
    QFile file(dir.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    TCommandLine line;
    line.folder = dir.filePath("file/KVT_Program"); // below a file: no folder can be made
    EXPECT_EQ(Run(line), 1);
    EXPECT_TRUE(boxSeen) << "the box stood when the request came";
    EXPECT_FALSE(hung) << "the box held the program back";
}

TEST_F(TerminationFixture, EndsWhileTheCloseAsksWhetherToCloseWithoutSaving) {
    ProgramFolder folder;
    kvtsim::Simulator simulator;
    ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString()));
    // prp.dat cannot be written: its temporary file's place is taken by a folder.
    ASSERT_TRUE(QDir().mkpath(TEncodedStream::TemporaryName(folder.File("Data/prp.dat")) + "/x"));
    TCommandLine line;
    line.folder = folder.Path();
    termAfterMs = 900;
    QTimer::singleShot(300, [] { QApplication::closeAllWindows(); }); // the operator closes
    // The operator answers the first box (the file that could not be written); the question
    // whether to close without saving the rest then stands when the request comes.
    QTimer::singleShot(600, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                d->accept();
        }
    });
    EXPECT_EQ(Run(line), 0);
    EXPECT_TRUE(boxSeen);
    EXPECT_FALSE(hung);
}

TEST_F(TerminationFixture, ASecondProgramOnAHeldFolderAsksAndEndsAtTheRequest) {
    ProgramFolder folder;
    TFolderLock first(folder.Path());
    ASSERT_TRUE(first.TryLock());
    TFolderLock second(folder.Path());
    EXPECT_FALSE(second.TryLock());
    EXPECT_EQ(second.HolderPid(), QCoreApplication::applicationPid()) << "the holder is named";

    TCommandLine line;
    line.folder = folder.Path();
    const QStringList before = QDir(folder.File("Data")).entryList(QDir::Files);
    const QByteArray prp = [&] {
        QFile f(folder.File("Data/prp.dat"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_EQ(Run(line), 1) << "the question's default is to quit";
    EXPECT_TRUE(boxSeen);
    EXPECT_FALSE(hung);
    QFile after(folder.File("Data/prp.dat"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), prp) << "nothing of the held folder was written";
}

TEST(CrashReport, AFatalSignalLeavesWhatTheProgramWasDoingAndTheNextStartSaysSo) {
    ProgramFolder folder;
    kvtsim::Simulator simulator;
    ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString()));
    QProcess program;
    program.start(KVT_PROGRAM, {"-platform", "offscreen", "--folder", folder.Path()});
    ASSERT_TRUE(program.waitForStarted());
    // Running: it holds the folder and listens for files handed over.
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(folder.File(".kvt-program.socket")); }, 60000));
    ::kill(pid_t(program.processId()), SIGSEGV);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << "it ended as the signal would have";
    QFile written(folder.File("Log/crash.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLocal8Bit(written.readAll()).split('\n', Qt::SkipEmptyParts);
    written.close();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], "fatal signal: SEGV");
    EXPECT_TRUE(lines.mid(2).join('\n').contains("KVT_Program"))
        << "the stack: " << lines.join('\n').toStdString();

    const auto last = CrashReport::TakeLast(folder.File("Log"));
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->cause, "fatal signal: SEGV");
    EXPECT_TRUE(QFileInfo::exists(last->file));
    EXPECT_FALSE(QFileInfo::exists(folder.File("Log/crash.txt")));
    EXPECT_FALSE(CrashReport::TakeLast(folder.File("Log")).has_value()) << "said once";
}
