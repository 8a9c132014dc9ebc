// A controller that misbehaves at the window: error reports that come faster than anyone answers
// their boxes, and answers that interleave with a box standing. The window's event loop keeps
// running, boxes never stack, and every token is handled in order.
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

class HostileControllerFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow();
    }
};

} // namespace

TEST_F(HostileControllerFixture, AnswersThatComeWhileAnErrorBoxStandsAreHandledAfterTheOnesBeforeThem) {
    simulator.SendRaw("ST1*E10*");
    ASSERT_TRUE(WaitUntil([&] { return Coords().State(1) == TChannelState::Executing; }));
    // The operator reads the box while the controller goes on: a later start arrives meanwhile.
    bool sentDuringTheBox = false;
    dialogs.onMessage = [&](const QString&) {
        if (sentDuringTheBox)
            return;
        sentDuringTheBox = true;
        simulator.SendRaw("ST1*E10*");
        RunEventsFor(300);
    };
    simulator.SendRaw("E13*E14*");
    ASSERT_TRUE(WaitUntil([&] { return sentDuringTheBox; }));
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.messages.isEmpty(); }));
    RunEventsFor(200);
    EXPECT_EQ(dialogs.messages.first(), M(Msg::ProgramError) + "1");
    EXPECT_EQ(Coords().State(1), TChannelState::Executing)
        << "the completion came before the second start, so the channel runs";
}

TEST_F(HostileControllerFixture, AFloodOfErrorsNobodyAnswersNeverStacksBoxesAndTheWindowKeepsRunning) {
    int depth = 0, deepest = 0, ticks = 0;
    qint64 longestPauseMs = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestPauseMs = std::max(longestPauseMs, sinceTick.restart());
        ++ticks;
    });
    ticker.start(1);
    int sent = 0;
    QTimer flood;
    QObject::connect(&flood, &QTimer::timeout, [&] {
        simulator.SendRaw("E13*");
        if (++sent == 200)
            flood.stop();
    });
    // Nobody answers: each box stays open until the flood is over.
    dialogs.onMessage = [&](const QString&) {
        deepest = std::max(deepest, ++depth);
        WaitUntil([&] { return sent == 200; }, 60000);
        RunEventsFor(100);
        --depth;
    };
    flood.start(2);
    ASSERT_TRUE(WaitUntil([&] { return sent == 200; }, 60000));
    ASSERT_TRUE(WaitUntil([&] { return Session().Logs().ReplyLog().Count() > 200; }, 60000));
    RunEventsFor(300);
    EXPECT_EQ(deepest, 1) << "one box at a time";
    EXPECT_GT(ticks, 0) << "the window's event loop ran while the boxes stood";
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.first().startsWith(M(Msg::ProgramError) + "1"));
    EXPECT_LT(dialogs.messages.size(), 200) << "repeats are counted, not each shown";
    // Every error is accounted for: each box tells how many times its error came.
    const QString error = M(Msg::ProgramError) + "1";
    int told = 0;
    for (const QString& message : dialogs.messages) {
        for (int times = 1; times <= 200; ++times) {
            if (message == (times == 1 ? error : Ext(Ext::AlertRepeated).arg(error).arg(times)))
                told += times;
        }
    }
    EXPECT_EQ(told, 200);
    RecordProperty("longest pause of the event loop, ms", int(longestPauseMs));
}
