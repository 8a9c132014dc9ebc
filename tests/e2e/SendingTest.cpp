// The session without a window, talking through a real port over a pseudo-terminal to the
// controller simulator: sending lists, answers, errors and their reactions.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "Pty.h"
#include "ScriptedDialogs.h"
#include "SimulatorSession.h"
#include "StdLines.h"
#include "Wait.h"
#include "core/Events.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"
#include "session/OperationLogLines.h"
#include "settings/SettingsFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

namespace {

const TRgb green = 0x008000, red = 0xFF0000, yellow = 0xFFFF00;

class SendingFixture : public SimulatorSession {
protected:
    const TCommonDatas& Datas() const { return session->Datas(); }
    const TChannelState& Coords() const { return session->Controller().State(); }
    void Send(const QStringList& lines) {
        ASSERT_EQ(session->Controller().Sending().Send(lines), TSending::Start::Started);
    }
    bool WaitForEnd(int timeoutMs = 10000) {
        return WaitUntil([&] { return !session->Controller().Sending().IsSending(); }, timeoutMs);
    }
    QString M(int index) const { return session->Lang().Message(index); }
    QString X(int index) const { return session->Lang().ExtraText(index); }
    int NoReplyLines() const { return int(view.log.count(M(Msg::NoReply))); }
};

} // namespace

TEST_F(SendingFixture, AProgramIsWrittenIntoChannelOneAndRun) {
    Send({"LD1"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Coords().State(1), TChannelState::Communication);
    EXPECT_EQ(view.indicators[1], yellow);

    Send({"BG", "EN", "SD200", "MV200", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "BG", "EN", "SD200", "MV200", "ED"}));
    EXPECT_EQ(Coords().State(1), TChannelState::Standby);
    EXPECT_EQ(view.indicators[1], green);
    const QString ok = QString::fromUtf8("ОК");
    EXPECT_EQ(view.recording, (QStringList{"BG*" + ok, "EN*" + ok, "SD200*" + ok, "MV200*" + ok}));
    EXPECT_TRUE(view.log.contains(M(Msg::RecordingToCoordinate) + "1" + M(Msg::Completed)))
        << view.log.join(" | ").toStdString();
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "EN", "SD200", "MV200"}));
}

TEST_F(SendingFixture, StartTurnsTheChannelRedUntilTheControllerReportsCompletion) {
    Send({"LD1", "BG", "EN", "SD200", "MV200", "ED"});
    ASSERT_TRUE(WaitForEnd());
    SetSimulator([](kvtsim::Options& o) { o.timeScale = 0.3; }); // the move lasts 300 ms
    view.history[1].clear();
    Send({"ST1"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return view.history[1].size() == 2; }, 10000));
    EXPECT_EQ(view.history[1], (QList<TRgb>{red, green}));
    EXPECT_FALSE(Coords().ProgramRunning());
    EXPECT_TRUE(view.log.contains(M(Msg::Coordinate) + "1" + M(Msg::ExecutingCompleted)));
}

TEST_F(SendingFixture, ASilentControllerStopsTheListAtItsFirstLine) {
    SetSimulator([](kvtsim::Options& o) { o.silent = true; });
    SetReplyTime(100);
    Send({"BG", "EN", "MV200"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"BG"});
    EXPECT_EQ(NoReplyLines(), 1);
    ASSERT_GE(view.log.size(), 2);
    EXPECT_EQ(view.log[view.log.size() - 2], M(Msg::NoReply));
    EXPECT_EQ(view.log.last(),
              session->Lang().ExtraText(Ext::SendingEnded).arg("1", "3", "BG", "1", X(Ext::EndNoAnswer)));
    EXPECT_TRUE(view.redLines.last());
}

