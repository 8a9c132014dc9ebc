#include "ChangeSettings.h"
#include "FakeView.h"
#include "core/UnitCommonDatas.h"

#include <gtest/gtest.h>

TEST(CommonDatas, CreationShowsTheDefaultsInTheWindow) {
    FakeView view;
    TCommonDatas datas(view);
    EXPECT_EQ(view.roundingText, "Decreasing rounding");
    EXPECT_EQ(view.unitLabel, "1 Step =");
    EXPECT_EQ(view.groupCaption, "Scale:  1 Step = 1 steps");
    EXPECT_EQ(view.scaleText, "1");
    EXPECT_EQ(datas.ReplyTime(), 300u);
    EXPECT_EQ(datas.Reactions().er6, 1);
    EXPECT_EQ(datas.VersionText, "ver.4.0.1");
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

TEST(CommonDatas, ARoundingModeOutOfRangeIsTakenAsDecreasing) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetRounding(2);
    EXPECT_EQ(view.roundingText, "Mathematic rounding");
    datas.SetRounding(5);
    EXPECT_EQ(datas.Settings().RoundingMode, 0);
    EXPECT_EQ(view.roundingText, "Decreasing rounding");
}
