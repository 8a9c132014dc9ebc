// Reading a stored program back: the reply text as rows of commands, and the comparison with the
// program the command list writes.
#include "operations/ReadBack.h"
#include "ChangeSettings.h"
#include "FakeLine.h"
#include "FakeView.h"
#include "Wait.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/BuiltInTexts.h"
#include "operations/ChanReadThread.h"
#include "protocol/UnitKVTComands.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <atomic>

namespace {

class ReadBackFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        table.BuildTable(BuiltIn::Messages(), 1, "Step", true);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    TReadBack Parse(const QStringList& lines) { return ParseReadBack(lines, table, datas.Settings(), list); }

    FakeView view;
    TCommonDatas datas{view};
    TKVTCommands table;
    TCommandList list;
};

} // namespace

TEST_F(ReadBackFixture, TheExampleAcrossLineBreaksWithoutEchoAndEnd) {
    const TReadBack read = Parse({"RD1*LD1*BG*EN*SD2", "00*DL*MV200*ED*"});
    EXPECT_EQ(list.Lines(), (QStringList{"LD1", "BG", "EN", "SD200", "DL", "MV200"}));
    EXPECT_EQ(list.Description(3),
              table.Entry(TKVTCommands::SD).CaptionText + "200" + table.Entry(TKVTCommands::SD).UnitsText);
    EXPECT_FALSE(read.wrongCommand);
    EXPECT_EQ(read.commands, (QStringList{"LD1", "BG", "EN", "SD200", "DL", "MV200"}));
    EXPECT_TRUE(read.beyond.isEmpty());
}

TEST_F(ReadBackFixture, StarsAccelerationsAndTheScale) {
    const TReadBack stars = Parse({"RD1**BG***AL32770*AL32768*AL5*ED*"});
    EXPECT_EQ(list.Lines(), (QStringList{"BG", "AL-2", "AL+5"})) << "no empty token; 32770 is -2";
    ASSERT_EQ(stars.beyond.size(), 1) << "32768 itself is not converted, and is beyond AL's range";
    EXPECT_EQ(stars.beyond[0].position, 3);
    EXPECT_EQ(stars.beyond[0].command, "AL32768");
    EXPECT_TRUE(Parse({"RD1*ED*"}).commands.isEmpty());
    EXPECT_EQ(list.Count(), 0) << "an empty result";

    // The controller holds steps: in millimetres at 200 steps each the lines keep them, and the
    // descriptions say them in millimetres, with the decimals they need.
    ChangeSettings(datas, [](TSettings& s) {
        s.Scale = 200;
        s.UnitsMode = TSettings::OtherUnits;
    });
    table.BuildTable(BuiltIn::Messages(), 200, "mm", false);
    const TReadBack read = Parse({"RD1*MV2000*SD300*SS1*AL32788*SP500*ED*"});
    EXPECT_EQ(list.Lines(), (QStringList{"MV2000", "SD300", "SS1", "AL-20", "SP500"}));
    const auto described = [&](int row, TKVTCommands::Index index, const QString& value) {
        const TCommandEntry& e = table.Entry(index);
        EXPECT_EQ(list.Description(row), e.CaptionText + value + e.UnitsText) << row;
    };
    described(0, TKVTCommands::MV, "10");
    described(1, TKVTCommands::SD, "1.5");
    described(2, TKVTCommands::SS, "0.005");
    described(3, TKVTCommands::AL, "-0.1");
    described(4, TKVTCommands::SP, "500");
    EXPECT_TRUE(read.beyond.isEmpty()) << "SD300 is no 300 mm/s";
    EXPECT_EQ(read.commands, (QStringList{"MV2000", "SD300", "SS1", "AL-20", "SP500"}));
}

TEST_F(ReadBackFixture, UnknownShortAndMalformedTokensAreWrongCommands) {
    const TReadBack read = Parse({"RD1*XX5*B*ALx*BG*ED*"});
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Description(0), BuiltIn::Messages()[42]);
    EXPECT_EQ(list.Line(0), "") << "an incorrect command is an empty line";
    EXPECT_EQ(list.Description(1), BuiltIn::Messages()[42]) << "fewer than two characters before its '*'";
    EXPECT_EQ(list.Description(2), BuiltIn::Messages()[42]) << "AL with an argument that is not whole";
    EXPECT_EQ(list.Line(3), "BG");
    EXPECT_TRUE(read.wrongCommand);
}

