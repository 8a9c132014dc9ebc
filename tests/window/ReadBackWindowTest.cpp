// "Load from device" against the simulator: refusals, reading a written program back, putting it
// into the command list and sending it again, comparing, no answer, and a window closed mid-read.
#include "SessionRooms.h"
#include "Unit1.h"
#include "UnitChanRead.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"
#include "widgets/LogView.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class ReadBackWindowFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
        AllowSlowAnswers();
        form->mmReadCh->trigger();
        window = Dialog<TFormChanRead>();
        ASSERT_NE(window, nullptr);
    }
    void Write(const QStringList& lines) {
        SendList(lines);
        ASSERT_TRUE(WaitForEnd());
    }
    bool Read() {
        window->btnReadClick();
        // Over once the window has taken the read's end (in a turn of its own).
        return WaitUntil(
            [&] { return !Session().Controller().ReadBack().IsReading() && window->btnRead->isEnabled(); },
            10000);
    }
    TFormChanRead* window = nullptr;
};

} // namespace

TEST_F(ReadBackWindowFixture, AWrittenProgramComesBackGoesIntoTheListAndIsTheSameWhenSentAgain) {
    const QStringList program{"LD1", "BG", "EN", "AL-7", "SD200", "MV2000", "ED"};
    Write(program);
    ASSERT_TRUE(Read());
    EXPECT_EQ(window->MemoChan->toPlainText(), "RD1*LD1*BG*EN*AL32775*SD200*MV2000*ED*");
    EXPECT_EQ(window->Readed().Lines(), (QStringList{"LD1", "BG", "EN", "AL-7", "SD200", "MV2000"}));
    EXPECT_EQ(window->StringGridRead->RowCount(), 8);
    EXPECT_EQ(window->StringGridRead->Cell(0, 6), "6");
    EXPECT_TRUE(window->btnRead->isEnabled());
    EXPECT_FALSE(Session().Controller().State().ReadBackActive());

    window->btnCompareClick();
    EXPECT_EQ(LogLines().last(), Ext(Ext::CompareSame).arg("5", Ext(Ext::ChannelName).arg(1)));

    // The stored program as another tool left it: the first difference, both versions.
    simulator.SetProgram(1, {"BG", "EN", "AL-7", "SD300", "MV2000"});
    ASSERT_TRUE(Read());
    window->btnCompareClick();
    EXPECT_EQ(LogLines().last(),
              Ext(Ext::CompareDiffers).arg("4", "SD300", "SD200", Ext(Ext::ChannelOf).arg(1)));
    EXPECT_TRUE(form->MemoLog->IsRed(form->MemoLog->LineCount() - 1));

    // Into the command list, ended by ED as the read was, and sent again as it is: the controller
    // holds the same, and is out of its recording mode.
    simulator.SetProgram(1, {"BG", "EN", "AL-7", "SD200", "MV2000"});
    ASSERT_TRUE(Read());
    W<QToolButton>("btnBG")->click();
    window->btnAddToListClick();
    EXPECT_EQ(Session().Editor().List().Lines(),
              (QStringList{"LD1", "BG", "EN", "AL-7", "SD200", "MV2000", "ED"}))
        << "replaced, not extended";
    EXPECT_EQ(window->StringGridRead->RowCount(), 8) << "the read's own grid lists no ED";
    EXPECT_TRUE(W<QPushButton>("btnRunTR")->isEnabled());
    simulator.SetProgram(1, {});
    form->btnRunTRClick();
    EXPECT_TRUE(dialogs.confirmations.isEmpty()) << "a whole program: nothing to ask";
    ASSERT_TRUE(WaitUntil([&] { return !Session().Controller().Sending().IsSending(); }, 10000));
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "EN", "AL-7", "SD200", "MV2000"}));
    EXPECT_FALSE(Session().Controller().State().CommMode());
}

TEST_F(ReadBackWindowFixture, ReadsAreRefusedInRecordingModeAndWhenChannelOneIsBusy) {
    dialogs.confirmAnswers = {true}; // a list that leaves the recording open, sent all the same
    Write({"LD1"});
    ASSERT_TRUE(Session().Controller().State().CommMode());
    window->btnReadClick();
    EXPECT_EQ(dialogs.messages.last(), Ext(Ext::ReadingImpossible));
    EXPECT_FALSE(Session().Controller().ReadBack().IsReading());
    Write({"ED"});
    Session().Controller().Channels().SetStates({TChannelState::Executing, 0, 0});
    window->btnReadClick();
    EXPECT_EQ(dialogs.messages.last(), Session().Lang().Message(Msg::NotInStandby));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "ED"})) << "nothing was sent";
}

