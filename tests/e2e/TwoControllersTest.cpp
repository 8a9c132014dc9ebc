// Two controllers driven from one process: the session's own on a pseudo-terminal, and a second
// one (a controller unit of its own, on the same settings and language) over tcp:// to a
// `kvtsim --listen`. Each keeps its own line, channel state, sending and read-back.
#include "FakeView.h"
#include "FastSimulator.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Wait.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

namespace {

class TwoControllers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartFastSimulator(pty, folder.File("ports/COM1").toStdString()));
        network.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Every answer 2 ms late: a long list is still being sent when the other line goes.
        network.start(KVTSIM, {"--listen", "0", "--time-scale", "0.01", "--delay", "2"});
        ASSERT_TRUE(network.waitForStarted());
        ASSERT_TRUE(WaitUntil([&] { return network.canReadLine(); }, 20000));
        const auto found = QRegularExpression("tcp://\\S+").match(QString::fromUtf8(network.readLine()));
        ASSERT_TRUE(found.hasMatch());

        session = std::make_unique<TSession>(folder.Path(), firstView, &firstView);
        second = std::make_unique<TController>(session->Paths, session->Datas(), session->Lang(),
                                               session->Commands(), secondView, secondView, nullptr);
        second->Connection().Choice().UseDevice(found.captured());
        ASSERT_TRUE(First().Connection().Open());
        ASSERT_TRUE(second->Connection().Open()) << second->Connection().OpenFailure().toStdString();
        for (TController* c : {&First(), second.get()}) {
            QObject::connect(&c->Sending(), &TSending::Ended,
                             [this, c](const TSendReport& report) { ends[c].push_back(report); });
        }
    }
    void TearDown() override {
        second.reset();
        session.reset();
        network.terminate();
        network.waitForFinished();
    }
    TController& First() { return session->Controller(); }
    bool Ended(TController& c, size_t count) {
        return WaitUntil([&] { return ends[&c].size() >= count && !c.Sending().IsSending(); }, 60000);
    }
    // Reads `channel` back from `c`: the program's lines as the list takes them over.
    QStringList ReadBack(TController& c, int channel) {
        bool done = false;
        QString text;
        const auto connection = QObject::connect(&c.ReadBack(), &TReadingBack::Done,
                                                 [&](TChanReadThread::Outcome o, const QString& t) {
                                                     outcome = o;
                                                     text = t;
                                                     done = true;
                                                 });
        EXPECT_EQ(c.ReadBack().Begin(channel), TReadingBack::Start::Started);
        EXPECT_TRUE(WaitUntil([&] { return done; }, 60000));
        QObject::disconnect(connection);
        TCommandList read("MemoReaded");
        return c.ReadBack().WholeProgram(read, c.ReadBack().Parse({text}, read)).lines;
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator pty;
    QProcess network;
    FakeView firstView, secondView;
    std::unique_ptr<TSession> session;
    std::unique_ptr<TController> second;
    std::map<TController*, std::vector<TSendReport>> ends;
    TChanReadThread::Outcome outcome{};
};

} // namespace

TEST_F(TwoControllers, EachSendsReadsBackAndReportsItsOwnChannels) {
    // Both lists at once, each on its own line.
    ASSERT_EQ(First().Sending().Send({"LD1", "SD100", "MV200", "ED"}), TSending::Start::Started);
    ASSERT_EQ(second->Sending().Send({"LD2", "SD300", "MV400", "ED"}), TSending::Start::Started);
    ASSERT_TRUE(Ended(First(), 1));
    ASSERT_TRUE(Ended(*second, 1));
    EXPECT_EQ(ends[&First()][0].end, TSendReport::End::Completed);
    EXPECT_EQ(ends[second.get()][0].end, TSendReport::End::Completed);
    EXPECT_EQ(pty.Program(1), (std::vector<std::string>{"SD100", "MV200"}));
    EXPECT_TRUE(pty.Program(2).empty()) << "the second controller's list went to its own line only";

    EXPECT_EQ(ReadBack(First(), 1), (QStringList{"LD1", "SD100", "MV200", "ED"}));
    EXPECT_EQ(ReadBack(*second, 2), (QStringList{"LD2", "SD300", "MV400", "ED"}));
    EXPECT_EQ(ReadBack(First(), 2), QStringList{}) << "nothing of the other controller's";
    EXPECT_EQ(outcome, TChanReadThread::Outcome::Read);

    // A long motion started on the first controller runs there alone.
    ASSERT_EQ(First().Sending().Send({"LD3", "SD1", "MV1000000", "ED", "ST3"}), TSending::Start::Started);
    ASSERT_TRUE(Ended(First(), 2));
    ASSERT_TRUE(WaitUntil([&] { return First().State().State(3) == TChannelState::Executing; }, 60000));
    EXPECT_EQ(second->State().States(), (std::array<quint8, 3>{0, 0, 0}));
    EXPECT_EQ(firstView.indicators[3], TChannelState::IndicatorColours[TChannelState::Executing]);
    EXPECT_EQ(secondView.indicators[3], TChannelState::IndicatorColours[TChannelState::Standby]);
    EXPECT_TRUE(First().State().ProgramRunning());
    EXPECT_FALSE(second->State().ProgramRunning());
}

TEST_F(TwoControllers, ALineLostOnOneLeavesTheOtherSending) {
    QStringList lines{"LD1"};
    for (int i = 1; i <= 300; ++i)
        lines << QString("SD%1").arg(i);
    lines << "ED";
    bool lost = false, secondWasSending = false;
    QObject::connect(&First().Connection(), &TConnection::Lost, [&] {
        lost = true;
        secondWasSending = second->Sending().IsSending();
    });
    int answered = 0;
    QObject::connect(&second->Sending(), &TSending::LineAnswered, [&] { ++answered; });
    ASSERT_EQ(second->Sending().Send(lines), TSending::Start::Started);
    ASSERT_TRUE(WaitUntil([&] { return answered >= 20; }, 60000));
    pty.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return lost; }, 60000));
    EXPECT_TRUE(secondWasSending) << "the loss came while the other controller sent";
    EXPECT_FALSE(First().Connection().IsOpen());
    ASSERT_TRUE(Ended(*second, 1));
    EXPECT_EQ(ends[second.get()][0].end, TSendReport::End::Completed);
    EXPECT_EQ(ends[second.get()][0].sent, int(lines.size()));
    EXPECT_TRUE(second->Connection().IsOpen());
    const QStringList read = ReadBack(*second, 1);
    EXPECT_EQ(read, lines) << "every line reached the controller whose line stayed";
}
