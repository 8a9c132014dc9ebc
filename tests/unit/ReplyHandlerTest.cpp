#include "protocol/ReplyHandler.h"
#include "ChangeSettings.h"
#include "FakeLine.h"
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "core/ChannelState.h"
#include "core/Events.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/ReplyReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>

namespace {

const QString OK = QString::fromUtf8("ОК");

class ReplyFixture : public ::testing::Test {
protected:
    ReplyFixture()
        : paths("/nonexistent"), datas(view), state(datas, view, view), lang(paths, datas, view),
          handler(TControllerBasis{datas, state, lang}, readBack, line, scheduler, view) {
        QObject::connect(&handler, &TReplyHandler::Alert, [this](const QString& text) {
            alerts.append(text);
            if (onAlert)
                onAlert(text); // as the operator would, while the box stands
        });
    }

    // Whether an answer was published to the sending since the last ForgetAnswers.
    bool Answered() { return handler.Reader().Position().first > answeredBefore; }
    void ForgetAnswers() { answeredBefore = handler.Reader().Position().first; }

    void Receive(const QString& text) { handler.Receive(text); }
    // Runs the delayed recovery steps, as the timers would; returns the total delay.
    int RunScheduled() { return scheduler.RunAll(); }
    bool LogHas(const QString& line) const { return view.log.contains(line); }

    ScriptedDialogs dialogs;
    FakeView view;
    TProgramPaths paths;
    TCommonDatas datas;
    TChannelState state;
    TLang lang;
    TNamedEvent readBack{"EventReadedName", false};
    RecordingWriter line;
    QStringList& written = line.written;
    ManualScheduler scheduler;
    TReplyHandler handler;
    QStringList alerts; // the texts the handler asked a message box for
    std::function<void(const QString&)> onAlert;
    quint64 answeredBefore = 0;
};

} // namespace

TEST_F(ReplyFixture, RecordingAProgramMovesTheChannelThroughCommunicationAndBack) {
    Receive("LD2*E20*");
    EXPECT_EQ(state.State(2), TChannelState::Communication);
    EXPECT_TRUE(state.CommMode());
    EXPECT_TRUE(LogHas("*Coordinate 2* is in communication mode"));
    EXPECT_TRUE(Answered());
    ForgetAnswers();

    Receive("BG*E20*SD200*E20*");
    EXPECT_EQ(view.recording, (QStringList{"BG*" + OK, "SD200*" + OK}));
    Receive("ED*E20*");
    EXPECT_EQ(state.State(2), TChannelState::Standby);
    EXPECT_FALSE(state.CommMode());
    EXPECT_TRUE(LogHas("*Program recording to coordinate2* completed "));
    EXPECT_EQ(view.recording.size(), 2) << "the end of recording is no stored command";
}

TEST_F(ReplyFixture, StartPauseResumeAndCompletion) {
    Receive("ST1*E10*");
    EXPECT_TRUE(state.Running(1));
    EXPECT_TRUE(state.ProgramRunning());
    EXPECT_EQ(state.State(1), TChannelState::Executing);
    EXPECT_TRUE(LogHas("*Coordinate 1*: program executing started"));
    EXPECT_TRUE(LogHas("Coord 1: program executing"));

    Receive("PS1*E12*");
    EXPECT_EQ(state.State(1), TChannelState::Paused);
    EXPECT_TRUE(LogHas("*Program executing is suspended. Chanel 1"));
    EXPECT_TRUE(state.Running(1)) << "the pause echo is no start echo";

    Receive("PS1*E18*");
    EXPECT_EQ(state.State(1), TChannelState::Executing);
    EXPECT_TRUE(LogHas("*Resume program executing - coordinate1"));

    ForgetAnswers();
    Receive("E14*");
    EXPECT_EQ(state.State(1), TChannelState::Executing) << "completion after a PS echo changes nothing";
    EXPECT_TRUE(Answered()) << "but it answers the line while a program runs";

    Receive("ST1*E10*E14*");
    EXPECT_EQ(state.State(1), TChannelState::Standby);
    EXPECT_TRUE(LogHas("*Coordinate 1*: Program executing completed"));
    EXPECT_FALSE(state.Running(1));
    EXPECT_FALSE(state.ProgramRunning());
}

TEST_F(ReplyFixture, StartingAllChannelsAndDirectControl) {
    Receive("ST*");
    EXPECT_TRUE(state.Running(1) && state.Running(2) && state.Running(3));
    ChangeSettings(datas, [&](TSettings& s) { s.DirectControl = true; });
    const int lines = view.log.size();
    Receive("ST2*E20*");
    EXPECT_EQ(view.log.size(), lines) << "in direct control a start is not logged";
    EXPECT_EQ(state.State(2), TChannelState::Standby);
}

