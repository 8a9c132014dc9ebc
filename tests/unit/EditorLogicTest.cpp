#include "ChangeSettings.h"
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/FileTie.h"
#include "editor/OpenRecording.h"
#include "editor/ProgramFiles.h"
#include "editor/Rescale.h"
#include "editor/RoundSteps.h"
#include "lang/BuiltInTexts.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

using K = TKVTCommands;

TEST(RoundSteps, EveryModeOnTheValueTruncatedTowardZero) {
    FakeView view;
    TCommonDatas datas(view);
    const struct {
        double x;
        qint32 down, up, math;
    } cases[] = {{2.3, 2, 3, 2},     {2.5, 2, 3, 3},    {7.0, 7, 7, 7},
                 {-2.7, -2, -2, -2}, {2.4999, 2, 3, 2}, {0.0, 0, 0, 0}};
    for (const auto& c : cases) {
        for (quint8 mode : {0, 1, 2}) {
            datas.SetRounding(mode);
            const qint32 expected = mode == 0 ? c.down : mode == 1 ? c.up : c.math;
            EXPECT_EQ(RoundSteps(c.x, datas.Settings()), expected) << c.x << " mode " << int(mode);
        }
    }
}

TEST(RoundSteps, AnInvalidModeIsResetToDecreasing) {
    FakeView view;
    TCommonDatas datas(view);
    datas.SetRounding(2);
    datas.SetRounding(7);
    EXPECT_EQ(RoundSteps(2.9, datas.Settings()), 2);
    EXPECT_EQ(datas.Settings().RoundingMode, 0);
    EXPECT_EQ(view.roundingText, "Decreasing rounding");
}

TEST(RoundSteps, BinaryFractionErrorsAndThe32BitRange) {
    FakeView view;
    TCommonDatas datas(view);
    EXPECT_EQ(RoundSteps(0.29 * 100, datas.Settings()), 29) << "28.999999999999996 is 29 steps";
    datas.SetRounding(1);
    EXPECT_EQ(RoundSteps(0.07 * 100, datas.Settings()), 7) << "7.000000000000001 rounded up is 7, not 8";
    bool saturated = false;
    EXPECT_EQ(RoundSteps(1e12, datas.Settings(), &saturated), INT32_MAX);
    EXPECT_TRUE(saturated);
    EXPECT_EQ(RoundSteps(-1e12, datas.Settings(), &saturated), INT32_MIN);
    EXPECT_TRUE(saturated);
    EXPECT_EQ(RoundSteps(2147483646.5, datas.Settings(), &saturated), INT32_MAX);
    EXPECT_FALSE(saturated);
}

namespace {

class AddCommandFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Units(1, true);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    void Units(double scale, bool steps, const QString& name = "mm") {
        ChangeSettings(datas, [&](TSettings& s) { s.UnitsName = name; });
        datas.SetScale(scale);
        table.BuildTable(BuiltIn::Messages(), datas.Settings().Scale, name, steps);
    }
    // Adds and returns the new list line, or "refused: <message>".
    QString Add(int index, const QString& argument) {
        const int count = list.Count();
        const TMadeCommand made = AddCommand(table, datas.Settings(), index, argument, list);
        if (!made) {
            EXPECT_EQ(list.Count(), count) << "nothing added when refused";
            return "refused: " + made.refusal;
        }
        EXPECT_TRUE(made.refusal.isEmpty()) << "no refusal when added";
        return list.Lines().last();
    }
    QString LastDescription() const { return list.Descriptions().last(); }

    ScriptedDialogs dialogs;
    FakeView view;
    TCommonDatas datas{view};
    TKVTCommands table;
    TCommandList list;
};

} // namespace

TEST_F(AddCommandFixture, MotionCommandsAtTheirBoundsInSteps) {
    EXPECT_EQ(Add(K::MV, "1"), "MV1");
    EXPECT_EQ(Add(K::MV, "10000000"), "MV10000000");
    EXPECT_EQ(Add(K::MV, "0.5"), "refused: *Input correct steps number: from  1* to  10000000");
    EXPECT_EQ(Add(K::MV, "10000001"), "refused: *Input correct steps number: from  1* to  10000000");
    EXPECT_EQ(Add(K::MV, "1.5"), "MV1");
    datas.SetRounding(1);
    EXPECT_EQ(Add(K::MV, "1.5"), "MV2");
    datas.SetRounding(0);
    EXPECT_EQ(Add(K::SD, "10000"), "SD10000");
    EXPECT_EQ(Add(K::SD, "10001"), "refused: *Input correct speed: from 1* to  10000");
    EXPECT_EQ(Add(K::SS, "2000"), "SS2000");
    EXPECT_EQ(Add(K::SS, "0"), "refused: *Input correct start speed: from  1* to  2000");
    EXPECT_EQ(Add(K::AL, "700"), "AL+500") << "accepted up to 1000, limited to what the controller takes";
    EXPECT_EQ(Add(K::AL, "-700"), "AL-500");
    EXPECT_EQ(Add(K::AL, "0"), "AL0");
    EXPECT_EQ(Add(K::AL, "50"), "AL+50");
    EXPECT_EQ(Add(K::AL, "-1000"), "AL-500");
    EXPECT_EQ(Add(K::AL, "1001"), "refused: *Input correct acceleration: from -1000* to  1000");
    EXPECT_EQ(Add(K::MV, "1e3"), "MV1000") << "an exponent is accepted";
    EXPECT_EQ(Add(K::MV, "abc"), "refused: *Input correct steps number: from  1* to  10000000");
}

