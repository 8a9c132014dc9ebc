#include "core/Decimal.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {
// Switches the system decimal separator for one test.
class LocaleScope {
public:
    explicit LocaleScope(QLocale::Language language, QLocale::Territory territory) : old_(QLocale()) {
        QLocale::setDefault(QLocale(language, territory));
    }
    ~LocaleScope() { QLocale::setDefault(old_); }

private:
    QLocale old_;
};
} // namespace

TEST(Decimal, GeneralFormWithAPointSeparator) {
    LocaleScope english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(Decimal::FormatGeneral(1), "1");
    EXPECT_EQ(Decimal::FormatGeneral(10000000), "10000000");
    EXPECT_EQ(Decimal::FormatGeneral(-1000), "-1000");
    EXPECT_EQ(Decimal::FormatGeneral(2.5), "2.5");
    EXPECT_EQ(Decimal::FormatGeneral(0.01), "0.01");
    EXPECT_EQ(Decimal::FormatGeneral(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(Decimal::FormatGeneral(10000000.0 / 3), "3333333.33333333");
    EXPECT_EQ(Decimal::FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(Decimal::FormatGeneral(1e-6), "1E-6");
    EXPECT_EQ(Decimal::FormatGeneral(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(Decimal::FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(Decimal::FormatGeneral(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(Decimal::FormatGeneral(0), "0");
}

TEST(Decimal, GeneralFormWithACommaSeparator) {
    LocaleScope russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(Decimal::Separator(), ',');
    EXPECT_EQ(Decimal::FormatGeneral(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(Decimal::FormatGeneral(2.5e-7), "2,5E-7");
    EXPECT_EQ(Decimal::FormatGeneral(100000), "100000") << "no thousands separator";
}

TEST(Decimal, ParseTakesOnlyTheSystemSeparator) {
    {
        LocaleScope english(QLocale::English, QLocale::UnitedStates);
        EXPECT_EQ(Decimal::Parse("2.5"), 2.5);
        EXPECT_EQ(Decimal::Parse("-7"), -7.0);
        EXPECT_EQ(Decimal::Parse("+1e3"), 1000.0);
        EXPECT_EQ(Decimal::Parse(" 5 "), 5.0);
        EXPECT_EQ(Decimal::Parse(".5"), 0.5);
        EXPECT_FALSE(Decimal::Parse("2,5"));
    }
    LocaleScope russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(Decimal::Parse("2,5"), 2.5);
    EXPECT_FALSE(Decimal::Parse("2.5"));
    EXPECT_EQ(Decimal::Parse("1,5E-2"), 0.015);
}

TEST(Decimal, ParseRefusesWhatIsNoNumber) {
    for (const char* text :
         {"", " ", "abc", "1..2", "1e", "e5", "--1", "1 2", "inf", "nan", "1e999", "0x10", "1,000"})
        EXPECT_FALSE(Decimal::Parse(text)) << text;
}

TEST(Decimal, IntegersAreWholeAndWithin32Bits) {
    EXPECT_EQ(Decimal::ParseInteger("200"), 200);
    EXPECT_EQ(Decimal::ParseInteger("-20"), -20);
    EXPECT_EQ(Decimal::ParseInteger("+50"), 50);
    EXPECT_EQ(Decimal::ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(Decimal::ParseInteger("-2147483648"), INT32_MIN);
    for (const char* text : {"1.5", "2147483648", "", "+", "1e3", "12a", "99999999999999999999"})
        EXPECT_FALSE(Decimal::ParseInteger(text)) << text;
}
