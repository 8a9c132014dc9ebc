// Answers that come late, or not at all, from a controller whose every answer the test writes:
// nothing is ever credited to a line without that line's own answer.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedController.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Wait.h"
#include "core/UnitCommonDatas.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

using TReply = ScriptedController::TReply;

class LateAnswersFixture : public ::testing::Test {
protected:
    void Start(ScriptedController::Script script) {
        ASSERT_TRUE(controller.Start(folder.File("ports/COM1"), std::move(script)));
        session = std::make_unique<TSession>(folder.Path(), view, &view);
        ASSERT_TRUE(session->Controller().Connection().Open());
        QObject::connect(&session->Controller().Sending(), &TSending::Ended,
                         [&](const TSendReport& r) { ends.push_back(r.end); });
    }
    void SetReplyTime(quint32 ms) {
        TSettings settings = session->Options().Settings();
        settings.ReplyTime = ms;
        session->Options().Apply(settings);
    }
    bool WaitForEnds(size_t count) {
        return WaitUntil([&] { return ends.size() >= count && !session->Controller().Sending().IsSending(); },
                         60000);
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    ScriptedController controller;
    FakeView view;
    std::unique_ptr<TSession> session;
    std::vector<TSendReport::End> ends;
};

} // namespace

TEST_F(LateAnswersFixture, AStatusThatComesAfterItsLineGaveUpIsNeverCreditedToTheNextLine) {
    Start([](const std::string& command, int) -> std::vector<TReply> {
        if (command == "MV2")
            return {{0, "MV2*"}, {700, "E10*"}}; // the status comes after the reply time
        if (command == "MV3")
            return {{0, "MV3*"}}; // an echo, and no status of its own
        return {{0, command + "*E10*"}};
    });
    SetReplyTime(500);
    bool secondSent = false;
    QObject::connect(&session->Controller().Sending(), &TSending::Ended, [&](const TSendReport&) {
        if (!secondSent) {
            secondSent = true;
            session->Controller().Sending().Send(
                {"MV3", "MV4"}); // at once, as an operator's next list could be
        }
    });
    session->Controller().Sending().Send({"MV1", "MV2"});
    ASSERT_TRUE(WaitForEnds(2));
    EXPECT_EQ(ends, (std::vector<TSendReport::End>{TSendReport::End::NoAnswer, TSendReport::End::NoAnswer}));
    EXPECT_EQ(controller.Commands(), (std::vector<std::string>{"MV1", "MV2", "MV3"}))
        << "MV3 had no status of its own: MV4 must not follow";
}

TEST_F(LateAnswersFixture, AfterAnEchoWhoseStatusNeverCameTheNextListGoesOnOnceTheLineIsQuiet) {
    Start([](const std::string& command, int) -> std::vector<TReply> {
        if (command == "MV2")
            return {{0, "MV2*"}}; // the status never comes
        return {{0, command + "*E10*"}};
    });
    SetReplyTime(200);
    session->Controller().Sending().Send({"MV1", "MV2"});
    ASSERT_TRUE(WaitForEnds(1));
    session->Controller().Sending().Send({"MV3", "MV4"});
    ASSERT_TRUE(WaitForEnds(2));
    EXPECT_EQ(ends, (std::vector<TSendReport::End>{TSendReport::End::NoAnswer, TSendReport::End::Completed}));
    EXPECT_EQ(controller.Commands(), (std::vector<std::string>{"MV1", "MV2", "MV3", "MV4"}));
}

TEST_F(LateAnswersFixture, OnlyAnAnswerOfTheLinesChannelPaysAndALineSentAgainWaitsForItsFirstAnswer) {
    // LD1 puts the line on channel 1; MV7's status comes late. A report of channel 2 that comes
    // first (a program there completed) is no answer of MV7's. MV9 gets no answer in time; its
    // whole answer comes late, while it is sent again.
    std::atomic<int> mv9{0};
    Start([&](const std::string& command, int) -> std::vector<TReply> {
        if (command == "MV7")
            return {{0, "MV7*"}, {150, "E24*"}, {600, "E10*"}};
        if (command == "MV8")
            return {{0, "MV8*"}}; // an echo, and no status of its own
        if (command == "MV9")
            return ++mv9 == 1 ? std::vector<TReply>{{700, "MV9*E10*"}} : std::vector<TReply>{};
        return {{0, command + "*E10*"}};
    });
    SetReplyTime(300);
    session->Controller().Sending().Send({"LD1", "MV7"});
    ASSERT_TRUE(WaitForEnds(1));
    session->Controller().Sending().Send({"MV8"});
    ASSERT_TRUE(WaitForEnds(2));
    EXPECT_EQ(ends[1], TSendReport::End::NoAnswer) << "MV7's late status was not taken for MV8's";

    session->Controller().Sending().Send({"MV9"});
    ASSERT_TRUE(WaitForEnds(3));
    session->Controller().Sending().Send({"MV9"});
    ASSERT_TRUE(WaitForEnds(4));
    EXPECT_EQ(ends[2], TSendReport::End::NoAnswer);
    EXPECT_EQ(ends[3], TSendReport::End::NoAnswer) << "the first sending's answer is not the second's";
    EXPECT_EQ(mv9, 2);
}

TEST_F(LateAnswersFixture, TextWithoutAStarBeforeALineIsNoPartOfItsEcho) {
    // Unterminated noise after each answer, letters among it: never glued to the next echo.
    Start([](const std::string& command, int) -> std::vector<TReply> { return {{0, command + "*E10*ZQ#"}}; });
    SetReplyTime(500);
    session->Controller().Sending().Send({"MV1", "MV2", "MV3", "SD100"});
    ASSERT_TRUE(WaitForEnds(1));
    EXPECT_EQ(ends[0], TSendReport::End::Completed);
    EXPECT_EQ(controller.Commands().size(), 4u);
}
