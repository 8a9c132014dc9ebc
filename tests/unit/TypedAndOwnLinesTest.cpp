// What the operator types and keeps of his own: a command read as typed, the history of the
// command line, and the user buttons' file, each at its bounds and on damage.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "editor/TypedCommand.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"
#include "session/Session.h"
#include "session/UserButtons.h"
#include "session/controller/Controller.h"
#include "settings/CommandHistory.h"

#include <gtest/gtest.h>

#include <QFile>

using K = TKVTCommands;

namespace {

class OwnLines : public ::testing::Test {
protected:
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session{folder.Path(), view, &view};
    QString X(int id) const { return session.Lang().ExtraText(id); }
    const TKVTCommands& Commands() const { return session.Commands(); }
    // The buttons a fresh session reads from `file`.
    TUserButtonsFile::TRead ReadButtons(const QByteArray& file) {
        folder.Write("Data/user-buttons.txt", file);
        return TUserButtonsFile::Read(folder.File("Data/user-buttons.txt"), session.Lang());
    }
};

QStringList Names(const QList<TUserButton>& buttons) {
    QStringList names;
    for (const TUserButton& b : buttons)
        names << b.name;
    return names;
}

} // namespace

TEST_F(OwnLines, ATypedCommandIsReadInAnyCaseAndSpacingOrRefusedWithItsReason) {
    const struct {
        const char* typed;
        int index;
        QString argument, refusal;
    } cases[] = {
        {"sd 300", K::SD, "300", {}},
        {" L D 2 ", K::LD, "2", {}},
        {"st", K::ST, "no", {}},
        {"mv-20", K::MV, "-20", {}},
        {"hm", K::HM, "no", {}},
        {"QQ", K::Incorrect, "no", X(Ext::TypedUnknown).arg("QQ")},
        {"s", K::Incorrect, "no", X(Ext::TypedUnknown).arg("s")},
        {"RB", K::RB, "no", X(Ext::TypedReadRequest).arg("RB")},
        {"SP", K::SP, "no", X(Ext::TypedNeedsArgument).arg("SP", Commands().Entry(K::SP).RangeText)},
        {"EN1", K::EN, "no", X(Ext::TypedTakesNoArgument).arg("EN")},
    };
    for (const auto& c : cases) {
        const TTypedCommand typed = TTypedCommand::Read(c.typed, Commands(), session.Lang());
        EXPECT_EQ(typed.index, c.index) << c.typed;
        EXPECT_EQ(typed.argument, c.argument) << c.typed;
        EXPECT_EQ(typed.refusal, c.refusal) << c.typed;
    }
    EXPECT_EQ(TTypedCommand::Completions("l"), (QStringList{"LD", "LL", "LB"}));
    // As README quotes it.
    EXPECT_EQ(TTypedCommand::Completions("s"), (QStringList{"ST", "SD", "SS", "SP", "SF", "SB"}));
    EXPECT_EQ(TTypedCommand::Completions("ld5"), QStringList{}) << "past the code nothing is completed";
    EXPECT_TRUE(TTypedCommand::Completions("r").isEmpty() || !TTypedCommand::Completions("r").contains("RD"))
        << "the read requests are no program's";
    EXPECT_EQ(TTypedCommand::Describe("", Commands(), session.Lang()), QString());
    EXPECT_EQ(TTypedCommand::Describe("m", Commands(), session.Lang()),
              X(Ext::TypedCandidates).arg(TTypedCommand::Completions("m").join(", ")));
}

TEST_F(OwnLines, ALineInStepsIsCheckedAtTheBoundsOfItsCommand) {
    const struct {
        const char* line;
        bool taken;
    } cases[] = {{"SD1", true},        {"SD10000", true},     {"SD0", false}, {"SD10001", false},
                 {"LD3", true},        {"LD4", false},        {"ST", true},   {"sd 2.5", false},
                 {"MV10000000", true}, {"MV10000001", false}, {"XX", false}};
    for (const auto& c : cases) {
        const QString why = TTypedCommand::CheckStepsLine(c.line, Commands(), session.Lang());
        EXPECT_EQ(why.isEmpty(), c.taken) << c.line << ": " << why.toStdString();
    }
}

