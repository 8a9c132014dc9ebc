// The three settings files: exactly the lines a fresh installation holds, round trips of the
// settings value under both decimal separators, the shorter program file, and damage in the
// middle of each file.
#include "settings/SettingsFiles.h"
#include "ProgramFolder.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "settings/ExtraSettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>

#include <sys/stat.h>

namespace {

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
    TSettingsFiles files{paths};
};

} // namespace

TEST_F(SettingsFixture, AFreshInstallationHoldsTheInitialValuesAndPortOne) {
    EXPECT_EQ(Read("prp.dat"), (QStringList{"0", "-1", "0", "0", "0", "-1", "-1", "-1", "0", "-1", "-1", "-1",
                                            "-1", "-1", "Step", "1", "0", "0", "en"}));
    EXPECT_EQ(Read("erp.dat"), (QStringList{"-1", "1", "1", "-1", "-1", "300"}));
    EXPECT_EQ(Read("portp.dat"), QStringList{"1"});
    TSettings read;
    read.ReplyTime = 5; // overwritten by the file
    EXPECT_TRUE(files.LoadProgramSettings(read));
    EXPECT_TRUE(files.LoadErrorSettings(read));
    EXPECT_TRUE(files.LoadPortSettings(read));
    EXPECT_EQ(read, TSettings{}) << "the initial values are the defaults of the settings value";
}

TEST_F(SettingsFixture, EveryValueRoundTripsUnderEitherDecimalSeparator) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian, QLocale::Russia)}) {
        QLocale::setDefault(locale);
        TSettings s;
        s.ShowPortLog = true;
        s.ShowOperationLog = false;
        s.SaveOperationLog = true;
        s.AutoAddBG = false;
        s.UnitsName = "mm";
        s.Scale = 0.5;
        s.RoundingMode = 2;
        s.Language = "ru";
        s.ControlMode = TSettings::ExtendedMode;
        s.UnitsMode = TSettings::OtherUnits;
        s.AutoRecovery = false;
        s.Er6Reaction = 0;
        s.ReplyTime = 1500;
        s.PortNumber = 12;
        files.WriteProgramSettings(s);
        files.WriteErrorSettings(s);
        files.WritePortSettings(s.PortNumber);
        EXPECT_EQ(Read("prp.dat")[15], locale.language() == QLocale::Russian ? "0,5" : "0.5");

        TSettings read;
        ASSERT_TRUE(files.LoadProgramSettings(read));
        ASSERT_TRUE(files.LoadErrorSettings(read));
        ASSERT_TRUE(files.LoadPortSettings(read));
        EXPECT_EQ(read, s);
    }
    // Written where the separator is a comma, read where it is a point.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TSettings last;
    ASSERT_TRUE(files.LoadProgramSettings(last));
    EXPECT_EQ(last.Scale, 0.5);
}

TEST_F(SettingsFixture, WithoutTheUnitsBlockTheLanguageIsLineFifteen) {
    TSettings s;
    s.SaveUnits = false;
    s.UnitsName = "inch";
    s.UnitsMode = TSettings::OtherUnits;
    s.Language = "ru";
    files.WriteProgramSettings(s);
    const QStringList lines = Read("prp.dat");
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[14], "ru");

    TSettings read;
    read.UnitsName = "keep";
    EXPECT_TRUE(files.LoadProgramSettings(read));
    EXPECT_EQ(read.Language, "ru");
    EXPECT_EQ(read.UnitsName, "keep") << "the unit values keep what they hold";
    EXPECT_EQ(read.UnitsMode, TSettings::StepsUnits);
}

TEST_F(SettingsFixture, ABadLineKeepsTheValuesBeforeItAndNotThoseAfter) {
    Store("erp.dat", {"0", "0", "0", "abc", "0", "50"});
    TSettings s;
    EXPECT_FALSE(files.LoadErrorSettings(s));
    EXPECT_FALSE(s.AutoRecovery);
    EXPECT_EQ(s.Er6Reaction, 0);
    EXPECT_EQ(s.Er9Reaction, 0);
    EXPECT_TRUE(s.RecoveryBreakComm) << "from the bad line on, the values stay";
    EXPECT_TRUE(s.RecoveryClearMarks);
    EXPECT_EQ(s.ReplyTime, 300u);
    Store("erp.dat", {"0", "0", "0", "0", "0", "-1"});
    EXPECT_FALSE(files.LoadErrorSettings(s));
    EXPECT_EQ(s.ReplyTime, 300u) << "a negative reply time is refused, not read as 49 days";

    Store("prp.dat", {"-1", "5", "1", "0", "0", "-1", "-1", "-1", "x", "0"});
    s.ControlMode = TSettings::ExtendedMode;
    EXPECT_FALSE(files.LoadProgramSettings(s));
    EXPECT_TRUE(s.ShowPortLog);
    EXPECT_TRUE(s.ShowLoadLog) << "\"1\" and \"5\" read as on";
    EXPECT_EQ(s.ControlMode, TSettings::ExtendedMode) << "the control mode line was the bad one";
    EXPECT_TRUE(s.AutoAddEN) << "lines after it keep their values";

    Store("prp.dat", {"0", "-1", "0", "0", "0", "-1", "-1", "-1", "0", "-1", "-1", "-1", "-1", "-1", "Step",
                      "1", "0", "0"});
    s.Language = "ru";
    EXPECT_TRUE(files.LoadProgramSettings(s)) << "a missing text line reads as empty: no message";
    EXPECT_EQ(s.Language, "en") << "a file that lost its last line starts in English, not in no language";

    s.PortNumber = 1;
    Store("portp.dat", {"300"});
    EXPECT_FALSE(files.LoadPortSettings(s));
    EXPECT_EQ(s.PortNumber, 1u) << "a number out of range changes nothing";
    Store("portp.dat", {"17"});
    EXPECT_TRUE(files.LoadPortSettings(s));
    EXPECT_EQ(s.PortNumber, 17u);
    folder.Remove("Data/portp.dat");
    EXPECT_FALSE(files.LoadPortSettings(s));
    EXPECT_EQ(s.PortNumber, 17u);
}

