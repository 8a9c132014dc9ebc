#include "ChangeSettings.h"
#include "FakeView.h"
#include "core/UnitCommonDatas.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
const TRgb green = 0x008000, red = 0xFF0000, yellow = 0xFFFF00, black = 0x000000;
}

TEST(CommonDatas, CreationShowsTheDefaultsInTheWindow) {
    FakeView view;
    TCommonDatas datas(view);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(view.indicators[n], green) << n;
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  ");
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(view.roundingText, "Decreasing rounding");
    EXPECT_EQ(view.unitLabel, "1 Step =");
    EXPECT_EQ(view.groupCaption, "Scale:  1 Step = 1 steps");
    EXPECT_EQ(view.scaleText, "1");
    EXPECT_EQ(datas.ReplyTime(), 300u);
    EXPECT_EQ(datas.Er6Reaction(), 1);
    EXPECT_EQ(datas.VersionText, "ver.4.0.1");
    EXPECT_FALSE(datas.ProgramRunning);
    EXPECT_FALSE(datas.CommMode);
}

TEST(CommonDatas, ZeroScaleBecomesOne) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetScale(2.5);
    EXPECT_EQ(view.scaleText, "2.5");
    EXPECT_EQ(view.groupCaption, "Scale:  1 Step = 2.5 steps");
    datas.SetScale(0);
    EXPECT_EQ(datas.Settings().Scale, 1.0);
    EXPECT_EQ(view.scaleText, "1");
}

TEST(CommonDatas, RoundingModeOutOfRangeIsStoredButLeavesTheLabel) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetRounding(2);
    EXPECT_EQ(view.roundingText, "Mathematic rounding");
    datas.SetRounding(5);
    EXPECT_EQ(datas.Settings().RoundingMode, 5);
    EXPECT_EQ(view.roundingText, "Mathematic rounding");
}

TEST(CommonDatas, ChannelStatesPaintIndicatorsAndFollowCommunicationMode) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordState(1, TCommonDatas::Communication);
    EXPECT_TRUE(datas.CommMode);
    EXPECT_EQ(view.indicators[1], yellow);
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{false, false, false, false}));

    datas.SetCoordState(2, TCommonDatas::Paused);
    EXPECT_FALSE(datas.CommMode) << "only the latest change counts";
    EXPECT_EQ(view.indicators[2], black);
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{true, true, true, true}));

    datas.SetCoordState(3, TCommonDatas::Executing);
    EXPECT_EQ(view.indicators[3], red);
    ASSERT_FALSE(view.log.isEmpty());
    EXPECT_EQ(view.log.last(), "Coord 3: program executing");
    EXPECT_FALSE(view.redLines.last());
}

TEST(CommonDatas, UnknownStateIsStoredButKeepsTheIndicatorColour) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordState(1, TCommonDatas::Paused);
    datas.SetCoordState(1, 4);
    EXPECT_EQ(datas.CoordState[1], 4);
    EXPECT_FALSE(datas.CommMode);
    EXPECT_EQ(view.indicators[1], black);
}

TEST(CommonDatas, SimpleButtonsAreEnabledOnlyInSimpleMode) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordState(1, TCommonDatas::Communication);
    ChangeSettings(datas, [&](TSettings& s) { s.ControlMode = TCommonDatas::ExtendedMode; });
    datas.SetCoordStates(2, 0, 0);
    EXPECT_FALSE(datas.CommMode);
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{false, false, false, false}));
    ChangeSettings(datas, [&](TSettings& s) { s.ControlMode = TCommonDatas::SimpleMode; });
    datas.SetCoordStates(2, 0, 0);
    EXPECT_FALSE(datas.CommMode) << "channels 2 and 3 were set after channel 1";
    EXPECT_EQ(view.simpleButtons, (std::array<bool, 4>{true, true, true, true}));
}

TEST(CommonDatas, InvalidChannelsChangeNothing) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordState(0, 1);
    datas.SetCoordState(4, 1);
    datas.SetCoordRunning(7, true);
    EXPECT_TRUE(view.log.isEmpty());
    EXPECT_FALSE(datas.ProgramRunning);
}

TEST(CommonDatas, SelectedChannelsMakeTheCaption) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordsActive(true, true, true);
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  2  3  ");
    datas.SetCoordsActive(false, false, false);
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  ");
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{false, false, false}));
}

TEST(CommonDatas, ProgramRunningIsTheOrOfTheChannels) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetCoordRunning(2, true);
    datas.SetCoordRunning(3, true);
    EXPECT_TRUE(datas.ProgramRunning);
    datas.SetCoordRunning(2, false);
    EXPECT_TRUE(datas.ProgramRunning);
    datas.SetCoordRunning(3, false);
    EXPECT_FALSE(datas.ProgramRunning);
}

TEST(CommonDatas, SharedTextsSurviveConcurrentReadersAndWriters) {
    FakeView view;
    TCommonDatas datas(view);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const QString e = datas.LastError();
            if (!e.isEmpty() && e != "E10*" && e != "E26*-long-text-to-make-copies-real")
                ++torn;
            (void)datas.ReadBackText().size();
        }
    });
    for (int i = 0; i < 20000; ++i) {
        datas.SetLastError(i % 2 ? "E10*" : "E26*-long-text-to-make-copies-real");
        datas.AppendReadBackText("MV200*");
        if (i % 100 == 0)
            datas.SetReadBackText(QString());
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}