TEST_F(ReadBackWindowFixture, AddToTheEndKeepsEarlierReadsAndDirectControlReadsTheBuffer) {
    Write({"LD1", "BG", "ED"});
    window->chbAddToEnd->setChecked(true);
    ASSERT_TRUE(Read());
    ASSERT_TRUE(Read());
    EXPECT_EQ(window->MemoChan->toPlainText().split('\n').size(), 2);
    EXPECT_EQ(window->Readed().Lines(), (QStringList{"LD1", "BG", "LD1", "BG"}));

    W<QCheckBox>("chbDirectControl")->click();
    ASSERT_TRUE(Read());
    EXPECT_EQ(simulator.Commands().back(), "RB");
}

TEST_F(ReadBackWindowFixture, AWrongCommandInTheReadDisablesSendWhenTakenOver) {
    simulator.SetProgram(1, {"BG", "QQ", "EN"}); // a code this program does not know
    ASSERT_TRUE(Read());
    EXPECT_TRUE(window->LastRead().wrongCommand);
    EXPECT_EQ(window->Readed().Count(), 4);
    window->btnAddToListClick();
    EXPECT_EQ(LogLines().last(), Ext(Ext::WrongCommandInReadList));
    EXPECT_TRUE(form->MemoLog->IsRed(form->MemoLog->LineCount() - 1));
    EXPECT_FALSE(W<QPushButton>("btnRunTR")->isEnabled());
}

TEST_F(ReadBackWindowFixture, ASilentControllerGivesNoReplyAfterTheReplyTime) {
    kvtsim::Options silent = simulator.GetOptions();
    silent.silent = true;
    simulator.SetOptions(silent);
    SetReplyTime(100);
    window->MemoChan->setPlainText("earlier");
    ASSERT_TRUE(Read());
    EXPECT_EQ(LogLines().last(), Session().Lang().Message(Msg::NoReply));
    EXPECT_TRUE(form->MemoLog->IsRed(form->MemoLog->LineCount() - 1));
    EXPECT_EQ(window->MemoChan->toPlainText(), "earlier") << "keeps its contents";
    EXPECT_TRUE(window->btnRead->isEnabled());
}

TEST_F(ReadBackWindowFixture, AnAnswerThatCameTooLateDoesNotEndTheNextRead) {
    Write({"LD1", "BG", "SD200", "ED"});
    kvtsim::Options late = simulator.GetOptions();
    late.replyDelayMs = 300;
    simulator.SetOptions(late);
    SetReplyTime(50);
    ASSERT_TRUE(Read());
    EXPECT_EQ(LogLines().last(), M(Msg::NoReply));
    // The answer arrives whole after the read gave up on it.
    ASSERT_TRUE(WaitUntil([&] { return simulator.Received().find("RD1*") != std::string::npos; }, 10000));
    ASSERT_TRUE(WaitUntil(
        [&] {
            const TReplyLog& log = Session().Logs().ReplyLog();
            return log.Count() > 1 && log.Line(log.Count() - 2) == "ED*";
        },
        10000));

    // The next read waits for its own answer, which comes late again, within its reply time.
    late.replyDelayMs = 100;
    simulator.SetOptions(late);
    SetReplyTime(60000);
    ASSERT_TRUE(Read());
    EXPECT_EQ(window->MemoChan->toPlainText(), "RD1*LD1*BG*SD200*ED*");
    EXPECT_EQ(window->Readed().Lines(), (QStringList{"LD1", "BG", "SD200"}));
}

TEST_F(ReadBackWindowFixture, ClosingTheWindowDuringAReadAbandonsItAtOnce) {
    kvtsim::Options silent = simulator.GetOptions();
    silent.silent = true;
    simulator.SetOptions(silent);
    SetReplyTime(86400000); // a day: only abandoning ends the read
    window->btnReadClick();
    ASSERT_TRUE(Session().Controller().ReadBack().IsReading());
    const int lines = form->MemoLog->LineCount();
    window->close();
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormChanRead>() == nullptr; }));
    RunEventsFor(50);
    EXPECT_EQ(form->MemoLog->LineCount(), lines) << "nothing reported for an abandoned read";
    EXPECT_FALSE(Session().Controller().State().ReadBackActive());
    form->mmReadCh->trigger();
    EXPECT_NE(Dialog<TFormChanRead>(), nullptr) << "a fresh window";
}