TEST_F(AddCommandFixture, MotionCommandsInOtherUnitsAreScaledToSteps) {
    Units(100, false);
    EXPECT_EQ(Add(K::MV, "2.5"), "MV250");
    EXPECT_EQ(LastDescription(), "*Move  2.5 mm") << "the description keeps what was typed";
    EXPECT_EQ(Add(K::MV, "0.01"), "MV1");
    EXPECT_EQ(Add(K::MV, "100000"), "MV10000000");
    EXPECT_EQ(Add(K::MV, "100000.01"), "refused: *Input correct * number: from 0.01* to  100000");
    EXPECT_EQ(Add(K::MV, "0.009"), "refused: *Input correct * number: from 0.01* to  100000");
    EXPECT_EQ(Add(K::SD, "100"), "SD10000");
    EXPECT_EQ(Add(K::SS, "0.015"), "SS1");
    EXPECT_EQ(Add(K::AL, "-10"), "AL-500") << "-1000 steps, limited to -500";
    EXPECT_EQ(Add(K::AL, "0.2"), "AL+20");
    EXPECT_EQ(LastDescription(), "*Acceleration  0.2");
    Units(3, false);
    datas.SetRounding(2);
    EXPECT_EQ(Add(K::MV, "0.333333333333333"), "MV1") << "the minimum itself is accepted";
    EXPECT_EQ(Add(K::SD, "1.5"), "SD5") << "4.5 steps, mathematic rounding";
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Units(100, false);
    EXPECT_EQ(Add(K::MV, "2,5"), "MV250");
    EXPECT_EQ(Add(K::MV, "2.5"), "refused: *Input correct * number: from 0,01* to  100000");
}

TEST_F(AddCommandFixture, WholeNumberCommandsAtTheirBounds) {
    EXPECT_EQ(Add(K::SP, "1"), "SP1");
    EXPECT_EQ(Add(K::SP, "99999999"), "SP99999999");
    EXPECT_EQ(Add(K::SP, "0"), "refused: *Input correct pause duration from 1* to  99999999");
    EXPECT_THROW(Add(K::SP, "1.5"), EConvertError) << "in range, but not whole";
    EXPECT_EQ(Add(K::JP, "0"), "JP0");
    EXPECT_EQ(Add(K::JP, "255"), "JP255");
    EXPECT_EQ(Add(K::JP, "256"), "refused: *Input correct cycles number from  0* to  255");
    EXPECT_EQ(Add(K::SB, "250"), "SB250");
    EXPECT_EQ(Add(K::SB, "0"), "refused: *Input correct cycles number from  1* to  250");
    for (int index : {K::SF, K::CF, K::WL, K::WH, K::ML, K::MH}) {
        EXPECT_EQ(Add(index, "1"), table.Entry(index).Code + "1");
        EXPECT_EQ(Add(index, "4"), table.Entry(index).Code + "4");
        EXPECT_TRUE(Add(index, "5").startsWith("refused: ")) << index;
    }
    try {
        Add(K::SF, "2.5");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Text(), "'2.5' is not a valid integer value");
    }
    EXPECT_EQ(Add(K::LD, "1"), "LD1");
    EXPECT_EQ(Add(K::PS, "4"), "refused: PS 1..3") << "no range message of its own: the range is named";
    EXPECT_EQ(Add(K::RD, "x"), "refused: ?");
}

TEST_F(AddCommandFixture, CommandsWithoutArgumentAndTheGridRows) {
    EXPECT_EQ(Add(K::MV, "no"), "MV");
    EXPECT_EQ(LastDescription(), "*Move  ");
    EXPECT_EQ(Add(K::ST, "no"), "ST");
    EXPECT_EQ(Add(K::Incorrect, "5"), "") << "entry 0: an empty line";
    EXPECT_EQ(LastDescription(), "*!!!Command incorrect!!!");
    EXPECT_EQ(list.Count(), 3);
    // As the grid shows it: a row per command, numbered from 1, and a trailing empty row.
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.data(list.index(2, 0), Qt::DisplayRole).toString(), "3");
    EXPECT_EQ(list.data(list.index(2, 2), Qt::DisplayRole).toString(), "*!!!Command incorrect!!!");
    EXPECT_TRUE(list.data(list.index(3, 0), Qt::DisplayRole).toString().isEmpty());
    EXPECT_TRUE(list.data(list.index(3, 2), Qt::DisplayRole).toString().isEmpty());
}

