// Each room of the session through its own face, over a program folder and a fake view: what it
// does, what it tells by its signals, and where it refuses.
#include "SessionRooms.h"
#include "FakeView.h"
#include "ProgramFolder.h"
#include "Pty.h"
#include "ScriptedDialogs.h"
#include "Wait.h"
#include "core/AppError.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "operations/ReadBack.h"
#include "protocol/UnitKVTComands.h"
#include "serial/ComPort.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>

#include <functional>

namespace {

class SessionRooms : public ::testing::Test {
protected:
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session{folder.Path(), view, &view};
    QString X(int id) const { return session.Lang().ExtraText(id); }
};

TEST_F(SessionRooms, TheEditorTakesEachOperationAsOneStepAndSaysWhoseItWas) {
    TProgramEditor& editor = session.Editor();
    editor.SetControlMode(TSettings::ExtendedMode);
    const struct {
        const char* what;
        std::function<void()> operation;
        QStringList after;
        bool step;      // a step of the history
        int operator_;  // OperatorChanged: -1 none, 0 a file's work, 1 no file's
        bool replacing; // ProgramReplacing before it
    } cases[] = {
        {"a command", [&] { editor.AddCommand(TKVTCommands::MV, "100"); }, {"MV100"}, true, 0, false},
        {"out of range: refused, nothing changes",
         [&] {
             EXPECT_EQ(editor.AddCommand(TKVTCommands::MV, "0").kind, TProgramEditor::TAddOutcome::Refused);
         },
         {"MV100"},
         false,
         -1,
         false},
        {"LD with BG and EN as the settings ask",
         [&] { editor.AddRecordingStart(2); },
         {"MV100", "LD2", "BG", "EN"},
         true,
         0,
         false},
        {"two rows removed at once",
         [&] {
             editor.Remove({3, 0});
         },
         {"LD2", "BG"},
         true,
         0,
         false},
        {"dropped after the last: removed", [&] { editor.Move(0, 2); }, {"BG"}, true, 0, false},
        {"an import is no file's",
         [&] {
             editor.Replace({"DL", "SD5"}, {}, TProgramEditor::Source::Import);
         },
         {"DL", "SD5"},
         true,
         1,
         false},
        {"Direct Control clears as the program's own step",
         [&] { editor.SetDirectControl(true); },
         {},
         true,
         -1,
         true},
        {"a clear of nothing is no step", [&] { editor.Clear(); }, {}, false, -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QSignalSpy steps(&editor, &TProgramEditor::StepTaken);
        QSignalSpy changed(&editor, &TProgramEditor::OperatorChanged);
        QSignalSpy replacing(&editor, &TProgramEditor::ProgramReplacing);
        c.operation();
        EXPECT_EQ(editor.List().Lines(), c.after);
        EXPECT_EQ(steps.size(), c.step ? 1 : 0);
        ASSERT_EQ(changed.size(), c.operator_ < 0 ? 0 : 1);
        if (c.operator_ >= 0) {
            EXPECT_EQ(changed[0][0].toBool(), c.operator_ == 1);
        }
        EXPECT_EQ(replacing.size(), c.replacing ? 1 : 0);
    }
}

TEST_F(SessionRooms, AScaleChangeSaysWhatItReScaledNamesWhatLeftItsRangeAndUndoesWithItsUnits) {
    TProgramEditor& editor = session.Editor();
    editor.SetControlMode(TSettings::ExtendedMode);
    TSettings settings = session.Options().Settings();
    settings.UnitsName = "mm";
    session.Options().Apply(settings);
    editor.Replace({"MV1000", "SD150", "SP500", "AL+5", "MV9000000"});
    TProgramEditor::TListState before, after;
    QObject::connect(&editor, &TProgramEditor::StepTaken,
                     [&](const TProgramEditor::TListState& b, const TProgramEditor::TListState& a) {
                         before = b;
                         after = a;
                     });
    view.log.clear();
    editor.ChangeUnitsMode(TSettings::OtherUnits, "2");
    EXPECT_EQ(editor.List().Lines(), (QStringList{"MV2000", "SD300", "SP500", "AL10", "MV18000000"}));
    ASSERT_EQ(view.log.size(), 2) << view.log.join('\n').toStdString();
    EXPECT_EQ(view.log[0], X(Ext::RescaleCount).arg(4).arg(4).arg("2", "mm"));
    EXPECT_EQ(view.log[1], X(Ext::RescaleBeyondRange).arg(5).arg("MV18000000", "MV").arg(1).arg(10000000));
    EXPECT_TRUE(view.redLines[1]);
    // The descriptions say the lines in the new unit; SP's does not depend on it.
    const TCommandEntry& mv = session.Commands().Entry(TKVTCommands::MV);
    EXPECT_EQ(editor.List().Description(0), mv.CaptionText + "1000" + mv.UnitsText);
    EXPECT_EQ(editor.List().Description(2), "");

    // Steps again: the lines stay, their descriptions count steps.
    view.log.clear();
    editor.ChangeUnitsMode(TSettings::StepsUnits, "2");
    EXPECT_EQ(editor.List().Lines()[0], "MV2000");
    EXPECT_EQ(editor.List().Description(0), session.Commands().Entry(TKVTCommands::MV).CaptionText + "2000" +
                                                session.Commands().Entry(TKVTCommands::MV).UnitsText);
    EXPECT_EQ(view.log.value(0), X(Ext::RescaleToSteps).arg(4));

    // One undo brings back the lines and the units together.
    editor.Restore(before);
    EXPECT_EQ(session.Options().Settings().UnitsMode, TSettings::OtherUnits);
    EXPECT_EQ(session.Options().Settings().Scale, 2);
    editor.Restore(TProgramEditor::TListState{{"MV1000"}, {"m"}, false, TSettings::StepsUnits, 1});
    EXPECT_EQ(session.Options().Settings().Scale, 1);
    EXPECT_EQ(session.Commands().Entry(TKVTCommands::MV).MaxText, "10000000") << "the table follows";
}

TEST_F(SessionRooms, TheDocumentFollowsTheListsFileAndWhatOfItIsUnsaved) {
    TProgramEditor& editor = session.Editor();
    TProgramDocument& document = session.Document();
    editor.SetControlMode(TSettings::ExtendedMode);
    const QString file = folder.File("Users/axis.kvt");
    EXPECT_EQ(document.Title("T"), "T");
    EXPECT_TRUE(document.ProposedName(TProgramDocument::Proposal::Own).startsWith("KVT-Prog-"));
    editor.AddCommand(TKVTCommands::DL, "no");
    EXPECT_EQ(document.Title("T"), "T - " + X(Ext::Untitled) + " *");
    EXPECT_TRUE(document.SaveTarget().isEmpty()) << "no file of its own: a name is to be asked";
    document.Save(file, document.List());
    EXPECT_EQ(document.Title("T"), "T - axis.kvt");
    EXPECT_EQ(document.SaveTarget(), file);
    EXPECT_EQ(document.ProposedName(TProgramDocument::Proposal::Own), "axis.kvt");
    EXPECT_EQ(document.ProposedName(TProgramDocument::Proposal::Text), "axis.txt");
    EXPECT_EQ(session.Options().Settings().RecentFiles.value(0), file);
    editor.AddCommand(TKVTCommands::DR, "no");
    EXPECT_TRUE(document.Unsaved());
    editor.Remove({1});
    EXPECT_FALSE(document.Unsaved()) << "back to what the file holds";

    // A load: read whole first (nothing changes), then taken as one step.
    const ProgramFiles::TLoaded loaded = document.Read(file);
    editor.Clear();
    document.Take(file, loaded);
    EXPECT_EQ(editor.List().Lines(), QStringList{"DL"});
    EXPECT_FALSE(document.Unsaved());
    QFile::remove(folder.File("Users/axis._kvt"));
    try {
        document.Read(file);
        ADD_FAILURE() << "a pair without its companion was read";
    } catch (const EFileError& error) {
        EXPECT_TRUE(error.Text().contains("axis._kvt")) << error.Text().toStdString();
    }
}

TEST_F(SessionRooms, TheConnectionOpensWhatThePortChoiceNamesAndSaysWhyNot) {
    TConnection& connection = session.Controller().Connection();
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    const quint32 stored = connection.Choice().PortNumberToStore();
    connection.Choice().UsePortForThisStart(7);
    EXPECT_EQ(connection.Choice().PortNumber(), 7u);
    EXPECT_EQ(connection.Choice().PortNumberToStore(), stored) << "a start's port is not stored";
    connection.Choice().SetSystemDeviceFolder(folder.File("no-dev"));
    EXPECT_FALSE(connection.Open());
    EXPECT_TRUE(connection.OpenFailure().contains(X(Ext::NoSuchDevice)))
        << connection.OpenFailure().toStdString();
    EXPECT_TRUE(view.redLines.last());

    folder.LinkPort(3, pty.SlavePath());
    connection.ChoosePort(3);
    EXPECT_EQ(connection.Choice().PortNumberToStore(), 3u);
    TLineChoice line = connection.LineSettings();
    line.baudIndex = 7;
    connection.SetLineSettings(line);
    QSignalSpy opened(&connection, &TConnection::Opened);
    ASSERT_TRUE(connection.Open());
    EXPECT_EQ(opened.size(), 1);
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.BaudRate(), TComPort::BaudRates[7]);
    EXPECT_TRUE(connection.Description().contains('3')) << connection.Description().toStdString();
    ASSERT_TRUE(connection.WriteText("ST1"));
    EXPECT_EQ(pty.Read(3), "ST1");
    connection.Choice().UseDevice(folder.File("elsewhere"));
    EXPECT_EQ(connection.Choice().Device(), folder.File("elsewhere"));
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(SessionRooms, ASendingsSummarySaysHowFarItWentAndWhy) {
    using End = TSendReport::End;
    const struct {
        TSendReport report;
        QString expected;
    } cases[] = {
        {{End::Completed, 3, "", 3, 3}, X(Ext::SendingCompleted).arg("3")},
        {{End::StoppedByOperator, 1, "MV5", 3, 1}, X(Ext::SendingStopped).arg("2", "3", "MV5", "1")},
        {{End::NoAnswer, 0, "BG", 3, 1}, X(Ext::SendingEnded).arg("1", "3", "BG", "1", X(Ext::EndNoAnswer))},
        {{End::PortClosed, 0, "BG", 2, 0},
         X(Ext::SendingEnded).arg("1", "2", "BG", "0", X(Ext::EndPortClosed))},
        {{End::Stopped, 4, "MV%1", 9, 4},
         X(Ext::SendingEnded).arg("5", "9", "MV%1", "4", X(Ext::EndStopped))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendSummary(c.report, session.Lang()), c.expected);

    // On a closed line a list ends at once, its end logged; one sending at a time.
    TSending& sending = session.Controller().Sending();
    QSignalSpy ended(&sending, &TSending::Ended);
    EXPECT_FALSE(sending.StopAfterLine()) << "nothing to stop";
    ASSERT_EQ(sending.Send({"BG", "EN"}), TSending::Start::Started);
    ASSERT_TRUE(WaitUntil([&] { return !ended.isEmpty(); }, 10000));
    EXPECT_EQ(ended[0][0].value<TSendReport>().end, End::PortClosed);
    EXPECT_FALSE(sending.IsSending());
    EXPECT_EQ(view.log.last(), X(Ext::SendingEnded).arg("1", "2", "BG", "0", X(Ext::EndPortClosed)));
}

TEST_F(SessionRooms, TheChannelsByHandTheLastStateSetDecides) {
    TChannels& channels = session.Controller().Channels();
    channels.Select(true, false, true);
    EXPECT_EQ(channels.Selected(), (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{true, false, true}));
    const std::array<quint8, 3> states[] = {{1, 0, 3}, {2, 2, 2}, {0, 0, 0}};
    for (const auto& s : states) {
        channels.SetStates(s);
        EXPECT_EQ(channels.States(), s);
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(view.indicators[size_t(n)], TChannelState::IndicatorColours[s[size_t(n - 1)]]);
    }
    channels.Recover(TChannels::Recovery::Began);
    EXPECT_EQ(view.log.last(), session.Lang().Message(Msg::RecoveryStarted));
}

TEST_F(SessionRooms, AReadBackIsRefusedWhenItCantBeAndComparedInTheOperatorsWords) {
    TReadingBack& reading = session.Controller().ReadBack();
    TChannels& channels = session.Controller().Channels();
    channels.SetStates({TChannelState::Executing, 0, 0});
    EXPECT_EQ(reading.Begin(1), TReadingBack::Start::NotInStandby);
    channels.SetStates({0, 0, 0});
    EXPECT_FALSE(reading.IsReading());

    TCommandList read("MemoReaded");
    const TReadBack parsed = reading.Parse({"RD1*LD1*SD10*MV100*ED*"}, read);
    ASSERT_TRUE(parsed.endSeen);
    const TFileTie::TText whole = reading.WholeProgram(read, parsed);
    EXPECT_EQ(whole.lines, (QStringList{"LD1", "SD10", "MV100", "ED"})) << "ended as it was written";
    const QString one = X(Ext::ChannelName).arg(1), ofTwo = X(Ext::ChannelOf).arg(2);
    const struct {
        int channel; // whose program was read
        QStringList list;
        bool same;
        QString text;
    } cases[] = {
        {1, {"LD1", "SD10", "MV100", "ED"}, true, X(Ext::CompareSame).arg("2", one)},
        {1,
         {"LD1", "SD10", "MV200", "ED"},
         false,
         X(Ext::CompareDiffers).arg("2", "MV100", "MV200", X(Ext::ChannelOf).arg(1))},
        {1,
         {"LD1", "SD10", "ED"},
         false,
         X(Ext::CompareDiffers).arg("2", "MV100", X(Ext::NothingThere), X(Ext::ChannelOf).arg(1))},
        // Each channel against its own block, wherever it stands in the list.
        {2,
         {"LD1", "SD99", "ED", "LD2", "SD10", "MV100", "ED"},
         true,
         X(Ext::CompareSame).arg("2", X(Ext::ChannelName).arg(2))},
        {2,
         {"LD1", "SD10", "MV100", "ED"},
         false,
         X(Ext::CompareDiffers).arg("1", "SD10", X(Ext::NothingThere), ofTwo)},
        {0, {"SD10", "MV100", "ED"}, true, X(Ext::CompareSame).arg("2", X(Ext::BufferName))},
    };
    for (const auto& c : cases) {
        TReadBack read = parsed;
        read.channel = c.channel;
        const TReadingBack::TVerdict verdict = reading.Compare(read, c.list);
        EXPECT_EQ(verdict.comparison.same, c.same) << c.channel;
        EXPECT_EQ(verdict.text, c.text);
    }
    session.Editor().Replace({"LD1", "SD10", "MV200", "ED"});
    session.ReadBackToList().Compare(reading, parsed);
    EXPECT_EQ(view.log.last(), cases[1].text);
    EXPECT_TRUE(view.redLines.last()) << "programs that differ: red";
}

TEST_F(SessionRooms, TheOperatorsSettingsKeepTheModesAndTheRecentFiles) {
    TOperatorSettings& options = session.Options();
    const QString unreadable = options.ChangeLanguage("xx");
    EXPECT_FALSE(unreadable.isEmpty()) << "a language without files changes nothing";
    EXPECT_EQ(options.Settings().Language, "en");

    TSettings changed = options.Settings();
    changed.ControlMode = TSettings::ExtendedMode; // the modes have operations of their own
    changed.ReplyTime = 777;
    options.Apply(changed);
    EXPECT_EQ(options.Settings().ControlMode, TSettings::SimpleMode);
    EXPECT_EQ(session.Datas().ReplyTime(), 777u);

    QDir().mkpath(folder.File("Users/a"));
    options.NoteFileUsed(folder.File("Users/a/one.kvt"), true);
    options.NoteFileUsed(folder.File("Users/two.txt"), false);
    EXPECT_EQ(options.Settings().RecentFiles, QStringList{folder.File("Users/a/one.kvt")})
        << "a text file is no recent program";
    EXPECT_EQ(options.FileDialogFolder(), folder.File("Users"));
    options.ForgetRecentFile(folder.File("Users/a/one.kvt"));
    EXPECT_TRUE(options.Settings().RecentFiles.isEmpty());
    options.NoteFileUsed(folder.File("Users/gone/x.kvt"), true);
    EXPECT_EQ(options.FileDialogFolder(), folder.File("Users")) << "a folder no longer there";
}

TEST_F(SessionRooms, TheLogsKeepEveryLineAndSaveThemMarked) {
    TSessionLogs& logs = session.Logs();
    logs.Log("plain");
    logs.Log("alarm", true);
    logs.ShowTimes(true);
    logs.Log("timed");
    EXPECT_TRUE(QRegularExpression(R"(^\d\d:\d\d:\d\d\.\d\d\d timed$)").match(view.log.last()).hasMatch())
        << view.log.last().toStdString();
    const QString saved = folder.File("Log/saved.txt");
    logs.SaveOperationLogAs(saved, "not regular");
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QRegularExpression("\r?\n"));
    EXPECT_EQ(lines.mid(0, 2), (QStringList{"plain", "! alarm"})) << "red lines marked";
    try {
        logs.SaveReplyLogAs(folder.File("Log"), "not regular");
        ADD_FAILURE() << "a folder was taken for a file";
    } catch (const EFileError& error) {
        EXPECT_TRUE(error.Text().contains("not regular")) << error.Text().toStdString();
    }
}

} // namespace

TEST_F(SessionRooms, AReadOnlySessionWritesNoUserButtons) {
    session.SetReadOnly(true);
    const QString refused = session.UserButtons().Save({{"Home", {"HM"}}});
    EXPECT_EQ(refused, X(Ext::UserButtonsNotSaved).arg(X(Ext::FolderReadOnly)));
    EXPECT_FALSE(QFile::exists(folder.File("Data/user-buttons.txt")));
    EXPECT_TRUE(session.UserButtons().Buttons().isEmpty());
    QFile::remove(folder.File("Data/prp.dat"));
    EXPECT_TRUE(session.SaveOnClose().isEmpty());
    EXPECT_FALSE(QFile::exists(folder.File("Data/prp.dat"))) << "nothing of the folder is written";
}
