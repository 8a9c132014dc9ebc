#include "lang/BuiltInTexts.h"
#include "protocol/UnitKVTComands.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {
class CommandTable : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    void Build(double scale, bool steps, const QString& unit = "Step") {
        table.BuildTable(BuiltIn::Messages(), scale, unit, steps);
    }
    const TCommandEntry& E(int i) const { return table.Entry(i); }
    TKVTCommands table;
};
} // namespace

TEST_F(CommandTable, StepsModeAtScaleOneGivesTheControllerRanges) {
    Build(1, true);
    EXPECT_EQ(E(TKVTCommands::MV).MinText, "1");
    EXPECT_EQ(E(TKVTCommands::MV).MaxText, "10000000");
    EXPECT_EQ(E(TKVTCommands::SD).MaxText, "10000");
    EXPECT_EQ(E(TKVTCommands::SS).MaxText, "2000");
    EXPECT_EQ(E(TKVTCommands::AL).MinText, "-1000");
    EXPECT_EQ(E(TKVTCommands::AL).MaxText, "1000");
    EXPECT_EQ(E(TKVTCommands::MV).RangeText, "*Input correct steps number: from  1* to  10000000");
    EXPECT_EQ(E(TKVTCommands::MV).UnitsText, "* steps ");
    EXPECT_EQ(E(TKVTCommands::SD).UnitsText, "* steps/sec  ");
    EXPECT_EQ(E(TKVTCommands::SD).CaptionText, "*speed ");
    EXPECT_EQ(E(TKVTCommands::EN).CaptionText, "*Set \"Enable\"");
    EXPECT_EQ(E(TKVTCommands::SP).RangeText, "*Input correct pause duration from 1* to  99999999");
    EXPECT_EQ(E(TKVTCommands::SB).RangeText, "*Input correct cycles number from  1* to  250");
    EXPECT_EQ(E(TKVTCommands::AL).UnitsText, "");
    EXPECT_EQ(E(TKVTCommands::MH).UnitsText, "");
    EXPECT_EQ(E(TKVTCommands::SF).UnitsText, " ");
}

TEST_F(CommandTable, OtherUnitsDivideTheMotionLimitsByTheScale) {
    Build(100, false, "mm");
    EXPECT_EQ(E(TKVTCommands::MV).MinText, "0.01");
    EXPECT_EQ(E(TKVTCommands::MV).MaxText, "100000");
    EXPECT_EQ(E(TKVTCommands::MV).UnitsText, " mm");
    EXPECT_EQ(E(TKVTCommands::SD).UnitsText, " mm* /sec ");
    EXPECT_EQ(E(TKVTCommands::MV).RangeText, "*Input correct * number: from 0.01* to  100000");
    EXPECT_EQ(E(TKVTCommands::SP).MaxText, "99999999") << "fixed ranges do not scale";
    Build(3, false, "mm");
    EXPECT_EQ(E(TKVTCommands::MV).MinText, "0.333333333333333");
    Build(1000000, false, "mm");
    EXPECT_EQ(E(TKVTCommands::MV).MinText, "1E-6");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Build(100, false, "mm");
    EXPECT_EQ(E(TKVTCommands::MV).MinText, "0,01");
}

TEST_F(CommandTable, ChannelCommandsHaveARangeButNoRangeMessage) {
    Build(1, true);
    for (int i : {TKVTCommands::ST, TKVTCommands::LD, TKVTCommands::PS, TKVTCommands::RD}) {
        EXPECT_EQ(E(i).MinText, "1") << i;
        EXPECT_EQ(E(i).MaxText, "3") << i;
        EXPECT_TRUE(E(i).RangeText.isEmpty()) << i;
    }
    for (int i : {0, 21, 22}) {
        EXPECT_TRUE(E(i).Code.isEmpty()) << i;
        EXPECT_TRUE(E(i).MinText.isEmpty()) << i;
    }
    EXPECT_EQ(E(0).CaptionText, "*!!!Command incorrect!!!");
    EXPECT_TRUE(E(21).CaptionText.isEmpty());
}

TEST_F(CommandTable, ALanguageChangeReachesEveryTextButTheFixedOnes) {
    QStringList other(86, "x");
    for (int i = 0; i < 86; ++i)
        other[i] = QString("L%1 ").arg(i);
    table.BuildTable(other, 1, "Step", true);
    EXPECT_EQ(E(TKVTCommands::MV).CaptionText, "L50 ");
    EXPECT_EQ(E(TKVTCommands::MV).RangeText, "L52 1L53 10000000");
    EXPECT_EQ(E(TKVTCommands::ST).UnitsText, "L44 ");
    EXPECT_EQ(E(TKVTCommands::RB).CaptionText, "Buffer: ");
    EXPECT_EQ(E(TKVTCommands::RD).CaptionText, "EEPROM: ");
    Build(1, true);
    EXPECT_EQ(E(TKVTCommands::MV).CaptionText, "*Move  ") << "nothing of the previous build survives";
}

TEST(CommandIndex, LooksAtTheFirstTwoCharactersOnly) {
    EXPECT_EQ(TKVTCommands::CommandIndex("MV250"), 6);
    EXPECT_EQ(TKVTCommands::CommandIndex("MV"), 6);
    EXPECT_EQ(TKVTCommands::CommandIndex("PS1"), 23);
    EXPECT_EQ(TKVTCommands::CommandIndex("ON5"), 21);
    EXPECT_EQ(TKVTCommands::CommandIndex("OF"), 22);
    EXPECT_EQ(TKVTCommands::CommandIndex("RD1"), 30);
    EXPECT_EQ(TKVTCommands::CommandIndex("mv250"), 0);
    EXPECT_EQ(TKVTCommands::CommandIndex("XY"), 0);
    EXPECT_EQ(TKVTCommands::CommandIndex("M"), 0);
    EXPECT_EQ(TKVTCommands::CommandIndex(""), 0);
    const char* codes[] = {"ST", "LD", "ED", "BG", "EN", "MV", "SD", "SS", "AL", "RS",
                           "SP", "DS", "LL", "JP", "DL", "DR", "SF", "WL", "WH", "CF",
                           "ON", "OF", "PS", "MH", "ML", "HM", "LB", "SB", "RB", "RD"};
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(TKVTCommands::CommandIndex(codes[i]), i + 1) << codes[i];
}
