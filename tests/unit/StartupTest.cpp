// The command line, the choice of the program folder and its set-up at a first start, and a
// port chosen for one start only.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "SessionRooms.h"
#include "core/ProgramPaths.h"
#include "serial/ComPort.h"
#include "serial/SerialDevices.h"
#include "settings/SettingsFiles.h"
#include "startup/CommandLine.h"
#include "startup/FirstStartLink.h"
#include "startup/ProgramLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

TCommandLine Parse(const QStringList& arguments) {
    return TCommandLine::Parse(QStringList{"KVT_Program"} + arguments);
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(CommandLine, TakesTheFolderAndThePortInEitherFormAndLeavesTheWindowSystemItsOwn) {
    const TCommandLine line =
        Parse({"-platform", "offscreen", "--folder", "/tmp/k v t", "-style=fusion", "--port=12", "-reverse"});
    EXPECT_EQ(line.action, TCommandLine::Action::Run);
    EXPECT_EQ(line.folder, "/tmp/k v t");
    EXPECT_EQ(line.port, 12u);
    EXPECT_EQ(Parse({"--folder=data", "--port", "255"}).folder, "data");
    EXPECT_EQ(Parse({"--port", "1"}).port, 1u);
    EXPECT_EQ(Parse({}).port, 0u) << "no port: the stored number";
    EXPECT_EQ(Parse({"--port", "300", "--help"}).action, TCommandLine::Action::Error) << "in order";
    EXPECT_EQ(Parse({"--folder", "x", "-h"}).action, TCommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, TCommandLine::Action::Version);
    EXPECT_TRUE(TCommandLine::VersionText().startsWith("KVT_Program 4."));
    const QString help = TCommandLine::HelpText("/usr/bin/KVT_Program");
    EXPECT_TRUE(help.startsWith("Usage: KVT_Program [options]")) << help.toStdString();
    for (const char* option : {"--help", "--version", "--folder DIR", "--port N", "--device PATH", "FILE"})
        EXPECT_TRUE(help.contains(option)) << option;
}

TEST(CommandLine, ADevicePathOpensThatDeviceAndAFileIsLoaded) {
    const TCommandLine byPort = Parse({"--port", "/dev/ttyUSB0"});
    EXPECT_EQ(byPort.action, TCommandLine::Action::Run);
    EXPECT_EQ(byPort.device, "/dev/ttyUSB0") << "a Linux user's first guess is taken";
    EXPECT_EQ(byPort.port, 0u);
    EXPECT_EQ(Parse({"--device=/dev/serial/by-id/usb-x"}).device, "/dev/serial/by-id/usb-x");
    // The last choice holds.
    EXPECT_EQ(Parse({"--device", "/dev/ttyACM0", "--port", "3"}).device, "");
    EXPECT_EQ(Parse({"--port", "3", "--device", "/dev/ttyACM0"}).port, 0u);
    const TCommandLine withFile = Parse({"--port", "2", "saw.kvt"});
    EXPECT_EQ(withFile.file, "saw.kvt");
    EXPECT_EQ(withFile.port, 2u);
}

TEST(CommandLine, RefusesWhatItCannotUseAndSaysWhy) {
    const struct {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{"--port", "0"}, "Invalid port number \"0\""},
        {{"--port", "256"}, "Invalid port number \"256\""},
        {{"--port=COM3"}, "Invalid port number \"COM3\""},
        {{"--port", "-3"}, "Invalid port number \"-3\""},
        {{"--port"}, "The option --port needs a value."},
        {{"--folder", "--port", "3"}, "The option --folder needs a value."},
        {{"--folder="}, "The option --folder needs a value."},
        {{"--fast"}, "Unknown option: --fast"},
        {{"a.kvt", "b.kvt"}, "Unexpected argument: b.kvt"},
    };
    for (const auto& c : cases) {
        const TCommandLine line = Parse(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        ASSERT_EQ(line.action, TCommandLine::Action::Error) << what;
        EXPECT_TRUE(line.error.startsWith(c.says)) << what << ": " << line.error.toStdString();
        EXPECT_TRUE(
            line.ErrorText("./KVT_Program").endsWith("Try \"KVT_Program --help\" for the options.\n"));
    }
}

namespace {
// A program run from its build folder, which it can write and which holds its languages.
ProgramLocation::TFacts BuildFolderFacts() {
    ProgramLocation::TFacts facts;
    facts.appDir = "/home/op/kvt/build/bin";
    facts.appDirWritable = true;
    facts.appDirHasLanguages = true;
    facts.userDataDir = "/home/op/.local/share";
    return facts;
}
} // namespace

TEST(ProgramLocation, ABuildFolderIsUsedAsItIsAnInstalledProgramGetsAFolderPerUser) {
    ProgramLocation::TFacts facts = BuildFolderFacts();
    EXPECT_EQ(ProgramLocation::Choose(facts).folder, facts.appDir);
    EXPECT_FALSE(ProgramLocation::Choose(facts).ownFolder) << "a build folder is used as it is";

    auto readOnly = facts;
    readOnly.appDir = "/opt/kvt";
    readOnly.appDirWritable = false;
    EXPECT_EQ(ProgramLocation::Choose(readOnly).folder, "/home/op/.local/share/KVT_Program");
    EXPECT_TRUE(ProgramLocation::Choose(readOnly).ownFolder);

    // /usr/bin is writable for root, but holds no language files: still a folder per user.
    auto installed = facts;
    installed.appDir = "/usr/bin";
    installed.appDirHasLanguages = false;
    EXPECT_EQ(ProgramLocation::Choose(installed).folder, "/home/op/.local/share/KVT_Program");

    auto chosen = facts;
    chosen.explicitFolder = "/srv/kvt/../machine2/";
    EXPECT_EQ(ProgramLocation::Choose(chosen).folder, "/srv/machine2");
    EXPECT_TRUE(ProgramLocation::Choose(chosen).ownFolder);
}

TEST(ProgramLocation, TheTitleNamesAFolderOnlyWhenItIsNotTheOneChosenByItself) {
    ProgramLocation::TFacts facts = BuildFolderFacts();
    const struct {
        QString explicitFolder;
        QString shown;
    } cases[] = {
        {"", ""},
        {"/home/op/kvt/build/bin", ""},
        {"/home/op/kvt/build/bin/", ""},
        {"/home/op/kvt/build/../build/bin", ""},
        {"/srv/station2", "station2"},
        {"/home/op/.local/share/KVT_Program", "KVT_Program"}, // not this build's own
    };
    for (const auto& c : cases) {
        facts.explicitFolder = c.explicitFolder;
        EXPECT_EQ(ProgramLocation::NameToShow(facts), c.shown) << c.explicitFolder.toStdString();
    }
    // The same folder through a link is the same folder.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/bin"));
    ASSERT_TRUE(QFile::link(dir.path() + "/bin", dir.path() + "/link"));
    facts.appDir = dir.path() + "/bin";
    facts.explicitFolder = dir.path() + "/link";
    EXPECT_EQ(ProgramLocation::NameToShow(facts), "");
}

TEST(ProgramLocation, TheFactsOfAFolderWithoutLanguagesSendTheProgramToTheUsersFolder) {
    QTemporaryDir bin;
    EXPECT_FALSE(ProgramLocation::Gather({}, bin.path()).appDirHasLanguages);
    QDir(bin.path()).mkdir("lang");
    EXPECT_TRUE(ProgramLocation::Gather({}, bin.path()).appDirHasLanguages);
    EXPECT_EQ(ProgramLocation::ShippedLanguages(bin.path()), bin.path() + "/lang");
    // An installation's own languages come first.
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin/lang");
    QDir(prefix.path()).mkpath("share/kvt-program/lang");
    EXPECT_EQ(ProgramLocation::ShippedLanguages(prefix.path() + "/bin"),
              prefix.path() + "/share/kvt-program/lang");
}

TEST(ProgramLocation, AFirstStartSetsUpTheFolderALaterOneKeepsWhatTheOperatorChanged) {
    QTemporaryDir home;
    const QString folder = home.path() + "/data/KVT_Program";
    QString error;
    ASSERT_TRUE(ProgramLocation::Prepare(folder, ShippedLanguageFolder(), &error)) << error.toStdString();
    for (const char* sub : {"Data", "Log", "Users", "ports", "lang"})
        EXPECT_TRUE(QFileInfo(folder + '/' + sub).isDir()) << sub;
    QTemporaryDir fresh;
    TSettingsFiles::WriteMissingDefaults(TProgramPaths(fresh.path()));
    for (const char* name : {"portp.dat", "prp.dat", "erp.dat"})
        EXPECT_EQ(Bytes(folder + "/Data/" + name), Bytes(fresh.path() + "/Data/" + name)) << name;
    EXPECT_EQ(Bytes(folder + "/lang/ru/ruext.lng"), Bytes(ShippedLanguageFolder() + "/ru/ruext.lng"));

    // The operator edits a language, adds one, and changes a setting; a shipped file goes.
    WriteFile(folder + "/lang/en/enext.lng", "edited");
    WriteFile(folder + "/lang/de/demsg.lng", "mine");
    WriteFile(folder + "/Data/prp.dat", "changed");
    QFile::remove(folder + "/lang/ru/rumsg.lng");
    QFile::remove(folder + "/Data/erp.dat");
    ASSERT_TRUE(ProgramLocation::Prepare(folder, ShippedLanguageFolder(), &error)) << error.toStdString();
    EXPECT_EQ(Bytes(folder + "/lang/en/enext.lng"), "edited");
    EXPECT_EQ(Bytes(folder + "/lang/de/demsg.lng"), "mine");
    EXPECT_EQ(Bytes(folder + "/Data/prp.dat"), "changed");
    EXPECT_EQ(Bytes(folder + "/lang/ru/rumsg.lng"), Bytes(ShippedLanguageFolder() + "/ru/rumsg.lng"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/Data/erp.dat"))
        << "a settings file that went missing later is reported at start, not silently replaced";
}

TEST(ProgramLocation, AFolderThatCannotBeMadeIsRefusedWithTheReason) {
    QTemporaryDir home;
    WriteFile(home.path() + "/file", "x");
    QString error;
    EXPECT_FALSE(ProgramLocation::Prepare(home.path() + "/file/KVT_Program", {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(TCommandLine::FolderUnusableText("/x", error).contains("%"));
}

TEST(PortForThisStart, OpensAnotherPortWithoutChangingWhatIsStored) {
    ProgramFolder folder;
    FakeView view;
    TSession session(folder.Path(), view, &view);
    const quint32 stored = session.Controller().Connection().Choice().PortNumber();
    session.Controller().Connection().Choice().UsePortForThisStart(7);
    EXPECT_EQ(session.Controller().Connection().Choice().PortNumber(), 7u);
    EXPECT_EQ(session.Controller().Connection().Choice().PortNumberToStore(), stored);
    session.Controller().Connection().ChoosePort(3); // the operator's own choice is kept as always
    EXPECT_EQ(session.Controller().Connection().Choice().PortNumber(), 3u);
    EXPECT_EQ(session.Controller().Connection().Choice().PortNumberToStore(), 3u);
}

TEST(ProgramLocation, FoldersAreTheOperatorsAloneWhateverTheUmaskAndLinksStayInside) {
    const mode_t previous = ::umask(0);
    QTemporaryDir home;
    const QString folder = home.path() + "/deep/KVT_Program";
    QString error;
    const bool prepared = ProgramLocation::Prepare(folder, {}, &error);
    const auto mode = [](const QString& path) {
        struct stat status {};
        ::stat(QFile::encodeName(path).constData(), &status);
        return status.st_mode & 0777;
    };
    const mode_t folderMode = mode(folder), dataMode = mode(folder + "/Data"),
                 portsMode = mode(folder + "/ports"), fileMode = mode(folder + "/Data/prp.dat");
    ::umask(previous);
    ASSERT_TRUE(prepared) << error.toStdString();
    EXPECT_EQ(folderMode, 0700u);
    EXPECT_EQ(dataMode, 0700u);
    EXPECT_EQ(portsMode, 0700u);
    EXPECT_EQ(fileMode & 0022, 0u) << "no file is writable by others";

    // ports/ swapped for a link to a folder elsewhere: no link is made there.
    QTemporaryDir elsewhere;
    QDir(folder).rename("ports", "ports.old");
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder + "/ports"));
    const SerialDevices::TLinkResult result = SerialDevices::LinkPort(folder + "/ports", 1, "/dev/null");
    EXPECT_FALSE(result.linked);
    EXPECT_TRUE(result.portsIsLink);
    EXPECT_TRUE(QDir(elsewhere.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                    .isEmpty())
        << "nothing written outside the program folder";
    // A folder of its own: linked there.
    QFile::remove(folder + "/ports");
    QDir(folder).rename("ports.old", "ports");
    EXPECT_TRUE(SerialDevices::LinkPort(folder + "/ports", 1, "/dev/null").linked);
    EXPECT_EQ(QFile::symLinkTarget(folder + "/ports/COM1"), "/dev/null");
}

TEST(FirstStartLink, OnlyTheOneAdapterIsLinkedAndNothingIsReplaced) {
    QTemporaryDir byId, folder;
    const QString ports = folder.filePath("ports");
    // None: nothing is guessed.
    EXPECT_EQ(FirstStartLink::LinkSingleAdapter(ports, byId.path()), "");
    EXPECT_FALSE(QFileInfo(ports + "/COM1").isSymLink());
    // Two: nothing either.
    ASSERT_TRUE(QFile::link("/dev/null", byId.filePath("usb-A-if00-port0")));
    ASSERT_TRUE(QFile::link("/dev/null", byId.filePath("usb-B-if00-port0")));
    EXPECT_EQ(FirstStartLink::LinkSingleAdapter(ports, byId.path()), "");
    // One adapter, beside what is no terminal device (a file, a folder, a FIFO): it is the one.
    ASSERT_TRUE(QFile::remove(byId.filePath("usb-B-if00-port0")));
    ASSERT_TRUE(QDir(byId.path()).mkdir("usb-folder"));
    QFile plain(byId.filePath("usb-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    ASSERT_EQ(::mkfifo(QFile::encodeName(byId.filePath("usb-fifo")).constData(), 0600), 0);
    {
        QTemporaryDir onlyJunk;
        ASSERT_EQ(::mkfifo(QFile::encodeName(onlyJunk.filePath("usb-fifo")).constData(), 0600), 0);
        EXPECT_EQ(FirstStartLink::LinkSingleAdapter(ports, onlyJunk.path()), "") << "a FIFO is no adapter";
    }
    EXPECT_EQ(FirstStartLink::LinkSingleAdapter(ports, byId.path()), byId.filePath("usb-A-if00-port0"));
    EXPECT_EQ(QFileInfo(ports + "/COM1").symLinkTarget(), byId.filePath("usb-A-if00-port0"));
    // A COM1 that is there, even dangling, is the operator's: it stays.
    ASSERT_TRUE(QFile::remove(ports + "/COM1"));
    ASSERT_TRUE(QFile::link("/nonexistent/ttyUSB7", ports + "/COM1"));
    EXPECT_EQ(FirstStartLink::LinkSingleAdapter(ports, byId.path()), "");
    EXPECT_EQ(QFileInfo(ports + "/COM1").symLinkTarget(), "/nonexistent/ttyUSB7");
}