TEST_F(ReplyFixture, ATokenSplitAtAnyByteEndsTheSame) {
    const QString stream = "LD2*E20*BG*E20*ED*E20*ST2*E20*PS2*E22*";
    for (int cut = 0; cut <= stream.size(); ++cut) {
        FakeView v;
        TCommonDatas d(v);
        TChannelState st(d, v, v);
        TLang l(paths, d, v);
        TNamedEvent rb("rb", false);
        RecordingWriter w;
        ManualScheduler never;
        TReplyHandler h(TControllerBasis{d, st, l}, rb, w, never, v);
        h.Receive(stream.left(cut));
        h.Receive(stream.mid(cut));
        EXPECT_EQ(st.State(2), TChannelState::Paused) << cut;
        EXPECT_EQ(v.recording, QStringList{"BG*" + OK}) << cut;
        EXPECT_EQ(h.LastReply(), "PS2*") << cut;
        EXPECT_EQ(h.LastError(), "E22*") << cut;
        EXPECT_TRUE(h.ReceiveBuffer().isEmpty()) << cut;
    }
}

TEST_F(ReplyFixture, AStartEchoAndHalfAStatusTokenThenTheRest) {
    Receive("ST1*E1");
    EXPECT_EQ(handler.LastReply(), "ST1*");
    EXPECT_TRUE(state.Running(1));
    EXPECT_EQ(handler.ReceiveBuffer(), "E1");
    EXPECT_FALSE(Answered());
    Receive("0*");
    EXPECT_EQ(state.State(1), TChannelState::Executing);
    EXPECT_TRUE(Answered());
}

TEST_F(ReplyFixture, ErrorCodesAreLoggedInRedAndAnswerTheLine) {
    Receive("XX*E16*");
    EXPECT_EQ(handler.LastError(), "E16*");
    EXPECT_TRUE(Answered());
    ASSERT_FALSE(view.log.isEmpty());
    EXPECT_EQ(view.log.last(), "*Error - incorrect command!");
    EXPECT_TRUE(view.redLines.last());
    ForgetAnswers();
    Receive("SD0*E19*");
    EXPECT_EQ(view.log.last(), "*Error - incorrect command data!");
    EXPECT_TRUE(view.redLines.last());
    EXPECT_TRUE(Answered());
}

TEST_F(ReplyFixture, AProgramErrorShowsAMessageBoxOnly) {
    Receive("ST3*E33*");
    EXPECT_EQ(alerts, QStringList{"*Program error - coordinate3"});
    EXPECT_EQ(state.State(3), TChannelState::Standby);
}

TEST_F(ReplyFixture, UnknownCodesAndChannelsChangeOnlyTheLastError) {
    Receive("BG*E11*");
    EXPECT_EQ(handler.LastError(), "E11*");
    EXPECT_FALSE(Answered());
    Receive("BG*E77*");
    EXPECT_EQ(handler.LastError(), "E77*");
    Receive("LD7*E70*");
    EXPECT_EQ(state.States(), (std::array<quint8, 3>{0, 0, 0}));
    EXPECT_TRUE(LogHas("*Coordinate 7* is in communication mode")) << "the digit is shown whatever it is";
    Receive("E94*");
    EXPECT_EQ(state.States(), (std::array<quint8, 3>{0, 0, 0}));
}

TEST_F(ReplyFixture, ACommunicationErrorIsTakenOutLoggedAndShown) {
    ChangeSettings(datas, [&](TSettings& s) { s.AutoRecovery = false; });
    Receive("BG*E25*E10*");
    ASSERT_FALSE(view.log.isEmpty());
    EXPECT_EQ(view.log.first(), "*Data transfer error!");
    EXPECT_TRUE(view.redLines.first());
    EXPECT_EQ(alerts, QStringList{"*Data transfer error!"});
    EXPECT_EQ(handler.LastReply(), "BG*") << "the rest is tokenised normally";
    EXPECT_EQ(handler.LastError(), "E10*");
    EXPECT_TRUE(written.isEmpty()) << "without automatic recovery nothing is sent";
}

TEST_F(ReplyFixture, OnlyOneCommunicationErrorIsTakenOutPerCall) {
    ChangeSettings(datas, [&](TSettings& s) { s.AutoRecovery = false; });
    Receive("E35*E15*");
    EXPECT_EQ(alerts.size(), 1);
    EXPECT_EQ(handler.LastError(), "E35*") << "E15* is looked for first; E35* then is a plain status token";
    EXPECT_FALSE(Answered());
}

