// The three settings files: exactly the lines a fresh installation holds, round trips under both
// decimal separators, the shorter program file, and damage in the middle of each file.
#include "settings/SettingsFiles.h"
#include "FakeView.h"
#include "ProgramFolder.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "serial/ComPort.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

// Records the two selections prp.dat asks of the window.
class SelectionView : public ISettingsView {
public:
    void SelectControlMode(int mode) override { controlMode = mode; }
    void SelectUnitsMode(int mode) override { unitsMode = mode; }
    int controlMode = -1, unitsMode = -1;
};

class SettingsFixture : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    QStringList Read(const QString& name) const {
        return LoadLinesFromFile(folder.File("Data/" + name), true);
    }
    void Store(const QString& name, const QStringList& lines) const {
        SaveLinesToFile(folder.File("Data/" + name), lines, true);
    }

    ProgramFolder folder{ProgramFolder::WithoutLanguages};
    TProgramPaths paths{folder.Path()};
    FakeView view;
    TCommonDatas datas{view};
    TSettingsFiles files{paths, datas};
    SelectionView selections;
};

} // namespace

TEST_F(SettingsFixture, AFreshInstallationHoldsTheInitialValuesAndPortOne) {
    EXPECT_EQ(Read("prp.dat"), (QStringList{"0", "-1", "0", "0", "0", "-1", "-1", "-1", "0", "-1", "-1", "-1",
                                            "-1", "-1", "Step", "1", "0", "0", "en"}));
    EXPECT_EQ(Read("erp.dat"), (QStringList{"-1", "1", "1", "-1", "-1", "300"}));
    EXPECT_EQ(Read("portp.dat"), QStringList{"1"});
    EXPECT_TRUE(files.LoadProgramSettings(&selections));
    EXPECT_TRUE(files.LoadErrorSettings());
    EXPECT_EQ(selections.controlMode, 0);
    EXPECT_EQ(selections.unitsMode, 0);
}

TEST_F(SettingsFixture, EveryValueRoundTripsUnderEitherDecimalSeparator) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian, QLocale::Russia)}) {
        QLocale::setDefault(locale);
        datas.ShowPortLog = true;
        datas.ShowOperationLog = false;
        datas.SaveOperationLog = true;
        datas.AutoAddBG = false;
        datas.UnitsName = "mm";
        datas.SetScale(0.5);
        datas.SetRounding(2);
        datas.Language = "ru";
        datas.AutoRecovery = false;
        datas.Er6Reaction = 0;
        datas.ReplyTime = 1500;
        files.WriteProgramSettings(1, 1);
        files.WriteErrorSettings();
        EXPECT_EQ(Read("prp.dat")[15], locale.language() == QLocale::Russian ? "0,5" : "0.5");

        FakeView otherView;
        TCommonDatas other(otherView);
        TSettingsFiles otherFiles(paths, other);
        ASSERT_TRUE(otherFiles.LoadProgramSettings(&selections));
        ASSERT_TRUE(otherFiles.LoadErrorSettings());
        EXPECT_TRUE(other.ShowPortLog);
        EXPECT_FALSE(other.ShowOperationLog);
        EXPECT_TRUE(other.SaveOperationLog);
        EXPECT_FALSE(other.AutoAddBG);
        EXPECT_EQ(other.UnitsName, "mm");
        EXPECT_EQ(other.Scale, 0.5);
        EXPECT_EQ(other.RoundingMode, 2);
        EXPECT_EQ(other.Language, "ru");
        EXPECT_FALSE(other.AutoRecovery);
        EXPECT_EQ(other.Er6Reaction, 0);
        EXPECT_EQ(other.ReplyTime, 1500u);
        EXPECT_EQ(selections.controlMode, 1);
        EXPECT_EQ(selections.unitsMode, 1);
    }
    // Written where the separator is a comma, read where it is a point.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FakeView lastView;
    TCommonDatas last(lastView);
    TSettingsFiles lastFiles(paths, last);
    ASSERT_TRUE(lastFiles.LoadProgramSettings(nullptr));
    EXPECT_EQ(last.Scale, 0.5);
}

