#include "ColourRecorder.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "Simulator.h"
#include "Wait.h"
#include "core/Unit1.h"
#include "core/UnitCommonDatas.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/LogView.h"
#include "core/widgets/Panel.h"
#include "core/widgets/RadioGroup.h"
#include "core/widgets/Shape.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReadWriteThread.h"
#include "serial/ComPort.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QColor green(0, 128, 0), red(255, 0, 0), yellow(255, 255, 0);

std::vector<std::string> Std(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& line : lines)
        out.push_back(line.toStdString());
    return out;
}

class TransmissionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        kvtsim::Options options;
        options.timeScale = 0.01; // one second of motion lasts 10 ms
        simulator.SetOptions(options);
        std::string error;
        ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString(), &error)) << error;
        form = std::make_unique<TForm1>(folder.Path());
        ASSERT_TRUE(form->ComPort->Connected());
        form->CommonDatas->ReplyTime = 300;
        form->rgrSingl_Mult->Click(1); // the extended mode, with its "Send" button
    }

    void SetSimulator(const std::function<void(kvtsim::Options&)>& change) {
        kvtsim::Options options = simulator.GetOptions();
        change(options);
        simulator.SetOptions(options);
    }

    // Puts `lines` into the command list and presses "Send".
    void Send(const QStringList& lines) {
        form->MemoSend->Lines = lines;
        ASSERT_TRUE(form->btnRunTR->isEnabled());
        form->btnRunTR->click();
    }
    bool WaitForEnd(int timeoutMs = 5000) {
        return WaitUntil([&] { return form->RWThread == nullptr; }, timeoutMs);
    }
    QStringList Log() const { return form->MemoLog->Lines(); }
    int NoReplyLines() const { return int(Log().count(form->Lang->Message(Msg::NoReply))); }
    QColor Indicator1() const { return form->shpX->Colour(); }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(TransmissionFixture, AProgramIsWrittenIntoChannelOneAndRun) {
    Send({"LD1"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(form->CommonDatas->CoordState[1], TCommonDatas::Communication);
    EXPECT_EQ(Indicator1(), yellow);

    Send({"BG", "EN", "SD200", "MV200", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "BG", "EN", "SD200", "MV200", "ED"}));
    EXPECT_EQ(form->CommonDatas->CoordState[1], TCommonDatas::Standby);
    EXPECT_EQ(Indicator1(), green);
    const QString ok = QString::fromUtf8("ОК");
    EXPECT_EQ(form->MemoRead->toPlainText().split('\n'),
              (QStringList{"BG*" + ok, "EN*" + ok, "SD200*" + ok, "MV200*" + ok}));
    const QString& stored = form->Lang->Message(Msg::RecordingToCoordinate);
    EXPECT_TRUE(Log().contains(stored + "1" + form->Lang->Message(Msg::Completed)))
        << Log().join(" | ").toStdString();
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "EN", "SD200", "MV200"}));
}

TEST_F(TransmissionFixture, StartTurnsTheChannelRedUntilTheControllerReportsCompletion) {
    Send({"LD1", "BG", "EN", "SD200", "MV200", "ED"});
    ASSERT_TRUE(WaitForEnd());
    SetSimulator([](kvtsim::Options& o) { o.timeScale = 0.3; }); // the move lasts 300 ms
    ColourRecorder indicator(form->shpX);
    Send({"ST1"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return indicator.Colours().size() == 3; }, 10000));
    EXPECT_EQ(indicator.Colours(), (QList<QColor>{green, red, green}));
    EXPECT_FALSE(form->CommonDatas->ProgramRunning);
    EXPECT_TRUE(Log().contains(form->Lang->Message(Msg::Coordinate) + "1" +
                               form->Lang->Message(Msg::ExecutingCompleted)));
}

TEST_F(TransmissionFixture, ASilentControllerStopsTheListAtItsFirstLine) {
    SetSimulator([](kvtsim::Options& o) { o.silent = true; });
    form->CommonDatas->ReplyTime = 100;
    Send({"BG", "EN", "MV200"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"BG"});
    EXPECT_EQ(NoReplyLines(), 1);
    const int last = form->MemoLog->LineCount() - 1;
    EXPECT_EQ(form->MemoLog->Line(last), form->Lang->Message(Msg::NoReply));
    EXPECT_TRUE(form->MemoLog->IsRed(last));
    EXPECT_TRUE(form->EventReadFuncReady->IsSet());
}