TEST_F(ReplyFixture, AutomaticRecoveryEndsCommunicationThenClearsTheMarks) {
    // The operator takes longer than the recovery to acknowledge the message box.
    onAlert = [this](const QString&) { RunScheduled(); };
    Receive("LD1*E10*BG*E15*MV5*E10*");
    EXPECT_EQ(written, QStringList{"ED*"});
    EXPECT_TRUE(LogHas("*Error recovering: stop controller communication mode"));
    EXPECT_TRUE(LogHas("*Error recovering: clear program buffers and labels"));
    EXPECT_TRUE(handler.ReceiveBuffer().isEmpty());
    EXPECT_EQ(handler.LastReply(), "");
    EXPECT_EQ(handler.LastError(), "");
    EXPECT_FALSE(view.recording.contains("MV5*" + OK)) << "the rest of the damaged chunk was dropped";
}

TEST_F(ReplyFixture, RecoveryStepsFollowTheSettingsAndTakeTheirTime) {
    ChangeSettings(datas, [&](TSettings& s) { s.RecoveryBreakComm = false; });
    ChangeSettings(datas, [&](TSettings& s) { s.RecoveryClearMarks = false; });
    handler.RunErrorRecovery();
    EXPECT_TRUE(scheduler.pending.empty());
    EXPECT_TRUE(view.log.isEmpty()) << "both steps off: nothing at all";

    handler.BreakCommunication();
    EXPECT_TRUE(written.isEmpty()) << "nothing before the first 200 ms";
    EXPECT_GE(RunScheduled(), 400);
    EXPECT_EQ(written, QStringList{"ED*"});

    ChangeSettings(datas, [&](TSettings& s) { s.RecoveryBreakComm = true; });
    ChangeSettings(datas, [&](TSettings& s) { s.RecoveryClearMarks = true; });
    Receive("half");
    handler.RunErrorRecovery();
    handler.RunErrorRecovery(); // a second error while the first recovery runs: its own recovery
    EXPECT_EQ(handler.RecoveriesRunning(), 2);
    RunScheduled();
    EXPECT_EQ(written, (QStringList{"ED*", "ED*", "ED*"}));
    EXPECT_TRUE(handler.ReceiveBuffer().isEmpty());
    EXPECT_EQ(handler.RecoveriesRunning(), 0);
    EXPECT_EQ(view.log.count("*Error recovering: clear program buffers and labels"), 2);
}

TEST_F(ReplyFixture, ACommunicationErrorIsAnnouncedBeforeItIsHandled) {
    int announced = 0;
    QString logAtAnnouncement = "not announced";
    QObject::connect(&handler, &TReplyHandler::CommunicationError, [&] {
        ++announced;
        logAtAnnouncement = view.log.join('|');
    });
    Receive("MV1*E10*E15*");
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(logAtAnnouncement, "") << "before the error is logged or the recovery starts";
    EXPECT_TRUE(written.isEmpty());
}

TEST_F(ReplyFixture, NoiseBeforeATokenKeepsTheProtocolState) {
    // Before the echo of LD: communication mode is still seen.
    Receive(QString(QChar(0xFF)) + "LD1*" + QChar(0) + "E10*");
    EXPECT_EQ(state.State(1), TChannelState::Communication);
    EXPECT_EQ(handler.LastReply(), "LD1*");
    EXPECT_EQ(handler.LastError(), "E10*");
    // Before a recorded command and between echo and status.
    Receive(QString(QChar(0x7f)) + "BG*~E10*");
    EXPECT_EQ(view.recording, QStringList{"BG*" + OK});
    Receive("ED*" + QString(QChar(0x80)) + "E10*");
    EXPECT_EQ(state.State(1), TChannelState::Standby) << "recording completed";
    // Before a completion report: the channel does not stay executing.
    Receive("ST1*E10*");
    EXPECT_EQ(state.State(1), TChannelState::Executing);
    Receive(QString(QChar(3)) + "E14*");
    EXPECT_EQ(state.State(1), TChannelState::Standby);
    // An echo of a wrong command keeps its letters.
    Receive("XX*E16*");
    EXPECT_EQ(handler.LastError(), "E16*");
    EXPECT_EQ(TReplyHandler::CleanToken("XX*"), "XX*");
    EXPECT_EQ(TReplyHandler::CleanToken("\xFF*"), "*");
    EXPECT_EQ(TReplyHandler::CleanToken("MV200*"), "MV200*");
}

