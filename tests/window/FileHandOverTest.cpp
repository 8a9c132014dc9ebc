// A program file opened while the program runs on the folder: the second start hands it over
// through the folder's local socket and ends; the running window loads it as a load does.
#include "FileHandOver.h"
#include "FileMenu.h"
#include "FolderClaim.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "protocol/UnitKVTComands.h"
#include "startup/FolderLock.h"
#include "widgets/RadioGroup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

TEST(FileHandOver, ASecondStartWithAFileHandsItToTheProgramThatHoldsTheFolderAndEnds) {
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    TFolderLock lock(folder.Path()); // the running program's
    ASSERT_TRUE(lock.TryLock());
    TFileHandOver server(folder.Path());
    ASSERT_TRUE(server.Listen());
    QStringList handed;
    QObject::connect(&server, &TFileHandOver::FileHanded, [&](const QString& file) { handed << file; });

    QProcess second;
    second.setWorkingDirectory(folder.Path());
    second.start(KVT_PROGRAM, {"-platform", "offscreen", "--folder", folder.Path(), "Users/pump.kvt"});
    ASSERT_TRUE(WaitUntil([&] { return second.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(handed, QStringList{folder.File("Users/pump.kvt")});
    EXPECT_TRUE(second.readAllStandardOutput().contains("pump.kvt"));

    // Without a file to hand over, a second start asks, as before, whether to run read only.
    EXPECT_EQ(TFileHandOver::HandTo(folder.Path() + "/elsewhere", "x.kvt", 200),
              TFileHandOver::Handed::NoListener)
        << "nobody listens there";
}

class FileHandOverWindow : public WindowFixture {};

TEST_F(FileHandOverWindow, TheRunningWindowLoadsAHandedFileAfterItsQuestion) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator());
    CreateWindow(1);
    const QString file = folder.File("Users/pump.kvt");
    SaveLinesToFile(file, {"LD1", "SD300", "ED"}, true);
    SaveLinesToFile(folder.File("Users/pump._kvt"), {"a", "b", "c"}, true);
    form->Session().Editor().Replace({"BG"}); // the operator's work, in no file
    dialogs.saveAnswers = {IDialogs::SaveChoice::Cancel};
    form->LoadAtStart(file);
    EXPECT_EQ(form->Session().Editor().List().Lines(), QStringList{"BG"}) << "Cancel keeps the work";
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
    form->LoadAtStart(file);
    EXPECT_EQ(form->Session().Editor().List().Lines(), (QStringList{"LD1", "SD300", "ED"}));
}

TEST_F(FileHandOverWindow, TheQuestionComesBeforeASimpleModeWindowSwitchesAndCancelKeepsItsMode) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator());
    CreateWindow(1);
    const QString file = folder.File("Users/pump.kvt");
    SaveLinesToFile(file, {"LD1", "SD300", "ED"}, true);
    SaveLinesToFile(folder.File("Users/pump._kvt"), {"a", "b", "c"}, true);
    form->Session().Editor().AddCommand(TKVTCommands::BG, "no"); // the operator's work, in no file
    form->rgrSingl_Mult->Click(TSettings::SimpleMode);           // kept aside by the switch
    dialogs.saveAnswers = {IDialogs::SaveChoice::Cancel};
    form->LoadAtStart(file);
    EXPECT_EQ(dialogs.saveQuestions.size(), 1);
    EXPECT_EQ(form->Session().Options().Settings().ControlMode, TSettings::SimpleMode)
        << "the mode as it was";
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
    form->LoadAtStart(file);
    EXPECT_EQ(dialogs.saveQuestions.size(), 2) << "asked once more, not twice";
    EXPECT_EQ(form->Session().Options().Settings().ControlMode, TSettings::ExtendedMode);
    EXPECT_EQ(form->Session().Editor().List().Lines(), (QStringList{"LD1", "SD300", "ED"}));
}