TEST_F(SendingFixture, TheOperatorsStopEndsTheListAfterTheLineBeingSentAndSaysWhere) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 10; });
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << "SP" + QString::number(i);
    std::vector<TSendReport::End> ends;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { ends.push_back(r.end); });
    Send(lines);
    ASSERT_TRUE(WaitUntil(
        [&] { return session->Controller().Sending().Progress().value_or(TSending::TProgress{}).line >= 5; },
        10000));
    EXPECT_EQ(session->Controller().Sending().Progress()->count, 300);
    ASSERT_TRUE(session->Controller().Sending().StopAfterLine());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(ends, std::vector<TSendReport::End>{TSendReport::End::StoppedByOperator});
    const auto received = simulator.Commands();
    const int sent = int(received.size());
    ASSERT_GE(sent, 5);
    ASSERT_LT(sent, 300);
    EXPECT_EQ(received, Std(lines.mid(0, sent))) << "exactly the lines before the stop, in order";
    EXPECT_EQ(
        view.log.last(),
        X(Ext::SendingStopped).arg(QString::number(sent + 1), "300", lines[sent], QString::number(sent)));
    EXPECT_FALSE(view.redLines.last());
    EXPECT_EQ(NoReplyLines(), 0);
    EXPECT_FALSE(session->Controller().Sending().StopAfterLine()) << "nothing left to stop";

    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 0; });
    Send({"EN", "", "DS"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(view.log.last(), X(Ext::SendingCompleted).arg(2)) << "a stop never carries over";
}

TEST_F(SendingFixture, ACommandErrorStopsOrNotAsTheSettingsSay) {
    Send({"LD2", "XX", "EN", "ED"});
    ASSERT_TRUE(WaitForEnd());
    // Er6 stops by default; the recording the stop left open is ended.
    ASSERT_TRUE(simulator.WaitForCommands(3, 10000));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD2", "XX", "ED"}));
    EXPECT_TRUE(view.log.contains(M(Msg::IncorrectCommand)));

    ChangeSettings([](TSettings& s) { s.Er6Reaction = 0; });
    Send({"LD2", "XX", "EN", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD2", "XX", "ED", "LD2", "XX", "EN", "ED"}));
    EXPECT_EQ(NoReplyLines(), 0);
}

TEST_F(SendingFixture, ADataErrorStopsOrNotAsTheSettingsSay) {
    Send({"SD99999", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"SD99999"});
    ChangeSettings([](TSettings& s) { s.Er9Reaction = 0; });
    Send({"SD99999", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 3u);
}

TEST_F(SendingFixture, EmptyLinesAreSkippedAndAnEmptyListSendsNothing) {
    Send({"BG", "", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN"}));
    EXPECT_EQ(simulator.Received(), "BG*EN*");
    Send({});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 2u);
}

TEST_F(SendingFixture, SendTwiceRunsOneSending) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 20; });
    Send({"BG", "EN", "DL"});
    EXPECT_EQ(session->Controller().Sending().Send({"DR"}), TSending::Start::AlreadyRunning);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN", "DL"}));
}

TEST_F(SendingFixture, AThousandLinesAreSentWholeEachOnceInOrder) {
    QStringList lines{"LD1"};
    for (int i = 1; i < 999; ++i)
        lines.append("MV" + QString::number(i));
    lines.append("ED");
    Send(lines);
    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ(simulator.Commands(), Std(lines));
    EXPECT_EQ(simulator.Program(1).size(), 998u);
    EXPECT_EQ(NoReplyLines(), 0);
}

TEST_F(SendingFixture, EditingTheListWhileItIsSentChangesNothingSent) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 10; });
    session->Editor().Replace({"BG", "EN", "DL", "DR"});
    ASSERT_EQ(session->Controller().Sending().Send(session->Editor().List().Lines()),
              TSending::Start::Started);
    session->Editor().Replace({"XX", "XX"}); // the operator keeps editing
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN", "DL", "DR"}));
}

TEST_F(SendingFixture, EndingTheSessionStopsTheSendingAtOnce) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 250; });
    SetReplyTime(1000);
    Send(QStringList(100, "BG"));
    ASSERT_TRUE(WaitUntil([&] { return simulator.Commands().size() >= 2; }));
    session.reset(); // joins the sending thread
    RunEventsFor(300);
    EXPECT_LE(simulator.Commands().size(), 3u) << "stopped within one wait, not after the remaining lines";
}

TEST_F(SendingFixture, ALateAnswerIsNeverTakenForTheNextLine) {
    // The controller answers 150 ms late; the program waits 100 ms.
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 150; });
    SetReplyTime(100);
    Send({"XX"}); // will be answered, too late, with a command error
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(NoReplyLines(), 1);

    // A new list goes out at once; the late "XX*E16*" arrives while its first line waits.
    SetReplyTime(400);
    Send({"BG", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"XX", "BG", "EN"}))
        << "BG waited for its own answer instead of taking XX's error";
    EXPECT_EQ(NoReplyLines(), 1);
}