TEST_F(SettingsFixture, WithoutTheUnitsBlockTheLanguageIsLineFifteen) {
    datas.SaveUnits = false;
    datas.UnitsName = "inch";
    datas.Language = "ru";
    files.WriteProgramSettings(0, 1);
    const QStringList lines = Read("prp.dat");
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[14], "ru");

    FakeView otherView;
    TCommonDatas other(otherView);
    other.UnitsName = "keep";
    TSettingsFiles otherFiles(paths, other);
    EXPECT_TRUE(otherFiles.LoadProgramSettings(&selections));
    EXPECT_EQ(other.Language, "ru");
    EXPECT_EQ(other.UnitsName, "keep") << "the unit values keep what they hold";
    EXPECT_EQ(selections.unitsMode, -1);
}

TEST_F(SettingsFixture, ABadLineKeepsTheValuesBeforeItAndNotThoseAfter) {
    Store("erp.dat", {"0", "0", "0", "abc", "0", "50"});
    EXPECT_FALSE(files.LoadErrorSettings());
    EXPECT_FALSE(datas.AutoRecovery);
    EXPECT_EQ(datas.Er6Reaction, 0);
    EXPECT_EQ(datas.Er9Reaction, 0);
    EXPECT_TRUE(datas.RecoveryBreakComm) << "from the bad line on, the values stay";
    EXPECT_TRUE(datas.RecoveryClearMarks);
    EXPECT_EQ(datas.ReplyTime, 300u);
    Store("erp.dat", {"0", "0", "0", "0", "0", "-1"});
    EXPECT_FALSE(files.LoadErrorSettings());
    EXPECT_EQ(datas.ReplyTime, 300u) << "a negative reply time is refused, not read as 49 days";

    Store("prp.dat", {"-1", "5", "1", "0", "0", "-1", "-1", "-1", "x", "0"});
    EXPECT_FALSE(files.LoadProgramSettings(&selections));
    EXPECT_TRUE(datas.ShowPortLog);
    EXPECT_TRUE(datas.ShowLoadLog) << "\"1\" and \"5\" read as on";
    EXPECT_EQ(selections.controlMode, -1) << "the control mode line was the bad one";
    EXPECT_TRUE(datas.AutoAddEN) << "lines after it keep their values";

    Store("prp.dat", {"0", "-1", "0", "0", "0", "-1", "-1", "-1", "0", "-1", "-1", "-1", "-1", "-1", "Step",
                      "1", "0", "0"});
    EXPECT_TRUE(files.LoadProgramSettings(nullptr)) << "a missing text line reads as empty: no message";
    EXPECT_EQ(datas.Language, "en") << "a file that lost its last line starts in English, not in no language";

    TComPort port(folder.File("ports"));
    port.SetPortNumber(1);
    Store("portp.dat", {"300"});
    EXPECT_FALSE(files.LoadPortSettings(port));
    EXPECT_EQ(port.PortNumber(), 1u) << "a number out of range changes nothing";
    Store("portp.dat", {"17"});
    port.SetBaudIndex(12);
    port.SetParity(0);
    EXPECT_TRUE(files.LoadPortSettings(port));
    EXPECT_EQ(port.PortNumber(), 17u);
    EXPECT_EQ(port.BaudIndex(), 6) << "9600 baud, even parity at every start";
    EXPECT_EQ(port.Parity(), 2);
    folder.Remove("Data/portp.dat");
    EXPECT_FALSE(files.LoadPortSettings(port));
    EXPECT_EQ(port.PortNumber(), 17u);
}

TEST_F(SettingsFixture, AMissingDataFolderIsMadeWhenWriting) {
    folder.Remove("Data/portp.dat");
    folder.Remove("Data/prp.dat");
    folder.Remove("Data/erp.dat");
    QDir(folder.File("Data")).removeRecursively();
    files.WritePortSettings(4);
    EXPECT_EQ(Read("portp.dat"), QStringList{"4"});
}
