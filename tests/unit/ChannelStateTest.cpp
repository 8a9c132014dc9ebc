#include "core/ChannelState.h"
#include "ChangeSettings.h"
#include "FakeView.h"
#include "core/UnitCommonDatas.h"

#include <gtest/gtest.h>

namespace {
const TRgb green = 0x008000, red = 0xFF0000, yellow = 0xFFFF00, black = 0x000000;
}

TEST(ChannelState, CreationShowsEveryChannelInStandbyAndChannelOneSelected) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(view.indicators[n], green) << n;
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  ");
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{true, false, false}));
    EXPECT_FALSE(state.ProgramRunning());
    EXPECT_FALSE(state.CommMode());
}

TEST(ChannelState, ChannelStatesPaintIndicatorsAndFollowCommunicationMode) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordState(1, TChannelState::Communication);
    EXPECT_TRUE(state.CommMode());
    EXPECT_EQ(view.indicators[1], yellow);
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{false, false, false, false}));

    state.SetCoordState(2, TChannelState::Paused);
    EXPECT_FALSE(state.CommMode()) << "only the latest change counts";
    EXPECT_EQ(view.indicators[2], black);
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{true, true, true, true}));

    state.SetCoordState(3, TChannelState::Executing);
    EXPECT_EQ(view.indicators[3], red);
    ASSERT_FALSE(view.log.isEmpty());
    EXPECT_EQ(view.log.last(), "Coord 3: program executing");
    EXPECT_FALSE(view.redLines.last());
}

TEST(ChannelState, UnknownStateIsStoredButKeepsTheIndicatorColour) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordState(1, TChannelState::Paused);
    state.SetCoordState(1, 4);
    EXPECT_EQ(state.State(1), 4);
    EXPECT_FALSE(state.CommMode());
    EXPECT_EQ(view.indicators[1], black);
}

TEST(ChannelState, SimpleButtonsAreEnabledOnlyInSimpleMode) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordState(1, TChannelState::Communication);
    ChangeSettings(datas, [&](TSettings& s) { s.ControlMode = TCommonDatas::ExtendedMode; });
    state.SetCoordStates(2, 0, 0);
    EXPECT_FALSE(state.CommMode());
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{false, false, false, false}));
    ChangeSettings(datas, [&](TSettings& s) { s.ControlMode = TCommonDatas::SimpleMode; });
    state.SetCoordStates(2, 0, 0);
    EXPECT_FALSE(state.CommMode()) << "channels 2 and 3 were set after channel 1";
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{true, true, true, true}));
}

TEST(ChannelState, InvalidChannelsChangeNothing) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordState(0, 1);
    state.SetCoordState(4, 1);
    state.SetCoordRunning(7, true);
    EXPECT_TRUE(view.log.isEmpty());
    EXPECT_FALSE(state.ProgramRunning());
}

TEST(ChannelState, SelectedChannelsMakeTheCaption) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordsActive(true, true, true);
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  2  3  ");
    state.SetCoordsActive(false, false, false);
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  ");
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{false, false, false}));
}

TEST(ChannelState, ProgramRunningIsTheOrOfTheChannels) {
    FakeView view;
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    state.SetCoordRunning(2, true);
    state.SetCoordRunning(3, true);
    EXPECT_TRUE(state.ProgramRunning());
    state.SetCoordRunning(2, false);
    EXPECT_TRUE(state.ProgramRunning());
    state.SetCoordRunning(3, false);
    EXPECT_FALSE(state.ProgramRunning());
}