TEST_F(SendingFixture, AClosedPortStopsTheListAtOnceAndSaysSo) {
    session->Controller().Connection().Close();
    SetReplyTime(86400000); // a day: only a stop at once lets the list end
    std::vector<TSendReport::End> ends;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended,
                     [&](const TSendReport& r) { ends.push_back(r.end); });
    Send({"BG", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(ends, std::vector<TSendReport::End>{TSendReport::End::PortClosed});
    EXPECT_EQ(NoReplyLines(), 0) << "no wait for an answer to a line that never left";
    EXPECT_TRUE(view.log.contains(X(Ext::PortClosedNotSent).arg("BG")));
    EXPECT_EQ(view.log.last(), X(Ext::SendingEnded).arg("1", "2", "BG", "0", X(Ext::EndPortClosed)));
    EXPECT_TRUE(view.redLines.last());
    EXPECT_TRUE(simulator.Commands().empty());
}

TEST_F(SendingFixture, ALateEndOfAnEarlierSendingNeverReleasesTheNextOne) {
    // The first list ends at once (closed port) and its end waits, queued, for the main thread;
    // meanwhile the second starts (its thread may well take the first one's memory).
    session->Controller().Connection().Close();
    Send({"BG"});
    // Ended (its thread finished), its end not handled yet: no event is processed meanwhile.
    while (session->Controller().Sending().Progress())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(session->Controller().Connection().Open());
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 100; });
    std::vector<bool> sendingAtEachEnd;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended, [&](const TSendReport&) {
        sendingAtEachEnd.push_back(session->Controller().Sending().IsSending());
    });
    Send({"EN", "DL"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(sendingAtEachEnd, (std::vector<bool>{true, false}))
        << "the first end left the second sending running";
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"EN", "DL"}));
}

TEST_F(SendingFixture, ACommunicationErrorStopsTheListBeforeTheRecoverySendsED) {
    // The fifth command (MV100) is answered with a communication error between its echo and its
    // status: the line counts as answered, but the list must not go on, or the recovery's ED
    // would land between the lines of the program being written.
    SetSimulator([](kvtsim::Options& o) { o.commErrorAlongEvery = 5; });
    Send({"LD1", "BG", "EN", "SD200", "MV100", "MV200", "MV300", "MV400", "MV500", "ED"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return view.log.contains(M(Msg::RecoveryClearMarks)); }, 10000));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "BG", "EN", "SD200", "MV100", "ED"}))
        << "the list stopped at the error; the recovery's ED came after it";
}

