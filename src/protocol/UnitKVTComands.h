#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One command of the controller's vocabulary: its code and the texts that describe it in the
// operator's command list, with the accepted range of its argument.
struct TCommandEntry {
    QString Code;        // two upper-case letters; empty for entries 0, 21 and 22
    QString CaptionText; // put before the argument in the list grid
    QString UnitsText;   // put after the argument
    QString RangeText;   // shown when an argument is refused
    QString MinText;     // lowest accepted argument, as decimal text
    QString MaxText;     // highest accepted argument
    // The two bounds as numbers, read once when the table is built (none when the text is no
    // number): a read-back of 65,535 commands checks them 65,535 times.
    std::optional<double> Min, Max;
};

// The command vocabulary: the 31 entries of the controller's commands as the operator uses them.
// The table is rebuilt from the current language, scale, unit name and units mode whenever one
// of them changes, since the limits of motion commands are given in the operator's units.
class TKVTCommands {
public:
    static constexpr int Count = 31;
    enum Index : int {
        Incorrect = 0,
        ST = 1,
        LD = 2,
        ED = 3,
        BG = 4,
        EN = 5,
        MV = 6,
        SD = 7,
        SS = 8,
        AL = 9,
        RS = 10,
        SP = 11,
        DS = 12,
        LL = 13,
        JP = 14,
        DL = 15,
        DR = 16,
        SF = 17,
        WL = 18,
        WH = 19,
        CF = 20,
        ON = 21,
        OF = 22,
        PS = 23,
        MH = 24,
        ML = 25,
        HM = 26,
        LB = 27,
        SB = 28,
        RB = 29,
        RD = 30
    };

    TKVTCommands() = default;

    // Fills all entries from the messages of the language table, the scale (steps per unit),
    // the unit name, and whether the operator works in steps.
    void BuildTable(const QStringList& messages, double scale, const QString& unitsName, bool stepsMode);

    // The table index of the code formed by the first two characters of `text` (case-sensitive),
    // or 0 when they form no known code.
    static int CommandIndex(const QString& text);
    // The code of entry `index` ("" for entry 0).
    static const char* Code(int index);

    const TCommandEntry& Entry(int index) const { return entries_.at(size_t(index)); }

    // What the controller takes after a code, in steps: no argument, an optional one or a
    // required one, within low..high. A line beyond it is answered as wrong data.
    struct TArgumentRule {
        enum Kind { None, Optional, Required } kind = None;
        qint64 low = 0, high = 0;
    };
    static TArgumentRule ArgumentRule(int index);

private:
    std::array<TCommandEntry, Count> entries_{};
};