TEST_F(SettingsFixture, AMissingDataFolderIsMadeWhenWriting) {
    QDir(folder.File("Data")).removeRecursively();
    files.WritePortSettings(4);
    EXPECT_EQ(Read("portp.dat"), QStringList{"4"});
}

TEST_F(SettingsFixture, HugeFilesOverlongLinesAndPipesAreDamagedAndChangeNothing) {
    TSettings s;
    s.UnitsName = "kept";
    QStringList huge = Read("prp.dat");
    huge[14] = QString(100000, 'x'); // the unit name: one line of 100,000 characters
    Store("prp.dat", huge);
    EXPECT_FALSE(files.LoadProgramSettings(s));
    EXPECT_EQ(s.UnitsName, "kept") << "nothing of a damaged file is taken";

    QStringList longLine = Read("erp.dat");
    longLine[5] = QString(5000, '1');
    Store("erp.dat", longLine);
    EXPECT_FALSE(files.LoadErrorSettings(s));
    EXPECT_EQ(s.ReplyTime, 300u);

    folder.Remove("Data/portp.dat");
    ASSERT_EQ(::mkfifo(folder.File("Data/portp.dat").toLocal8Bit().constData(), 0600), 0);
    s.PortNumber = 9;
    EXPECT_FALSE(files.LoadPortSettings(s)) << "a pipe is never waited on";
    EXPECT_EQ(s.PortNumber, 9u);
}

TEST_F(SettingsFixture, ExtraSettingsRoundTripAndKeepWhatALaterVersionWrote) {
    TExtraSettingsFile extra(paths);
    TSettings none;
    EXPECT_TRUE(extra.Load(none)) << "a missing file is no fault";
    EXPECT_EQ(none.Travel, TTravelLimits{});

    folder.Write("Data/extra-settings.txt", "# a comment\r\ntravel2=on -1000 250000\r\ncolour=green\r\n");
    TSettings read;
    ASSERT_TRUE(extra.Load(read));
    EXPECT_EQ(read.Travel[2], (TTravelLimit{true, -1000, 250000}));
    read.Travel[3] = {false, 5, 7};
    extra.Write(read);
    EXPECT_EQ(LoadLinesFromFile(folder.File("Data/extra-settings.txt"), false),
              (QStringList{"# KVT_Program: settings beyond portp.dat, prp.dat and erp.dat", "travel1=off 0 0",
                           "travel2=on -1000 250000", "travel3=off 5 7", "logTimes=off", "showCodes=off",
                           "journal=on", "sessionLogs=off 20", "colour=green"}))
        << "a name this version does not know is kept";
    const QStringList programLines = Read("prp.dat");
    TSettings again;
    TExtraSettingsFile(paths).Load(again);
    EXPECT_EQ(again.Travel, read.Travel);

    // The log options, the last folder and the recent files, newest first.
    read.LogTimes = true;
    read.ShowCodes = true;
    read.KeepSessionLogs = true;
    read.SessionLogCopies = 3;
    read.LastFolder = "/home/op/progs";
    read.RecentFiles = {"/home/op/b.kvt", "/home/op/a.kvt"};
    extra.Write(read);
    TSettings logs;
    ASSERT_TRUE(TExtraSettingsFile(paths).Load(logs));
    EXPECT_TRUE(logs.LogTimes);
    EXPECT_TRUE(logs.ShowCodes);
    EXPECT_TRUE(logs.KeepSessionLogs);
    EXPECT_EQ(logs.SessionLogCopies, 3u);
    EXPECT_EQ(logs.LastFolder, "/home/op/progs");
    EXPECT_EQ(logs.RecentFiles, read.RecentFiles);
    EXPECT_EQ(Read("prp.dat"), programLines) << "the described files keep their exact lines";
}

TEST_F(SettingsFixture, DamagedExtraSettingsKeepTheirDefaultsAndSaySo) {
    TExtraSettingsFile extra(paths);
    for (const QByteArray& text :
         {QByteArray("travel1=on 500 -500\r\n"), QByteArray("travel1=on x 5\r\n"),
          QByteArray("travel1=maybe 0 5\r\n"), QByteArray("no equals sign\r\n"),
          QByteArray("sessionLogs=on 0\r\n"), QByteArray("logTimes=yes\r\n"), QByteArray(17 * 1024, 'a')}) {
        folder.Write("Data/extra-settings.txt", text);
        TSettings settings;
        EXPECT_FALSE(extra.Load(settings)) << text.left(40).toStdString();
        EXPECT_EQ(settings.Travel[1], TTravelLimit{}) << text.left(40).toStdString();
    }
    // A good line after a damaged one is still taken, also after a zero byte; written back,
    // the file keeps it.
    folder.Write("Data/extra-settings.txt",
                 QByteArray("travel1=on x 5\r\nlogTimes=on\0\r\ntravel2=on 1 2\r\n", 46));
    TSettings settings;
    EXPECT_FALSE(extra.Load(settings));
    EXPECT_EQ(settings.Travel[2], (TTravelLimit{true, 1, 2}));
    EXPECT_TRUE(settings.LogTimes);
    extra.Write(settings);
    EXPECT_TRUE(LoadLinesFromFile(folder.File("Data/extra-settings.txt"), false).contains("travel2=on 1 2"));
}
