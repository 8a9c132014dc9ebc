#include "FakeView.h"
#include "core/ChannelState.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/BuiltInTexts.h"
#include "operations/SimpleModeLists.h"
#include "protocol/UnitKVTComands.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

class SimpleModeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        table.BuildTable(BuiltIn::Messages(), 1, "Step", true);
        motion.steps = "200";
        motion.speed = "200";
        motion.startSpeed = "200";
        motion.acceleration = "0";
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    TSimpleModeLists Lists() { return TSimpleModeLists(table, datas.Settings(), state, commands); }
    QStringList List() const { return commands.Lines(); }

    FakeView view;
    TCommonDatas datas{view};
    TChannelState state{datas, view, view};
    TKVTCommands table;
    TCommandList commands;
    TMotion motion;
};

} // namespace

TEST_F(SimpleModeFixture, TheDesignValuesWriteOneMotionIntoChannelOne) {
    Lists().BuildWriteList(motion);
    EXPECT_EQ(List(), (QStringList{"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED"}));
}

TEST_F(SimpleModeFixture, PermanentMotionAccelerationAndDirection) {
    motion.permanent = true;
    motion.accelerate = true;
    motion.acceleration = "10";
    motion.startSpeed = "100";
    motion.backward = true;
    Lists().BuildMotionBlock(motion);
    EXPECT_EQ(List(), (QStringList{"BG", "EN", "AL+10", "SS100", "SD200", "DR", "MV"}));
}

TEST_F(SimpleModeFixture, ARefusedValueIsShownAndLeftOutTheRestFollows) {
    motion.speed = "20000";
    TSimpleModeLists lists = Lists();
    lists.BuildMotionBlock(motion);
    EXPECT_EQ(List(), (QStringList{"BG", "EN", "AL0", "DL", "MV200"}));
    EXPECT_EQ(lists.Refusals(), QStringList{table.Entry(TKVTCommands::SD).RangeText});
}

TEST_F(SimpleModeFixture, StartListsAndTheSingleStartForAllChannels) {
    state.SetCoordsActive(true, false, true);
    Lists().BuildStartList();
    EXPECT_EQ(List(), (QStringList{"ST1", "ST3"}));
    commands.Clear();
    state.SetCoordsActive(true, true, true);
    Lists().BuildStartList();
    EXPECT_EQ(List(), QStringList{"ST"});
}

TEST_F(SimpleModeFixture, OnlyChannelsThatFitTheOperationAreUsed) {
    state.SetCoordsActive(true, true, true);
    state.SetCoordStates(TChannelState::Standby, TChannelState::Paused, TChannelState::Communication);
    Lists().BuildStopList();
    EXPECT_EQ(List(), QStringList{"ST2"}) << "standby and communication channels are not stopped";
    EXPECT_TRUE(state.Running(2));
    commands.Clear();
    Lists().BuildWriteList(motion);
    EXPECT_EQ(List().first(), "LD1");
    EXPECT_EQ(List().count("ED"), 1) << "only the channel in standby is written";
    commands.Clear();
    Lists().BuildStartList();
    EXPECT_EQ(List(), QStringList{"ST1"});
    state.SetCoordsActive(false, false, false);
    commands.Clear();
    Lists().BuildWriteList(motion);
    Lists().BuildStartList();
    Lists().BuildStopList();
    EXPECT_TRUE(List().isEmpty()) << "no channel selected: nothing at all";
}