TEST(CommandList, RowsRenumberThemselvesAndMovesKeepLinesWithTheirDescriptions) {
    TCommandList list;
    for (const char* code : {"BG", "EN", "DL", "DR", "RS"})
        list.Append(code, QString("about ") + code);
    list.Move(2, 0);
    EXPECT_EQ(list.Lines(), (QStringList{"DL", "BG", "EN", "DR", "RS"}));
    EXPECT_EQ(list.Description(0), "about DL");
    list.Move(0, 3);
    EXPECT_EQ(list.Lines(), (QStringList{"BG", "EN", "DR", "DL", "RS"}));
    list.Remove(1);
    EXPECT_EQ(list.Lines(), (QStringList{"BG", "DR", "DL", "RS"}));
    EXPECT_EQ(list.Descriptions(), (QStringList{"about BG", "about DR", "about DL", "about RS"}));
    for (int row = 0; row < list.Count(); ++row)
        EXPECT_EQ(list.data(list.index(row, 0), Qt::DisplayRole).toString(), QString::number(row + 1));
    list.Remove(4); // the trailing row, or beyond: nothing
    list.Remove(-1);
    list.Move(0, 4);
    EXPECT_EQ(list.Count(), 4);

    list.SetProgram({"MV1", "XX", "BG"}, {"one"});
    EXPECT_EQ(list.Descriptions(), (QStringList{"one", "", ""})) << "a short companion leaves them empty";
    EXPECT_EQ(list.FirstFaultyLine(), 1);
    list.SetProgram({"MV1"}, {"one", "two"});
    EXPECT_EQ(list.Descriptions(), QStringList{"one"}) << "descriptions beyond the lines are dropped";
    EXPECT_EQ(list.FirstFaultyLine(), -1);
    EXPECT_FALSE(list.ReplaceLines({"MV1", "MV2"})) << "the count must stay";
    EXPECT_TRUE(list.ReplaceLines({"MV5"}));
    EXPECT_EQ(list.Description(0), "one");
}

TEST(Rescale, TheExamplesOfTheUnitsPanel) {
    FakeView view;
    TCommonDatas datas(view);
    QStringList lines{"MV1000"};
    RescaleList(lines, 100, datas.Settings());
    EXPECT_EQ(lines, QStringList{"MV100000"});

    lines = {"SD150", "AL+5", "SP500", "LD1", "AL-3", "MV", "BG"};
    RescaleList(lines, 200.0 / 100.0, datas.Settings());
    EXPECT_EQ(lines, (QStringList{"SD300", "AL10", "SP500", "LD1", "AL-6", "MV", "BG"}));

    datas.SetRounding(2);
    lines = {"MV10"};
    RescaleList(lines, 1.0 / 3.0, datas.Settings());
    EXPECT_EQ(lines, QStringList{"MV3"});
    datas.SetRounding(1);
    lines = {"MV10"};
    RescaleList(lines, 1.0 / 3.0, datas.Settings());
    EXPECT_EQ(lines, QStringList{"MV4"});
}

TEST(Rescale, StopsAtAnArgumentThatIsNotWholeAndNeverWraps) {
    FakeView view;
    TCommonDatas datas(view);
    QStringList lines{"MV10", "SD1.5", "MV20"};
    const TRescaleResult stopped = RescaleList(lines, 2, datas.Settings());
    EXPECT_FALSE(stopped.complete);
    EXPECT_EQ(stopped.stoppedAt, 1);
    EXPECT_EQ(stopped.badArgument, "1.5");
    EXPECT_EQ(lines, (QStringList{"MV20", "SD1.5", "MV20"})) << "lines before are done, the rest untouched";

    lines = {"MV10000000", "AL-500"};
    const TRescaleResult huge = RescaleList(lines, 1e6, datas.Settings());
    EXPECT_TRUE(huge.complete);
    EXPECT_EQ(lines, (QStringList{"MV2147483647", "AL-500000000"}));
    EXPECT_EQ(huge.saturated, QList<int>{0});
}

TEST(ScaleText, APointOrACommaWhateverTheSystemSeparator) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(ParseScaleText("2.5"), 2.5);
        EXPECT_EQ(ParseScaleText("2,5"), 2.5);
        EXPECT_EQ(ParseScaleText("100"), 100.0);
        EXPECT_EQ(ParseScaleText("0"), 0.0) << "a zero scale is taken, and becomes 1";
        EXPECT_FALSE(ParseScaleText("-2"));
        EXPECT_FALSE(ParseScaleText("1,000.5"));
        EXPECT_FALSE(ParseScaleText("abc"));
        EXPECT_FALSE(ParseScaleText(""));
    }
    QLocale::setDefault(QLocale::system());
}