TEST_F(ReplyFixture, LineBreaksFirstOfEachKindAreRemovedPerCall) {
    Receive("B\r\nG*E10*");
    EXPECT_EQ(handler.LastReply(), "BG*");
    Receive("\r\nB\rG*");
    EXPECT_EQ(handler.LastReply(), "B\rG*") << "a second carriage return stays in the token";
    Receive("E1\n\n0*");
    EXPECT_EQ(handler.LastError(), "") << "\"E1\\n0*\" is five characters: no status token";
}

TEST_F(ReplyFixture, ReadBackCollectsTheProgramUntilItsEnd) {
    Receive("RD1*LD1*ED*");
    EXPECT_TRUE(handler.ReadBackText().isEmpty()) << "no read begun: nothing collected";
    handler.BeginReadBack();
    Receive("RD1*LD1*BG*E10*MV200*");
    EXPECT_TRUE(state.ReadBackActive());
    EXPECT_EQ(handler.ReadBackText(), "RD1*LD1*BG*MV200*") << "status tokens are not collected";
    EXPECT_FALSE(readBack.IsSet());
    Receive("E");
    Receive("D*");
    EXPECT_TRUE(readBack.IsSet()) << "the end, split across two chunks";
    handler.EndReadBack();
    EXPECT_TRUE(handler.ReadBackText().isEmpty());
    EXPECT_FALSE(state.ReadBackActive());
    Receive("RD1*E10*");
    EXPECT_TRUE(state.ReadBackActive()) << "also started by code 0 after an RD echo";
}

TEST_F(ReplyFixture, GarbageNeverCrashesNorGrowsTheBufferWithoutEnd) {
    QString megabyte(1 << 20, QChar(0xFF));
    megabyte[1000] = QChar(0);
    for (int i = 0; i < 64; ++i)
        Receive(megabyte.mid(i * 16384, 16384));
    EXPECT_LE(handler.ReceiveBuffer().size(), TReplyHandler::MaxPendingText);
    Receive("A*");
    EXPECT_EQ(handler.LastReply(), "A*") << "the noise kept before it is dropped from the echo";
    Receive("*");
    EXPECT_EQ(handler.LastReply(), "*") << "a lone '*' is a token of its own";
    Receive(QString(QChar(0)) + "E10*");
    EXPECT_EQ(handler.LastError(), "E10*") << "a status token after a noise byte is still a status";
}

TEST(ReplyReader, AnswersAreToldAtOnceAndEverythingElseWaitsInOrder) {
    TReplyReader reader;
    struct Listener : TReplyReader::IListener {
        void Answered(const TReplyReader::TAnswer& a) override { told.append(a.echo + a.status); }
        QStringList told;
    };
    auto listener = std::make_shared<Listener>();
    reader.Attach(listener);
    int notified = 0;
    reader.SetNotify([&] { ++notified; });

    reader.ChunkReceived("LD1*E10*BG", 0);
    reader.ChunkReceived("*E14*EN*E16*", 0);
    EXPECT_EQ(listener->told, (QStringList{"LD1*E10*", "EN*E16*"})) << "code 4 is the handler's to judge";
    EXPECT_EQ(reader.Answer().status, "E16*");
    EXPECT_EQ(notified, 1) << "told once when the queue stopped being empty";
    const auto items = reader.Queue().Take(100);
    QStringList tokens;
    for (const auto& item : items) {
        if (item.kind == TReplyReader::TItem::Token)
            tokens.append(item.text);
    }
    EXPECT_EQ(tokens, (QStringList{"LD1*", "E10*", "BG*", "E14*", "EN*", "E16*"}));
    EXPECT_EQ(items.front().kind, TReplyReader::TItem::Characters);
    EXPECT_EQ(items.front().characters, QByteArray("LD1*E10*BG"));

    // An answer published later by the main thread for an earlier token is not taken back.
    EXPECT_FALSE(reader.Publish(items[4].serial, "BG*", "E14*"));
    EXPECT_EQ(reader.Answer().echo, "EN*");
    reader.Detach(listener.get());
    reader.ChunkReceived("ST1*E10*", 0);
    EXPECT_EQ(listener->told.size(), 2) << "a detached listener hears nothing more";
}

