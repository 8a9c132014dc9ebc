// Reading the program back through the session, against a controller that answers slowly, too
// much, late, or to a request the read-back did not make.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Wait.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class ReadBackFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString(), &error)) << error;
        session = std::make_unique<TSession>(folder.Path(), view, &view);
        ASSERT_TRUE(session->Controller().Connection().Open());
        QObject::connect(&session->Controller().ReadBack(), &TReadingBack::Done,
                         [&](TChanReadThread::Outcome o, const QString& t) {
                             outcomes.push_back(o);
                             text = t;
                         });
    }
    void SetReplyTime(quint32 ms) {
        TSettings settings = session->Options().Settings();
        settings.ReplyTime = ms;
        session->Options().Apply(settings);
    }
    bool WaitForRead(int timeoutMs = 60000) {
        return WaitUntil([&] { return !outcomes.empty(); }, timeoutMs);
    }
    bool ReplyLogHas(const QString& token) const {
        const TReplyLog& log = session->Logs().ReplyLog();
        for (qsizetype i = log.Count() - 1; i >= 0 && i >= log.Count() - 50; --i) {
            if (log.Line(i) == token)
                return true;
        }
        return false;
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    FakeView view;
    std::unique_ptr<TSession> session;
    std::vector<TChanReadThread::Outcome> outcomes;
    QString text;
};

} // namespace

TEST_F(ReadBackFixture, ALongProgramOnASlowLineIsReadWhileCharactersKeepComing) {
    std::vector<std::string> program{"BG", "EN", "SD200"};
    for (int i = 0; i < 400; ++i)
        program.push_back("MV" + std::to_string(100 + i));
    simulator.SetProgram(1, program);
    kvtsim::Options slow = simulator.GetOptions();
    slow.splitBytes = true; // a byte every half millisecond: far longer in all than the reply time
    slow.splitGapUs = 500;
    simulator.SetOptions(slow);
    SetReplyTime(1000);
    ASSERT_EQ(session->Controller().ReadBack().Begin(1), TReadingBack::Start::Started);
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(outcomes, std::vector<TChanReadThread::Outcome>{TChanReadThread::Outcome::Read});
    EXPECT_TRUE(text.endsWith("MV499*ED*")) << text.right(40).toStdString();
    EXPECT_FALSE(view.log.contains(session->Lang().ExtraText(Ext::NoCorrectProgram)));
}

TEST_F(ReadBackFixture, AnAnswerThatCameWhileTheMainThreadWasBusyIsAnAnswer) {
    // The program arrives at once, but the main thread is held past two reply times: the read
    // thread runs out of time before anything was handled. Judged on the main thread, what had
    // come by then is taken first, so the read is whole, not "no answer".
    simulator.SetProgram(1, {"BG", "SD200"});
    SetReplyTime(100);
    ASSERT_EQ(session->Controller().ReadBack().Begin(1), TReadingBack::Start::Started);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000)); // the window busy elsewhere
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(outcomes, std::vector<TChanReadThread::Outcome>{TChanReadThread::Outcome::Read});
    EXPECT_EQ(text, "RD1*LD1*BG*SD200*ED*");
}

TEST_F(ReadBackFixture, AnEndlessAnswerEndsTheReadAndTheWindowKeepsRunning) {
    SetReplyTime(300);
    simulator.SetOptions([] {
        kvtsim::Options silent;
        silent.silent = true; // the stream below is all it sends
        return silent;
    }());
    const std::string block = [] {
        std::string b = "RD1*";
        for (int i = 0; i < 2000; ++i)
            b += "MV1*";
        return b;
    }();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    ASSERT_EQ(session->Controller().ReadBack().Begin(1), TReadingBack::Start::Started);
    // The controller streams from a thread of its own, whatever the window does.
    std::atomic<bool> streaming{true};
    std::thread stream([&] {
        simulator.SendRaw(block);
        for (int i = 0; streaming && i < 20000; ++i) {
            simulator.SendRaw(block.substr(4));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const bool ended = WaitForRead(120000);
    streaming = false;
    stream.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(outcomes, std::vector<TChanReadThread::Outcome>{TChanReadThread::Outcome::Read});
    EXPECT_TRUE(view.log.contains(session->Lang().ExtraText(Ext::NoCorrectProgram)));
    EXPECT_LE(text.count('*'), 65537) << "a program has at most 65,535 lines: no more is collected";
    EXPECT_GT(ticks, 0);
    const int ticksAfter = ticks;
    RunEventsFor(100);
    EXPECT_GT(ticks, ticksAfter) << "the event loop runs on while the stream goes on";
    EXPECT_TRUE(session->Controller().Replies().ReadBackText().isEmpty())
        << "nothing is collected after the read";
}

TEST_F(ReadBackFixture, NothingIsCollectedForAReadTheReadBackWindowDidNotStart) {
    simulator.SetProgram(1, {"BG", "MV100"});
    // "RD1" sent as a line of the command list: the controller answers with the program.
    ASSERT_EQ(session->Controller().Sending().Send({"RD1"}), TSending::Start::Started);
    ASSERT_TRUE(WaitUntil([&] { return ReplyLogHas("ED*"); }));
    RunEventsFor(100);
    EXPECT_TRUE(session->Controller().Replies().ReadBackText().isEmpty());

    // A read that gives up: its answer, coming after all, is not collected either.
    kvtsim::Options late = simulator.GetOptions();
    late.replyDelayMs = 400;
    simulator.SetOptions(late);
    SetReplyTime(50);
    ASSERT_EQ(session->Controller().ReadBack().Begin(1), TReadingBack::Start::Started);
    ASSERT_TRUE(WaitForRead());
    ASSERT_EQ(outcomes.back(), TChanReadThread::Outcome::NoAnswer);
    const qsizetype before = session->Logs().ReplyLog().Count();
    ASSERT_TRUE(
        WaitUntil([&] { return session->Logs().ReplyLog().Count() > before && ReplyLogHas("ED*"); }, 10000));
    RunEventsFor(100);
    EXPECT_TRUE(session->Controller().Replies().ReadBackText().isEmpty());
}