TEST_F(TransmissionFixture, ACommandErrorStopsOrNotAsTheSettingsSay) {
    Send({"LD2", "XX", "EN", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD2", "XX"})) << "Er6 stops by default";
    EXPECT_EQ(form->CommonDatas->LastError(), "E26*");
    EXPECT_TRUE(form->MemoLog->IsRed(form->MemoLog->LineCount() - 1));

    form->CommonDatas->Er6Reaction = 0;
    Send({"XX", "EN", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD2", "XX", "XX", "EN", "ED"}));
    EXPECT_EQ(NoReplyLines(), 0);
}

TEST_F(TransmissionFixture, ADataErrorStopsOrNotAsTheSettingsSay) {
    Send({"SD99999", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"SD99999"});
    form->CommonDatas->Er9Reaction = 0;
    Send({"SD99999", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 3u);
}

TEST_F(TransmissionFixture, EmptyLinesAreSkippedAndAnEmptyListSendsNothing) {
    Send({"BG", "", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN"}));
    EXPECT_EQ(simulator.Received(), "BG*EN*");
    Send({});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 2u);
    EXPECT_TRUE(form->EventReadFuncReady->IsSet());
}

TEST_F(TransmissionFixture, SendTwiceRunsOneTransmission) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 20; });
    Send({"BG", "EN", "DL"});
    form->btnRunTR->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN", "DL"}));
}

TEST_F(TransmissionFixture, AThousandLinesAreSentWholeEachOnceInOrder) {
    QStringList lines{"LD1"};
    for (int i = 1; i < 999; ++i)
        lines.append("MV" + QString::number(i));
    lines.append("ED");
    Send(lines);
    ASSERT_TRUE(WaitForEnd(60000));
    EXPECT_EQ(simulator.Commands(), Std(lines));
    EXPECT_EQ(simulator.Program(1).size(), 998u);
    EXPECT_EQ(NoReplyLines(), 0);
}

TEST_F(TransmissionFixture, EditingTheListWhileItIsSentChangesNothingSent) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 10; });
    Send({"BG", "EN", "DL", "DR"});
    form->MemoSend->Lines = {"XX", "XX"}; // the operator keeps editing
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "EN", "DL", "DR"}));
}

TEST_F(TransmissionFixture, ClosingTheWindowStopsTheTransmissionAtOnce) {
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 250; });
    form->CommonDatas->ReplyTime = 1000;
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append("BG");
    Send(lines);
    ASSERT_TRUE(WaitUntil([&] { return simulator.Commands().size() >= 2; }));
    form.reset(); // joins the transmission thread
    RunEventsFor(300);
    EXPECT_LE(simulator.Commands().size(), 3u) << "stopped within one wait, not after the remaining lines";
}

TEST_F(TransmissionFixture, ALateAnswerIsNeverTakenForTheNextLine) {
    // The controller answers 150 ms late; the program waits 100 ms.
    SetSimulator([](kvtsim::Options& o) { o.replyDelayMs = 150; });
    form->CommonDatas->ReplyTime = 100;
    Send({"XX"}); // will be answered, too late, with a command error
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(NoReplyLines(), 1);

    // A new list goes out at once; the late "XX*E16*" arrives while its first line waits.
    form->CommonDatas->ReplyTime = 400;
    Send({"BG", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"XX", "BG", "EN"}))
        << "BG waited for its own answer instead of taking XX's error";
    EXPECT_EQ(NoReplyLines(), 1);
}

TEST_F(TransmissionFixture, AClosedPortMakesTheFirstLineGoUnanswered) {
    form->btnClosePort->click();
    form->CommonDatas->ReplyTime = 50;
    Send({"BG", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(NoReplyLines(), 1);
    EXPECT_TRUE(simulator.Commands().empty());
}

TEST_F(TransmissionFixture, RepliesSplitIntoSingleBytesOrJoinedStillAnswerEachLine) {
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
    EXPECT_EQ(form->CommonDatas->CoordState[2], TCommonDatas::Standby);
}

TEST_F(TransmissionFixture, WriteAndStartRunsTheSimplePanelsMotion) {
    form->rgrSingl_Mult->Click(0);
    SetSimulator([](kvtsim::Options& o) { o.timeScale = 0.3; }); // 200 steps at 200 steps/s: 300 ms
    ColourRecorder indicator(form->shpX);
    form->btnPusk->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(),
              (std::vector<std::string>{"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"}));
    // Written (yellow, then green), then executing (red) until the controller reports the end.
    ASSERT_TRUE(WaitUntil([&] { return indicator.Colours().size() == 5; }, 10000));
    EXPECT_EQ(indicator.Colours(), (QList<QColor>{green, yellow, green, red, green}));

    form->btnStop->click(); // nothing runs: only the flag is raised, nothing is sent
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 9u);
    EXPECT_TRUE(form->CommonDatas->ProgramRunning);
}

TEST_F(TransmissionFixture, TheChannelBoxesChooseWhichChannelsAreWritten) {
    form->rgrSingl_Mult->Click(0);
    form->show();
    form->chboxCoord3->click();
    form->ChboxCoord1->click();
    EXPECT_EQ(form->CommonDatas->CoordActive, (TCommonDatas::PerChannel<bool>{false, false, false, true}));
    EXPECT_TRUE(form->findChild<TPanel*>("PanelCoordinates")->Caption().endsWith("3  "));
    form->btnLoad->click();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_FALSE(simulator.Commands().empty());
    EXPECT_EQ(simulator.Commands().front(), "LD3");
    EXPECT_EQ(simulator.Program(3).size(), 6u);
    EXPECT_TRUE(simulator.Program(1).empty());
}