TEST_F(SendingFixture, ALostOrReopenedLineForgetsOnlyACommunicationModeNotARunningChannel) {
    // Channel 1 runs, channel 2 is being written, channel 3 is paused, as far as the program knows.
    session->Controller().Channels().SetStates(
        {TChannelState::Executing, TChannelState::Communication, TChannelState::Paused});
    bool lost = false;
    QObject::connect(&session->Controller().Connection(), &TConnection::Lost, [&] { lost = true; });
    simulator.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return lost; }));
    EXPECT_EQ(Coords().States(), (std::array<quint8, 3>{TChannelState::Executing, TChannelState::Standby,
                                                        TChannelState::Paused}))
        << "a recording cannot outlive the line; a running or paused program may";
    EXPECT_FALSE(Coords().CommMode());
    EXPECT_EQ(view.log.last(), X(Ext::StatesLastKnown)) << "the operator is told what the states are";

    // Reopened on a controller that may have been restarted: its first answers are no recording.
    simulator.Stop();
    kvtsim::Simulator again;
    ASSERT_TRUE(again.Start(folder.File("ports/COM1").toStdString()));
    session->Controller().Channels().SetStates(
        {TChannelState::Executing, TChannelState::Communication, TChannelState::Paused});
    ASSERT_TRUE(session->Controller().Connection().Open());
    EXPECT_EQ(Coords().States(), (std::array<quint8, 3>{TChannelState::Executing, TChannelState::Standby,
                                                        TChannelState::Paused}));
    EXPECT_FALSE(Coords().CommMode());
    session->Controller().Channels().SetStates({0, 0, 0});
    view.recording.clear();
    Send({"LD1", "BG", "ED", "ST1"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(view.recording, QStringList{"BG*" + QString::fromUtf8("ОК")});
    EXPECT_TRUE(view.log.contains(M(Msg::Coordinate) + "1" + M(Msg::ExecutingStarted)));
}

TEST_F(SendingFixture, PortLogKeepsTheBytesTheLineCarried) {
    ChangeSettings([](TSettings& s) { s.SavePortLog = true; });
    simulator.SendRaw("\xC8\xCA*E10*");
    ASSERT_TRUE(WaitUntil([&] { return session->Logs().ReplyLog().Count() >= 3; }));
    session->SaveOnClose();
    QFile log(folder.File("Log/port.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("\xC8\xCA*\r\nE10*\r\n\r\n"))
        << "one byte for each byte received, as a hex viewer should see it";
}

TEST_F(SendingFixture, RepliesSplitIntoSingleBytesOrJoinedStillAnswerEachLine) {
    SetSimulator([](kvtsim::Options& o) { o.splitBytes = true; });
    Send({"LD1", "BG", "ED"});
    ASSERT_TRUE(WaitForEnd());
    SetSimulator([](kvtsim::Options& o) {
        o.splitBytes = false;
        o.joinReplies = true;
    });
    Send({"LD2", "EN", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 6u);
    EXPECT_EQ(NoReplyLines(), 0);
    EXPECT_EQ(Coords().State(2), TChannelState::Standby);
}

TEST(PortFallback, APortWithoutLinkOpensTheSystemsSerialPortAndSaysSo) {
    ProgramFolder folder; // no ports/COM1: port 1 is the system's ttyS0, often the console
    ScriptedDialogs dialogs;
    FakeView view;
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    QTemporaryDir dev; // stands in for /dev
    ASSERT_TRUE(QFile::link(pty.SlavePath(), dev.filePath("ttyS0")));
    TSession session(folder.Path(), view, &view);
    session.Controller().Connection().Choice().SetSystemDeviceFolder(dev.path());
    ASSERT_TRUE(session.Controller().Connection().Open()) << view.log.join(" | ").toStdString();
    EXPECT_EQ(session.Controller().Connection().Choice().Device(), dev.filePath("ttyS0"));
    EXPECT_TRUE(
        view.log.contains(session.Lang().ExtraText(Ext::FallbackDevice).arg(1).arg(dev.filePath("ttyS0"))))
        << view.log.join(" | ").toStdString();
}

TEST_F(SendingFixture, ALongSessionKeepsItsMemoryBoundedAndItsLogsWhole) {
    session->Logs().SetKeep(500, 50);
    ChangeSettings([](TSettings& s) {
        s.SavePortLog = true;
        s.SaveOperationLog = true;
    });
    std::string tokens;
    for (int i = 0; i < 2000; ++i)
        tokens += "E" + std::to_string(i % 10) + "1*"; // code 1: nothing to act on
    for (int block = 0; block < 10; ++block)
        simulator.SendRaw(tokens);
    ASSERT_TRUE(WaitUntil(
        [&] { return session->Logs().ReplyLog().Shed() + session->Logs().ReplyLog().Count() >= 20001; },
        60000));
    EXPECT_LE(session->Logs().ReplyLog().Count(), 1001) << "the recent lines only";
    EXPECT_LT(session->Logs().ReplyLog().MemoryBytes(), 64 * 1024);
    for (int i = 0; i < 300; ++i)
        session->Logs().Log("line " + QString::number(i));
    EXPECT_LE(session->Logs().OperationLog().Recent().size(), 101u);
    session->SaveOnClose();

    QFile port(folder.File("Log/port.log"));
    ASSERT_TRUE(port.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = port.readAll().split('\n');
    ASSERT_EQ(lines.size(), 20002) << "every token, the empty last line, and the end of the file";
    EXPECT_EQ(lines[0], "E01*\r");
    EXPECT_EQ(lines[1999], "E91*\r");
    EXPECT_EQ(lines[20000], "\r");
    QFile work(folder.File("Log/work.log"));
    ASSERT_TRUE(work.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(work.readAll());
    for (int i : {0, 1, 149, 299})
        EXPECT_TRUE(text.contains("line " + QString::number(i) + "\r\n")) << i;
    EXPECT_LT(text.indexOf("line 10\r\n"), text.indexOf("line 11\r\n")) << "in order";
}

TEST_F(SendingFixture, AReadOnlySessionSavesNothingOfItsFolder) {
    QFile prp(folder.File("Data/prp.dat"));
    ASSERT_TRUE(prp.open(QIODevice::ReadOnly));
    const QByteArray before = prp.readAll();
    prp.close();
    session->SetReadOnly(true);
    ChangeSettings([](TSettings& s) {
        s.ShowPortLog = true;
        s.SaveOperationLog = true;
    });
    session->Logs().Log("a line");
    session->SaveOnClose();
    ASSERT_TRUE(prp.open(QIODevice::ReadOnly));
    EXPECT_EQ(prp.readAll(), before);
    EXPECT_FALSE(QFile::exists(folder.File("Log/work.log")));
}

TEST(LanguageNotFound, ACodeWhoseFilesAreMissingIsNotStoredForTheNextStart) {
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSettingsFiles files{TProgramPaths(folder.Path())};
    TSettings settings;
    ASSERT_TRUE(files.LoadProgramSettings(settings));
    settings.Language = QString("en") + QChar(1) + QChar(2);
    files.WriteProgramSettings(settings);
    {
        TSession session(folder.Path(), view, &view);
        EXPECT_FALSE(session.Options().TakeLanguageProblems().isEmpty()) << "the missing files are reported";
        session.SaveOnClose();
    }
    TSettings read;
    ASSERT_TRUE(files.LoadProgramSettings(read));
    EXPECT_EQ(read.Language, "en") << "the next start is in English, without the same complaints";
}