TEST(ReplyReader, AFloodWaitsForTheMainThreadUntilThePortCloses) {
    TReplyReader reader;
    const QByteArray many = QByteArray("E10*").repeated(int(TReplyReader::MaxQueuedItems));
    reader.ChunkReceived(many, 0); // the queue is now full
    std::atomic<bool> returned{false};
    std::thread reading([&] {
        reader.ChunkReceived("E20*", 0); // waits for room
        returned = true;
    });
    reader.Queue().Take(TReplyReader::MaxQueuedItems); // room again: the waiting chunk goes in
    reading.join();
    EXPECT_TRUE(returned);

    reader.ChunkReceived(many, 0);
    std::thread closing([&] { reader.ChunkReceived("E30*", 0); });
    reader.Interrupt(); // as the port does when it closes: before or during the wait
    closing.join();
    reader.ChunkReceived("E40*", 0); // and until it opens again, nothing waits
    reader.Resume();
    QStringList last;
    for (auto items = reader.Queue().Take(1 << 20); !items.empty(); items = reader.Queue().Take(1 << 20)) {
        for (const auto& item : items)
            last.append(item.text);
    }
    EXPECT_FALSE(last.contains("E30*")) << "dropped: the port was closing";
    EXPECT_FALSE(last.contains("E40*"));
}

TEST(EchoMatching, TheLineAndItsStarWithOrWithoutThePlusSign) {
    EXPECT_TRUE(TRWThread::EchoMatches("MV200*", "MV200"));
    EXPECT_TRUE(TRWThread::EchoMatches("AL5*", "AL+5")) << "the controller may drop the plus sign";
    EXPECT_TRUE(TRWThread::EchoMatches("AL+5*", "AL+5"));
    EXPECT_FALSE(TRWThread::EchoMatches("MV2000*", "MV200"));
    EXPECT_FALSE(TRWThread::EchoMatches("MV20*", "MV200"));
    EXPECT_FALSE(TRWThread::EchoMatches("MV200", "MV200")) << "no star, no echo";
    EXPECT_FALSE(TRWThread::EchoMatches("XMV200*", "MV200"));
    EXPECT_FALSE(TRWThread::EchoMatches("", "BG"));
    EXPECT_TRUE(TRWThread::EchoMatches("*", ""));
}

TEST(ReplyReader, AFloodOfLongTokensIsHeldToTheQueuesBytesAndItsDropIsToldOnce) {
    TReplyReader reader;
    // 64 MB of garbage with a '*' every 256 bytes, and text that nothing ends, in 64 KB chunks.
    QByteArray chunk;
    for (int i = 0; i < 256; ++i)
        chunk += QByteArray(255, char('A' + i % 26)) + '*';
    const QByteArray endless(64 * 1024, 'x');
    std::atomic<bool> done{false};
    std::thread reading([&] {
        for (int i = 0; i < 1024; ++i)
            reader.ChunkReceived(i % 2 ? chunk : endless, 0);
        done = true;
    });
    qsizetype most = 0;
    int dropped = 0;
    for (;;) {
        most = std::max(most, reader.Queue().Bytes());
        const bool finished = done;
        for (const TReplyReader::TItem& item : reader.Queue().Take(1000))
            dropped += item.kind == TReplyReader::TItem::TextDropped ? 1 : 0;
        if (finished && !reader.Queue().HasItems())
            break;
    }
    reading.join();
    EXPECT_LE(most, TReplyReader::MaxQueuedBytes + 2 * chunk.size() * 3) << "64 MB went through";
    EXPECT_EQ(dropped, 1) << "told once per opening";
    EXPECT_LE(reader.PendingText().size(), TReplyReader::MaxPendingText);
}

TEST(ReplyReader, TheStartOfAStatusLeftBeforeALineIsKeptOnlyWhenTheRestOfOneFollows) {
    TReplyReader reader;
    const struct {
        QList<QByteArray> before, after; // chunks before the line is sent, and after
        QString echo, status;            // the answer the line gets
    } cases[] = {
        {{"E"}, {"SD100*E10*"}, "SD100*", "E10*"},        {{"E1"}, {"SD100*E10*"}, "SD100*", "E10*"},
        {{"xE10"}, {"SD100*E10*"}, "SD100*", "E10*"},     {{"E10"}, {"SD100*", "E10*"}, "SD100*", "E10*"},
        {{"E1"}, {"0", "*SD100*E10*"}, "SD100*", "E10*"}, // the rest of a status, in pieces: kept
    };
    for (const auto& c : cases) {
        for (const QByteArray& chunk : c.before)
            reader.ChunkReceived(chunk, 0);
        reader.LineSent();
        for (const QByteArray& chunk : c.after)
            reader.ChunkReceived(chunk, 0);
        EXPECT_EQ(reader.Answer().echo, c.echo) << c.before.first().constData();
        EXPECT_EQ(reader.Answer().status, c.status) << c.before.first().constData();
        reader.Queue().Take(100000);
        reader.ChunkReceived("BG*E10*", 0); // the next case starts from an answered line
    }
}