TEST_F(OwnLines, TheHistoryKeepsTheLastLinesOnceEachAndADamagedFileIsNotTaken) {
    const QString file = folder.File("Data/command-history.txt");
    TCommandHistory history(file);
    EXPECT_TRUE(history.Load()) << "no file yet is no damage";
    EXPECT_FALSE(history.Changed());
    for (int i = 1; i <= TCommandHistory::MaxEntries + 5; ++i)
        history.Add(QString("SD%1").arg(i));
    history.Add("  ");
    history.Add("SD10");
    history.Add(QString(500, 'M'));
    ASSERT_EQ(history.Entries().size(), TCommandHistory::MaxEntries);
    EXPECT_EQ(history.Entries().first(), "SD7") << "the oldest went first";
    EXPECT_EQ(history.Entries().count("SD10"), 1) << "typed again: moved to the end";
    EXPECT_EQ(history.Entries().last().size(), TCommandHistory::MaxLineLength);
    history.Write();

    TCommandHistory again(file);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Entries(), history.Entries());

    for (const QByteArray& damage :
         {QByteArray("SD1\n\0\nST", 8), QByteArray(70 * 1024, 'S'), QByteArray("\xff\xfe")}) {
        folder.Write("Data/command-history.txt", damage);
        TCommandHistory damaged(file);
        EXPECT_FALSE(damaged.Load());
        EXPECT_TRUE(damaged.Entries().isEmpty());
    }
}

TEST_F(OwnLines, TheButtonsFileIsReadUpToItsFirstDamage) {
    const struct {
        QByteArray file;
        QStringList names;
        int damagedLine; // -1: sound
    } cases[] = {
        {"# mine\n[Home all]\nHM\n\n[Start two]\nST2\n# and three\nST3\n", {"Home all", "Start two"}, -1},
        {"", {}, -1},
        {"SD100\n[A]\nST\n", {}, 1},
        {"[A]\nST\n[]\nHM\n", {"A"}, 3},
        {"[A]\nST\n[a]\nHM\n", {"A"}, 3},
        {"[A]\nST\n[" + QByteArray(41, 'n') + "]\n", {"A"}, 3},
        {QByteArray("[A]\nST\0\n", 8), {}, 0},
        {QByteArray(300 * 1024, '#'), {}, 0},
    };
    for (const auto& c : cases) {
        const TUserButtonsFile::TRead read = ReadButtons(c.file);
        EXPECT_EQ(Names(read.buttons), c.names) << c.file.left(40).constData();
        EXPECT_EQ(read.damagedLine, c.damagedLine) << c.file.left(40).constData();
        EXPECT_EQ(read.damage.isEmpty(), c.damagedLine < 0);
    }
    QStringList tooMany;
    for (int i = 0; i <= TUserButtonsFile::MaxButtons; ++i)
        tooMany << QString("[B%1]\nST").arg(i);
    const TUserButtonsFile::TRead many = ReadButtons(tooMany.join('\n').toUtf8());
    EXPECT_EQ(many.buttons.size(), TUserButtonsFile::MaxButtons);
    EXPECT_EQ(many.damage, X(Ext::UserButtonTooMany).arg(TUserButtonsFile::MaxButtons));
    const TUserButtonsFile::TRead sound = ReadButtons(cases[0].file);
    EXPECT_EQ(sound.buttons[1].lines, (QStringList{"ST2", "# and three", "ST3"}));
    EXPECT_EQ(sound.buttons[1].Commands(), (QStringList{"ST2", "ST3"}));
}

TEST_F(OwnLines, ButtonsAreSavedOnlyWhenEveryLineWouldBeTakenAndRunWithoutTheList) {
    TUserButtons& buttons = session.UserButtons();
    const struct {
        QList<TUserButton> set;
        QString refusal;
    } cases[] = {
        {{{"", {"ST"}}}, X(Ext::UserButtonNoName).arg(1)},
        {{{"A", {"ST"}}, {"a", {"HM"}}}, X(Ext::UserButtonSameName).arg("a")},
        {{{"A", {"# only a comment"}}}, X(Ext::UserButtonEmpty).arg("A")},
        {{{"[A]", {"ST"}}}, X(Ext::UserButtonBadName).arg("[A]")},
        {{{"A", {"ST", "SD 0"}}},
         X(Ext::UserButtonBadLine)
             .arg("A")
             .arg(2)
             .arg(TTypedCommand::CheckStepsLine("SD0", Commands(), session.Lang()))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buttons.Save(c.set), c.refusal);
        EXPECT_FALSE(QFile::exists(folder.File("Data/user-buttons.txt"))) << "nothing refused is written";
    }
    EXPECT_EQ(buttons.Save({{" Home ", {"hm", "st 1"}}}), QString());
    EXPECT_EQ(buttons.IndexOf("HOME"), 0);
    EXPECT_EQ(buttons.Buttons()[0].name, "Home");
    EXPECT_EQ(TUserButtonsFile::Read(buttons.FileName(), session.Lang()).buttons, buttons.Buttons());
    // A button the file brought with a line the controller would not take is refused before
    // anything is sent (no port is open here: the check comes first).
    TUserButtonsFile::Write(buttons.FileName(), {{"Bad", {"SD0"}}});
    TUserButtons fromFile(session.Paths, session.Lang(), Commands(), session.Controller().Sending());
    EXPECT_FALSE(fromFile.Run(0).isEmpty());
}