TEST_F(ReadBackWindowFixture, RowsOfTheReadProgramCanBeDraggedAndTheirLinesFollow) {
    Write({"LD1", "BG", "SD200", "MV300", "ED"});
    ASSERT_TRUE(Read());
    TStringGrid* grid = window->StringGridRead;
    grid->DragRow(4, 1); // MV300 to the top
    EXPECT_EQ(window->Readed().Lines(), (QStringList{"MV300", "LD1", "BG", "SD200"}));
    EXPECT_TRUE(window->Readed().Description(0).contains("300")) << "the description moved with its line";
    grid->DragRow(1, grid->RowCount() - 1); // onto the trailing empty row: removed
    EXPECT_EQ(window->Readed().Lines(), (QStringList{"LD1", "BG", "SD200"}));
    window->btnAddToListClick();
    EXPECT_EQ(Session().Editor().List().Lines(), (QStringList{"LD1", "BG", "SD200", "ED"}));
}

TEST_F(ReadBackWindowFixture, EachChannelAndTheBufferAreReadAndComparedWithTheirOwnProgram) {
    // One list writes two channels; channel 3 and the buffer hold programs of their own.
    const QStringList list{"LD1", "SD100", "ED", "LD2", "SD200", "MV20", "ED"};
    Write(list);
    simulator.SetProgram(3, {"SD300"});
    Session().Editor().Replace(list);
    const struct {
        int item; // in the chooser: channels 1 to 3, then the buffer
        QString request, log;
    } cases[] = {
        {1, "RD2", Ext(Ext::CompareSame).arg("2", Ext(Ext::ChannelName).arg(2))},
        {2, "RD3",
         Ext(Ext::CompareDiffers).arg("1", "SD300", Ext(Ext::NothingThere), Ext(Ext::ChannelOf).arg(3))},
        {3, "RB", Ext(Ext::CompareSame).arg("1", Ext(Ext::BufferName))},
    };
    for (const auto& c : cases) {
        window->cbReadWhich->setCurrentIndex(c.item);
        emit window->cbReadWhich->activated(c.item);
        ASSERT_TRUE(Read()) << c.request.toStdString();
        EXPECT_EQ(simulator.Commands().back(), c.request.toStdString());
        window->btnCompareClick();
        EXPECT_EQ(LogLines().last(), c.log);
    }
    // A channel that holds no program says so, rather than showing an empty read.
    simulator.SetProgram(3, {});
    window->cbReadWhich->setCurrentIndex(2);
    ASSERT_TRUE(Read());
    EXPECT_TRUE(LogLines().contains(Ext(Ext::ReadNoProgram).arg(Ext(Ext::ChannelName).arg(3))))
        << LogLines().join('\n').toStdString();
}

TEST_F(ReadBackWindowFixture, TheWindowKeepsItsHeightsItsChoiceAndShowsTheVerdictItself) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // 264 high with the codes, 200 without, the channel chooser fitting in both.
    for (const bool codes : {false, true}) {
        window->chbCodes->click();
        EXPECT_EQ(window->chbCodes->isChecked(), codes);
        EXPECT_EQ(window->height(), codes ? 264 : 200);
        EXPECT_LE(window->minimumSizeHint().height(), window->height());
    }
    // Compared before any read: said so, in the window, and nothing named.
    window->cbReadWhich->setCurrentIndex(1);
    const int logLines = int(LogLines().size());
    window->btnCompareClick();
    EXPECT_EQ(window->lblCompareVerdict->text(), Ext(Ext::NothingReadYet));
    EXPECT_EQ(LogLines().size(), logLines);

    Write({"LD2", "SD200", "ED"});
    Session().Editor().Replace({"LD2", "SD200", "ED"});
    ASSERT_TRUE(Read());
    EXPECT_EQ(window->cbReadWhich->currentIndex(), 1) << "the chosen channel stays chosen";
    EXPECT_EQ(simulator.Commands().back(), "RD2");
    window->btnCompareClick();
    EXPECT_EQ(window->lblCompareVerdict->text(), LogLines().last());
    EXPECT_EQ(window->lblCompareVerdict->text(),
              Ext(Ext::CompareSame).arg("1", Ext(Ext::ChannelName).arg(2)));
    // Column 1 stays empty, 20 pixels wide; a row's tooltip shows its line.
    EXPECT_EQ(window->StringGridRead->ColWidth(1), 20);
    const QModelIndex cell = window->StringGridRead->model()->index(1, 1); // LD2, then SD200
    EXPECT_EQ(cell.data().toString(), "");
    EXPECT_TRUE(cell.data(Qt::ToolTipRole).toString().startsWith("SD200"));
}