TEST(FileHandOver, ItsSocketIsThisUsersAloneAndItsMessagesAndClientsAreBounded) {
    QTemporaryDir home;
    const QString place = home.path() + "/runtime";
    ASSERT_TRUE(QDir().mkpath(place));
    ASSERT_TRUE(QFile::setPermissions(place, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(place));
    // A folder whose path is too long for a socket: the socket goes to the private place.
    const QString deep = home.path() + "/" + QString(120, 'd');
    ASSERT_TRUE(QDir().mkpath(deep));
    EXPECT_TRUE(TFileHandOver::SocketName(deep).startsWith(place + "/"))
        << TFileHandOver::SocketName(deep).toStdString();
    EXPECT_EQ(TFileHandOver::HandTo(deep, "/x/pump.kvt", 200), TFileHandOver::Handed::NoListener);
    // A name with a line break is refused, not cut.
    EXPECT_EQ(TFileHandOver::HandTo(deep, "/x/pump\n.kvt", 200), TFileHandOver::Handed::BadName);
    // Something that is no socket of this user's at the name: nothing is handed to it.
    QFile planted(TFileHandOver::SocketName(deep));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    EXPECT_EQ(TFileHandOver::HandTo(deep, "/x/pump.kvt", 200), TFileHandOver::Handed::NoListener);

    TFileHandOver server(deep);
    ASSERT_TRUE(server.Listen());
    QList<QLocalSocket*> clients;
    const auto client = [&](const QByteArray& message) {
        auto* socket = new QLocalSocket;
        socket->connectToServer(TFileHandOver::SocketName(deep));
        socket->write(message);
        clients << socket;
        return socket;
    };
    client(QByteArray(TFileHandOver::MaxMessage + 10, 'x')); // no line within the bound
    for (int i = 0; i < TFileHandOver::MaxClients + 2; ++i)
        client({});          // idle connections
    client("/x/pump.kvt\n"); // beyond the clients held: dropped as well
    ASSERT_TRUE(WaitUntil(
        [&] {
            return std::count_if(clients.begin(), clients.end(), [](QLocalSocket* s) {
                       return s->state() == QLocalSocket::UnconnectedState;
                   }) >= 3;
        },
        10000));
    EXPECT_TRUE(server.Waiting().isEmpty());
    qDeleteAll(clients);
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST(FileHandOver, HandedFilesWaitTheirTurnOneQuestionAtATime) {
    ProgramFolder folder;
    TFileHandOver server(folder.Path());
    ASSERT_TRUE(server.Listen());
    for (const char* file : {"/x/a.kvt\n", "/x/b.kvt\n"}) {
        QLocalSocket socket;
        socket.connectToServer(TFileHandOver::SocketName(folder.Path()));
        socket.write(file);
        socket.flush();
        ASSERT_TRUE(WaitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 10000));
    }
    ASSERT_TRUE(WaitUntil([&] { return server.Waiting().size() == 2; }, 10000)) << "held until a taker comes";
    bool busy = true;
    QStringList taken;
    server.SetTaker(
        [&](const QString& file) {
            taken << file;
            server.TakeNext(); // as a question's own loop would: the next waits for this one
            EXPECT_EQ(taken.size(), 1 + (file == "/x/b.kvt"));
        },
        [&] { return busy; });
    EXPECT_TRUE(taken.isEmpty()) << "nothing while the window is busy (a list being sent)";
    busy = false;
    server.TakeNext();
    ASSERT_TRUE(WaitUntil([&] { return taken.size() == 2; }, 10000));
    EXPECT_EQ(taken, (QStringList{"/x/a.kvt", "/x/b.kvt"}));
}

TEST_F(FileHandOverWindow, NothingReplacesTheListWhileItIsBeingSent) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator());
    CreateWindow(1);
    AllowSlowAnswers();
    const QString file = folder.File("Users/pump.kvt");
    SaveLinesToFile(file, {"LD1", "SD300", "ED"}, true);
    SaveLinesToFile(folder.File("Users/pump._kvt"), {"a", "b", "c"}, true);
    const QStringList sent(300, "SD100");
    SendList(sent);
    ASSERT_TRUE(form->Session().Controller().Sending().IsSending());
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    form->Files().Load(file);
    EXPECT_EQ(dialogs.messages, QStringList(2, Ext(Ext::LoadWhileSending)));
    EXPECT_EQ(form->Session().Editor().List().Lines(), sent) << "the list shown is the one being sent";
    ASSERT_TRUE(WaitForEnd());
}

TEST(FileHandOver, TheClaimHoldsTheFolderAndListensInOneStepSoAnEarlyFileIsTakenNotRefused) {
    ProgramFolder folder;
    TFolderClaim first(folder.Path());
    ASSERT_TRUE(first.Claim());
    // A second start, at once: the folder is held and the file goes to the holder, which keeps it
    // until its window is ready.
    std::atomic<int> handed{-1};
    std::thread second([&] { handed = int(TFileHandOver::HandTo(folder.Path(), "/x/early.kvt", 10000)); });
    ASSERT_TRUE(WaitUntil([&] { return handed >= 0; }, 20000));
    second.join();
    EXPECT_EQ(handed, int(TFileHandOver::Handed::Taken));
    EXPECT_EQ(first.HandOver().Waiting(), QStringList{"/x/early.kvt"});

    // Another claim on the held folder fails and leaves the holder's socket as it is.
    TFolderClaim other(folder.Path());
    EXPECT_FALSE(other.Claim());
    EXPECT_EQ(other.Lock().HolderPid(), QCoreApplication::applicationPid());
    handed = -1;
    std::thread third([&] { handed = int(TFileHandOver::HandTo(folder.Path(), "/x/later.kvt", 10000)); });
    ASSERT_TRUE(WaitUntil([&] { return handed >= 0; }, 20000));
    third.join();
    EXPECT_EQ(handed, int(TFileHandOver::Handed::Taken));
    EXPECT_EQ(first.HandOver().Waiting(), (QStringList{"/x/early.kvt", "/x/later.kvt"}));
}
