// A program file opened while the program runs on the folder: the second start hands it over
// through the folder's local socket and ends; the running window loads it as a load does.
#include "FileHandOver.h"
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

#include <QProcess>

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
    EXPECT_FALSE(TFileHandOver::HandTo(folder.Path() + "/elsewhere", "x.kvt", 200)) << "nobody listens there";
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