TEST_F(ReadBackFixture, AValueOutOfRangeIsLeftOutAndOneNotWholeEndsTheRead) {
    const TReadBack beyond = Parse({"RD1*LD1*SD99999*BG5*BG*ED*"});
    ASSERT_EQ(beyond.beyond.size(), 2);
    EXPECT_EQ(beyond.beyond[0].position, 2);
    EXPECT_EQ(beyond.beyond[0].command, "SD99999");
    EXPECT_EQ(beyond.beyond[1].command, "BG5") << "no argument is taken";
    EXPECT_EQ(list.Lines(), (QStringList{"LD1", "BG"}));

    const TReadBack read = Parse({"RD1*BG*SP1.5*EN*ED*"});
    EXPECT_EQ(list.Lines(), QStringList{"BG"}) << "the rows before it stay";
    EXPECT_EQ(read.stoppedAt, "SP1.5*");
    EXPECT_EQ(read.stopReason, "'1.5' is not a valid integer value");
}

TEST(CompareWithList, SameProgramsDifferencesAndWhatIsMissing) {
    const QStringList list{"LD1", "BG", "EN", "AL+5", "MV200", "ED"};
    TComparison c = CompareWithList({"LD1", "BG", "EN", "AL5", "MV200"}, list);
    EXPECT_TRUE(c.same) << "the plus sign does not count";
    EXPECT_EQ(c.count, 4);

    c = CompareWithList({"LD1", "BG", "EN", "AL5", "MV201"}, list);
    EXPECT_FALSE(c.same);
    EXPECT_EQ(c.firstDifference, 3);
    EXPECT_EQ(c.read, "MV201");
    EXPECT_EQ(c.listed, "MV200");

    c = CompareWithList({"LD1", "BG"}, list);
    EXPECT_EQ(c.firstDifference, 1);
    EXPECT_EQ(c.read, "") << "the controller holds less";
    EXPECT_EQ(c.listed, "EN");
}

TEST_F(ReadBackFixture, AProgramOfThousandsOfCommandsEntersTheListAsOneChange) {
    QString text = "RD1*LD1*";
    for (int i = 0; i < 5000; ++i)
        text += "MV" + QString::number(1 + i) + "*";
    text += "ED*";
    int resets = 0, inserts = 0;
    QObject::connect(&list, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&list, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    const TReadBack read = Parse({text});
    EXPECT_EQ(list.Count(), 5001);
    EXPECT_TRUE(read.endSeen);
    EXPECT_EQ(resets, 1) << "one change, not one per command";
    EXPECT_EQ(inserts, 0);
}

TEST(ChanReadThread, AReadEndsWithinItsBoundWhileALineKeepsDribbling) {
    FakeView view;
    TCommonDatas datas(view);
    TSettings settings = datas.Settings();
    settings.ReplyTime = 20;
    datas.SetSettings(settings);
    TNamedEvent event("test-readback", false);
    RecordingWriter writer;
    std::atomic<quint64> bytes{0};
    // Every wait sees new bytes: only the bound ends the read.
    TChanReadThread thread(
        "RD1*", datas, event, writer, [&] { return ++bytes; }, 200);
    std::atomic<bool> done{false};
    TChanReadThread::Outcome outcome = TChanReadThread::Outcome::Stopped;
    QObject::connect(&thread, &TChanReadThread::Done, [&](TChanReadThread::Outcome o) {
        outcome = o;
        done = true;
    });
    thread.Start();
    ASSERT_TRUE(WaitUntil([&] { return done.load(); }, 60000));
    EXPECT_EQ(outcome, TChanReadThread::Outcome::TimedOut);
    EXPECT_EQ(writer.written, QStringList{"RD1*"});
    // The bound: what the largest program takes at the rate, never less than at 115200 baud.
    EXPECT_GT(TChanReadThread::LongestReadMs(9600, 300), TChanReadThread::LongestReadMs(115200, 300));
    EXPECT_GT(TChanReadThread::LongestReadMs(115200, 300), 60000) << "a minute at least, for 65,535 lines";
}