TEST(ProgramFileNames, DefaultNamesExtensionsAndCompanions) {
    QTemporaryDir dir;
    EXPECT_EQ(ProgramFiles::FreeDefaultName(dir.path()), "KVT-Prog-1.kvt");
    QFile(dir.filePath("KVT-Prog-1.kvt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ProgramFiles::FreeDefaultName(dir.path()), "KVT-Prog-2.kvt");
    EXPECT_TRUE(ProgramFiles::HasProgramExtension("/a/b/prog.kvt"));
    EXPECT_FALSE(ProgramFiles::HasProgramExtension("/a/b/prog.KVT"));
    EXPECT_FALSE(ProgramFiles::HasProgramExtension("/a/b/prog.kvt.bak"));
    EXPECT_FALSE(ProgramFiles::HasProgramExtension("/a/b.kvt/prog"));
    EXPECT_FALSE(ProgramFiles::HasProgramExtension("/a/b/prog"));
    EXPECT_EQ(ProgramFiles::CompanionName("/a/b/prog.kvt"), "/a/b/prog._kvt");
    EXPECT_EQ(ProgramFiles::CompanionName("/a/b.x/prog.kvt"), "/a/b.x/prog._kvt");
}

TEST(FileTie, TheListBelongsToAFileOnlyWhileItHoldsWhatTheFileHolds) {
    using TText = TFileTie::TText;
    const TText loaded{{"LD1", "MV10", "ED"}, {"a", "b", "c"}};
    const TText edited{{"LD1", "MV10", "RS", "ED"}, {"a", "b", "r", "c"}};
    const TText direct{{"DL"}, {"d"}};
    const TText empty;
    // Each step: what happens, then the file the list is tied to and whether work is unsaved.
    enum Action { Load, Edit, Replace, Restore, Detach, SaveAs };
    const struct {
        Action action;
        TText list; // the list after the step (Replace: the list the program replaces)
        QString file;
        bool unsaved;
    } steps[] = {
        {Edit, edited, "", true},             // new work, no file
        {Load, loaded, "keep.kvt", false},    // loaded: tied, nothing unsaved
        {Replace, loaded, "", false},         // a mode switch: untied, the kept list is in the file
        {Replace, direct, "", false},         // a direct command: still the kept list
        {Restore, loaded, "keep.kvt", false}, // undone back to what the file holds: tied again
        {Edit, edited, "keep.kvt", true},     // an edit of the file's list: the file, marked
        {Replace, edited, "", true},          // cleared by a switch: the edits are unsaved work
        {Replace, empty, "", true},           // back in the extended mode, the list empty
        {Edit, empty, "", false},             // the operator's own empty list is no work
        {Restore, edited, "", true},          // the edits undone back: no file holds them
        {SaveAs, edited, "other.kvt", false}, // saved under a new name
        {Detach, direct, "", true},           // an import: no file's
    };
    TFileTie document;
    int n = 0;
    for (const auto& s : steps) {
        ++n;
        switch (s.action) {
        case Load:
            document.OperatorChanged(s.list);
            document.SetSaved("keep.kvt", s.list);
            break;
        case SaveAs:
            document.SetSaved("other.kvt", s.list);
            break;
        case Edit:
        case Restore:
            document.OperatorChanged(s.list);
            break;
        case Replace:
            document.ProgramReplaces(s.list);
            break;
        case Detach:
            document.Detach();
            break;
        }
        const TText shown = s.action == Replace ? empty : s.list;
        EXPECT_EQ(document.File(), s.file) << "step " << n;
        EXPECT_EQ(document.Unsaved(shown), s.unsaved) << "step " << n;
    }
}

TEST(OpenRecording, AListEndingInsideLDToEDIsFound) {
    const struct {
        QStringList lines;
        int line, channel; // -1: none open
    } cases[] = {
        {{}, -1, 0},
        {{"LD1", "BG", "ED"}, -1, 0},
        {{"LD1", "BG"}, 0, 1},
        {{"LD1", "ED", "LD3", "MV5"}, 2, 3},
        {{"ED", "ST1"}, -1, 0},
        {{"LD2", "LD1", "ED"}, -1, 0}, // the last LD is ended
    };
    for (const auto& c : cases) {
        const auto open = OpenRecordingAtEnd(c.lines);
        EXPECT_EQ(open ? open->line : -1, c.line) << c.lines.join(",").toStdString();
        EXPECT_EQ(open ? open->channel : 0, c.channel);
    }
}
