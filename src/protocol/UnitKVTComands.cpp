#include "UnitKVTComands.h"

#include "core/Decimal.h"

namespace {
const char* const kCodes[TKVTCommands::Count] = {
    "",   "ST", "LD", "ED", "BG", "EN", "MV", "SD", "SS", "AL", "RS", "SP", "DS", "LL", "JP", "DL",
    "DR", "SF", "WL", "WH", "CF", "ON", "OF", "PS", "MH", "ML", "HM", "LB", "SB", "RB", "RD"};

// The index of every pair of upper-case letters (0 for a pair that is no code): a lookup per
// line instead of thirty comparisons, for the walks over lists of 65,535 lines.
struct TCodeTable {
    std::array<quint8, 26 * 26> index{};
    TCodeTable() {
        for (int i = 1; i < TKVTCommands::Count; ++i)
            index[size_t((kCodes[i][0] - 'A') * 26 + (kCodes[i][1] - 'A'))] = quint8(i);
    }
};
const TCodeTable kTable;
} // namespace

int TKVTCommands::CommandIndex(const QString& text) {
    if (text.size() < 2)
        return 0;
    const char16_t a = text[0].unicode(), b = text[1].unicode();
    if (a < u'A' || a > u'Z' || b < u'A' || b > u'Z')
        return 0;
    return kTable.index[size_t((a - u'A') * 26 + (b - u'A'))];
}

const char* TKVTCommands::Code(int index) {
    return index > 0 && index < Count ? kCodes[index] : "";
}

void TKVTCommands::BuildTable(const QStringList& messages, double scale, const QString& unitsName,
                              bool stepsMode) {
    const auto m = [&](int i) { return messages.value(i); };
    const auto scaled = [&](double constant) { return Decimal::FormatGeneral(constant / scale); };
    const QString to = m(53);

    // One entry; an empty lead means no range message.
    const auto set = [&](int index, const QString& caption, const QString& units = {},
                         const QString& min = {}, const QString& max = {}, const QString& lead = {}) {
        TCommandEntry& e = entries_[size_t(index)];
        e.Code = (index == ON || index == OF) ? QString() : QString::fromLatin1(kCodes[index]);
        e.CaptionText = caption;
        e.UnitsText = units;
        e.MinText = min;
        e.MaxText = max;
        e.Min = Decimal::Parse(min);
        e.Max = Decimal::Parse(max);
        e.RangeText = lead.isEmpty() ? QString() : lead + min + to + max;
    };

    const QString channelUnits = m(44);
    const QString speedUnits = stepsMode ? m(56) : " " + unitsName + m(57);
    set(Incorrect, m(42));
    set(ST, m(43), channelUnits, "1", "3");
    set(LD, m(46), channelUnits, "1", "3");
    set(ED, m(47));
    set(BG, m(48));
    set(EN, m(49));
    set(MV, m(50), stepsMode ? m(51) : " " + unitsName, scaled(1), scaled(10000000),
        stepsMode ? m(52) : m(54) + m(55));
    set(SD, m(85), speedUnits, scaled(1), scaled(10000), m(58));
    set(SS, m(59), speedUnits, scaled(1), scaled(2000), m(60));
    set(AL, m(61), QString(), scaled(-1000), scaled(1000), m(62));
    set(RS, m(63));
    set(SP, m(64), m(65), "1", "99999999", m(66));
    set(DS, m(67));
    set(LL, m(68));
    set(JP, m(69), m(70), "0", "255", m(71));
    set(DL, m(72));
    set(DR, m(73));
    set(SF, m(74), " ", "1", "4", m(75));
    set(WL, m(76), " ", "1", "4", m(77));
    set(WH, m(78), " ", "1", "4", m(77));
    set(CF, m(79), " ", "1", "4", m(75));
    entries_[ON] = TCommandEntry{};
    entries_[OF] = TCommandEntry{};
    set(PS, m(45), channelUnits, "1", "3");
    set(MH, m(80), QString(), "1", "4", m(77));
    set(ML, m(81), QString(), "1", "4", m(77));
    set(HM, m(82));
    set(LB, m(83));
    set(SB, m(84), m(70), "1", "250", m(71));
    set(RB, "Buffer: ");
    set(RD, "EEPROM: ", QString(), "1", "3");
}

TKVTCommands::TArgumentRule TKVTCommands::ArgumentRule(int index) {
    using R = TArgumentRule;
    switch (index) {
    case ST:
        return {R::Optional, 1, 3};
    case MV:
        return {R::Optional, 1, 10'000'000};
    case LD:
    case PS:
    case RD:
        return {R::Required, 1, 3};
    case SD:
        return {R::Required, 1, 10'000};
    case SS:
        return {R::Required, 0, 2'000};
    case AL:
        return {R::Required, -500, 500};
    case SP:
        return {R::Required, 1, 99'999'999};
    case JP:
        return {R::Required, 0, 255};
    case SB:
        return {R::Required, 1, 250};
    case SF:
    case CF:
    case WL:
    case WH:
    case ML:
    case MH:
        return {R::Required, 1, 4};
    default:
        return {};
    }
}
