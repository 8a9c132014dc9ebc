// kvtctl as a script runs it: a process of its own, against the controller simulator, on a
// program folder as the window program keeps it.
#include "ScriptedController.h"
#include "StdLines.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "journal/JournalFiles.h"
#include "lang/BuiltInTexts.h"
#include "lang/ExtraIds.h"
#include "serial/PortDevice.h"
#include "session/ProgramEditor.h"
#include "settings/SettingsFiles.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <csignal>

#include <sys/stat.h>

namespace {

QJsonObject Json(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

// An extra text as kvtctl says it on a folder in English.
QString English(int id) {
    return BuiltIn::ExtraTexts().value(id);
}

class KvtctlFixture : public WindowFixture {
protected:
    void SetUp() override { StartSimulator(); }

    struct TResult {
        int status = -1;
        QString out, err;
        QStringList lines; // of standard output
    };
    QStringList Arguments(const QStringList& arguments) const {
        return QStringList{"--folder", folder.Path(), "--port", "1"} + arguments;
    }
    // Runs kvtctl on the program folder's COM1 with `arguments`, `input` on its standard input.
    TResult Run(const QStringList& arguments, const QByteArray& input = {}) {
        QProcess process;
        process.start(KVTCTL, Arguments(arguments));
        EXPECT_TRUE(process.waitForStarted());
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        return Collect(process);
    }
    static TResult Collect(QProcess& process) {
        TResult r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        r.lines = r.out.split('\n', Qt::SkipEmptyParts);
        return r;
    }
    // A program file pair in the Users folder.
    QString ProgramFile(const QString& name, const QStringList& lines) const {
        const QString file = folder.File("Users/" + name + ".kvt");
        SaveLinesToFile(file, lines, true);
        SaveLinesToFile(folder.File("Users/" + name + "._kvt"), QStringList(lines.size(), "-"), true);
        return file;
    }
    std::vector<std::string> Program(int channel) const { return simulator.Program(channel); }
};

} // namespace

TEST_F(KvtctlFixture, SendsAProgramFileAndAPlainListAsSendDoes) {
    const QStringList program{"LD1", "BG", "EN", "SD200", "MV300", "ED"};
    const TResult file = Run({"send", ProgramFile("p", program)});
    EXPECT_EQ(file.status, 0) << file.err.toStdString();
    EXPECT_EQ(Program(1), Std(program.mid(1, 4)));
    EXPECT_EQ(file.lines.first(), "1: LD1 -> E10*") << file.out.toStdString();
    EXPECT_TRUE(file.lines.contains("6: ED -> E10*")) << file.out.toStdString();

    const TResult plain = Run({"send", "--plain", "-"}, "LD2\r\n\nBG\nMV100\nED\n");
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(Program(2), (std::vector<std::string>{"BG", "MV100"})) << "blank lines are no list lines";
}

TEST_F(KvtctlFixture, AWrongCommandStopsWithStatusOneAndTheLineNamed) {
    // A start inside a recording is refused by the controller as a wrong command.
    const TResult r = Run({"--json", "send", "--plain", "-"}, "LD1\nBG\nST1\nMV100\nED\n");
    EXPECT_EQ(r.status, 1);
    // The end event is told once; the log of the "ED*" answer may come after it.
    QJsonObject end;
    for (const QString& line : r.lines)
        if (Json(line)["event"].toString() == "end")
            end = Json(line);
    EXPECT_EQ(end["outcome"].toString(), "wrong-command") << r.out.toStdString();
    EXPECT_EQ(end["line"].toInt(), 3);
    EXPECT_EQ(end["command"].toString(), "ST1");
    // Nothing after the refusal but the "ED*" that ends the recording it left open.
    ASSERT_TRUE(simulator.WaitForCommands(4, 10000));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "BG", "ST1", "ED"}));
}

TEST_F(KvtctlFixture, ASilentControllerEndsWithStatusOneAfterTheReplyTime) {
    kvtsim::Options silent = FastMotions();
    silent.silent = true;
    simulator.SetOptions(silent);
    const TResult r = Run({"--reply-time", "300", "--json", "command", "SD400"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Json(r.lines.last())["outcome"].toString(), "no-answer") << r.out.toStdString();
}

TEST_F(KvtctlFixture, APortHeldByAnotherProgramIsRefusedWithStatusThree) {
    int error = 0;
    const auto held = TPortHandle::Open(QString::fromStdString(simulator.SlavePath()), error);
    ASSERT_TRUE(held) << error;
    const TResult r = Run({"command", "SD400"});
    EXPECT_EQ(r.status, 3);
    CreateWindow(); // for the words the window uses for a busy port
    EXPECT_TRUE(r.err.contains(Ext(::Ext::PortBusy))) << r.err.toStdString();
    EXPECT_TRUE(simulator.Commands().empty());
}

TEST_F(KvtctlFixture, ReadSavesAPairThatTheWindowLoadsAndSendWritesBackAsItIs) {
    simulator.SetProgram(1, {"BG", "SD400", "MV250", "EN"});
    const QString file = folder.File("Users/read.kvt");
    const TResult r = Run({"read", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString() << r.out.toStdString();
    const QStringList whole{"LD1", "BG", "SD400", "MV250", "EN", "ED"};

    // Written back as it was saved: the recording ends, and the controller holds the same.
    simulator.SetProgram(1, {});
    const TResult back = Run({"send", file});
    ASSERT_EQ(back.status, 0) << back.err.toStdString() << back.out.toStdString();
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "SD400", "MV250", "EN"}));
    EXPECT_EQ(Run({"command", "ST1"}).status, 0) << "not left recording: the start is taken";

    CreateWindow(1); // the program mode, where files are loaded
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_EQ(form->Session().Editor().List().Lines(), whole);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("\n").toStdString();
}

TEST_F(KvtctlFixture, AReadInMillimetresKeepsTheControllersStepsAndSendWritesThemBack) {
    // The operator works in millimetres at 200 steps each (the window keeps it in prp.dat).
    CreateWindow(1);
    ChangeSettings([](TSettings& s) { s.UnitsName = "mm"; });
    form->Session().Editor().ChangeUnitsMode(TSettings::OtherUnits, "200");
    ASSERT_TRUE(form->close());
    form.reset();

    const std::vector<std::string> held{"BG", "EN", "SD300", "AL-20", "MV2001"};
    simulator.SetProgram(1, held);
    const QString file = folder.File("Users/mm.kvt");
    const TResult r = Run({"read", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString() << r.out.toStdString();
    const QStringList lines = LoadLinesFromFile(file, true);
    EXPECT_EQ(lines, (QStringList{"LD1", "BG", "EN", "SD300", "AL-20", "MV2001", "ED"}));
    const QStringList descriptions = LoadLinesFromFile(folder.File("Users/mm._kvt"), true);
    ASSERT_EQ(descriptions.size(), lines.size());
    EXPECT_TRUE(descriptions[3].contains("1.5 mm")) << descriptions[3].toStdString();
    EXPECT_TRUE(descriptions[5].contains("10.005 mm")) << descriptions[5].toStdString();
    const TResult shown = Run({"read"});
    EXPECT_TRUE(shown.lines.contains("MV2001\t" + descriptions[5])) << shown.out.toStdString();

    EXPECT_EQ(Run({"verify", file}).status, 0) << "steps compared with steps";
    simulator.SetProgram(1, {});
    const TResult back = Run({"send", file});
    ASSERT_EQ(back.status, 0) << back.err.toStdString();
    EXPECT_EQ(Program(1), held) << "the same program, not one 200 times longer";
}

TEST_F(KvtctlFixture, ALineLostMidListToldItsEndBeforeTheLossWithTheRecordingItLeft) {
    kvtsim::Options options = FastMotions();
    options.hangUpAfter = 3; // gone with EN on its way
    simulator.SetOptions(options);
    // Only the loss ends it: no reply time runs out first on a busy machine.
    TSettings slow;
    slow.ReplyTime = 60000;
    TSettingsFiles(TProgramPaths(folder.Path())).WriteErrorSettings(slow);
    const TResult r = Run({"--json", "send", "--plain", "-"}, "LD1\nBG\nEN\nMV100\nED\n");
    EXPECT_EQ(r.status, 3) << r.err.toStdString();
    QStringList order, texts; // the events in the order told
    QJsonObject end;
    for (const QString& line : r.lines) {
        const QJsonObject event = Json(line);
        texts << event["text"].toString();
        order << event["event"].toString() + ":" + event["text"].toString().left(12);
        if (event["event"].toString() == "end")
            end = event;
    }
    EXPECT_EQ(end["outcome"].toString(), "line-lost") << r.out.toStdString();
    EXPECT_EQ(end["line"].toInt(), 3);
    EXPECT_EQ(end["sent"].toInt(), 3) << "the line on its way went out, and is counted so";
    EXPECT_EQ(end["recording"].toInt(), 1) << "the channel left recording";
    const auto at = [&](const QString& start) {
        for (qsizetype i = 0; i < order.size(); ++i) {
            if (order[i].startsWith(start))
                return i;
        }
        return qsizetype(-1);
    };
    const qsizetype told = at("end:");
    ASSERT_GE(told, 0);
    EXPECT_LT(at("answer:"), told) << order.join('\n').toStdString();
    const qsizetype loss = at("log:" + English(::Ext::ConnectionLost).left(12));
    ASSERT_GE(loss, 0) << order.join('\n').toStdString();
    EXPECT_LT(told, loss) << "the end before the loss: " << order.join('\n').toStdString();
    EXPECT_TRUE(texts.contains(English(::Ext::LineLostInFlight).arg("EN"))) << r.out.toStdString();
    EXPECT_FALSE(texts.contains(English(::Ext::StatesLastKnown))) << "no advice meant for the window";
}

TEST_F(KvtctlFixture, SendRefusesAListThatWouldLeaveTheControllerRecordingUnlessTold) {
    const QString open = ProgramFile("open", {"LD2", "BG", "MV100"});
    const TResult refused = Run({"send", open});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("Line 1 (LD2)")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--open-recording"));
    EXPECT_TRUE(simulator.Commands().empty()) << "nothing was sent";

    const TResult sent = Run({"send", open, "--open-recording"});
    EXPECT_EQ(sent.status, 0) << sent.err.toStdString();
    EXPECT_EQ(simulator.Commands().size(), 3u);
    EXPECT_EQ(Run({"read", "--open-recording"}).status, 2) << "an option of send only";
}

TEST_F(KvtctlFixture, VerifyChecksEveryChannelTheFileWritesAndNamesEach) {
    simulator.SetProgram(1, {"BG", "SD400", "EN"});
    simulator.SetProgram(3, {"SD200", "MV5"});
    const TResult same = Run({"verify", ProgramFile("same", {"LD1", "BG", "SD400", "EN", "ED"})});
    EXPECT_EQ(same.status, 0) << same.out.toStdString();
    EXPECT_TRUE(same.out.contains("coordinate 1", Qt::CaseInsensitive)) << same.out.toStdString();

    // Channel 1 matches, channel 3 differs at its second command: both are told, the call fails.
    const TResult differs =
        Run({"--json", "verify",
             ProgramFile("two", {"LD1", "BG", "SD400", "EN", "ED", "LD3", "SD200", "MV6", "ED"})});
    EXPECT_EQ(differs.status, 1);
    QList<QJsonObject> verdicts;
    for (const QString& line : differs.lines) {
        if (Json(line)["event"].toString() == "verify")
            verdicts.append(Json(line));
    }
    ASSERT_EQ(verdicts.size(), 2) << differs.out.toStdString();
    EXPECT_EQ(verdicts[0]["channel"].toInt(), 1);
    EXPECT_EQ(verdicts[0]["outcome"].toString(), "same");
    EXPECT_EQ(verdicts[1]["channel"].toInt(), 3);
    EXPECT_EQ(verdicts[1]["outcome"].toString(), "differs");
    EXPECT_EQ(verdicts[1]["line"].toInt(), 2);
    EXPECT_EQ(verdicts[1]["text"].toString(), "MV6");
    EXPECT_EQ(verdicts[1]["answer"].toString(), "MV5");

    const TResult third = Run({"read", "--channel", "3"});
    EXPECT_EQ(third.status, 0) << third.err.toStdString();
    QStringList thirdLines;
    for (const QString& line : third.lines)
        thirdLines << line.section('\t', 0, 0); // the line, then its description
    EXPECT_EQ(thirdLines, (QStringList{"LD3", "SD200", "MV5", "ED"}));
    EXPECT_EQ(Run({"read", "--channel", "4"}).status, 2);
    EXPECT_EQ(Run({"verify", "--channel", "2", ProgramFile("same", {"LD1", "ED"})}).status, 2)
        << "verify reads every channel its file writes";
}

TEST_F(KvtctlFixture, RunButtonSendsAUserButtonByNameAndRefusesABadOneBeforeSending) {
    folder.Write("Data/user-buttons.txt", "# made in the window\n[Start two]\nst 2\nSD 300\n[Bad]\nSD0\n");
    const TResult run = Run({"run-button", "START TWO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"ST2", "SD300"}));

    const struct {
        QStringList arguments;
        int status;
    } refused[] = {{{"run-button", "Bad"}, 1}, {{"run-button", "nobody"}, 1}, {{"run-button"}, 2}};
    for (const auto& r : refused) {
        const TResult result = Run(r.arguments);
        EXPECT_EQ(result.status, r.status) << r.arguments.join(' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty());
    }
    EXPECT_EQ(simulator.Commands().size(), 2u) << "nothing more was sent";
}

TEST_F(KvtctlFixture, ItWritesItsActionsIntoTheJournalBesideTheWindowAndReadsThemBack) {
    // The window's session appends at the same time as kvtctl does: no record lost, none cut.
    TJournalFiles window(folder.File("Data/journal"));
    const QString file = ProgramFile("j", {"LD3", "BG", "MV10", "ED", "ST3"});
    QProcess process;
    process.start(KVTCTL, Arguments({"send", file}));
    ASSERT_TRUE(process.waitForStarted());
    int appended = 0;
    while (process.state() != QProcess::NotRunning || appended < 200) {
        ASSERT_TRUE(window.Append({QDateTime::currentDateTime(), "window", "scale", 0, {{"n", appended}}}));
        ++appended;
        process.waitForFinished(1);
    }
    EXPECT_EQ(Collect(process).status, 0);
    folder.Write("Data/user-buttons.txt", "[Two]\nSD 300\n");
    ASSERT_EQ(Run({"run-button", "Two"}).status, 0);
    ASSERT_EQ(Run({"verify", file}).status, 0);

    const TResult all = Run({"--json", "journal"});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    QStringList kvtctl;
    int windows = 0;
    for (const QString& line : all.lines) {
        const QJsonObject record = Json(line);
        ASSERT_FALSE(record["time"].toString().isEmpty()) << line.toStdString();
        if (record["who"] == "window")
            EXPECT_EQ(record["n"].toInt(), windows++) << "in order";
        else
            kvtctl << record["kind"].toString();
    }
    EXPECT_EQ(windows, appended);
    for (const char* kind : {"opened", "write", "write-end", "start", "closed", "button", "verify"})
        EXPECT_TRUE(kvtctl.contains(kind)) << kind << " in " << kvtctl.join(' ').toStdString();

    // Filters: a coordinate's events, and none before a day to come.
    const TResult three = Run({"journal", "--channel", "3"});
    ASSERT_FALSE(three.lines.isEmpty());
    for (const QString& line : three.lines)
        EXPECT_TRUE(line.contains("coordinate 3")) << line.toStdString();
    EXPECT_TRUE(Run({"journal", "--since", "2999-01-01"}).lines.isEmpty());
    EXPECT_EQ(Run({"journal", "--since", "yesterday"}).status, 2);
    // Switched off in the program settings, kvtctl adds nothing.
    folder.Write("Data/extra-settings.txt", "journal=off\r\n");
    const int before = Run({"journal"}).lines.size();
    ASSERT_EQ(Run({"command", "SD100"}).status, 0);
    EXPECT_EQ(Run({"journal"}).lines.size(), before);
}

TEST_F(KvtctlFixture, SendFromALineOrWhereTheJournalSaysItStoppedStartsAProgramAtItsLD) {
    const QStringList list{"SD200", "LD1", "BG", "ST1", "MV100", "ED", "SD300"};
    const QString file = ProgramFile("r", list);
    // Line 5 lies inside LD1 ... ED: the program is sent whole, from its LD.
    const TResult from = Run({"--json", "send", file, "--from-line", "5"});
    EXPECT_EQ(Json(from.lines.first())["line"].toInt(), 2) << from.out.toStdString();
    ASSERT_TRUE(simulator.WaitForCommands(4, 10000));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "BG", "ST1", "ED"}))
        << "ST1 inside a recording is refused; the recording ended";

    // --resume: from the LD of the program its last sending stopped inside.
    const size_t before = simulator.Commands().size();
    const TResult resumed = Run({"--json", "send", file, "--resume"});
    EXPECT_EQ(Json(resumed.lines.first())["line"].toInt(), 2) << resumed.out.toStdString();
    EXPECT_EQ(Json(resumed.lines.first())["asked"].toInt(), 4);
    ASSERT_TRUE(simulator.WaitForCommands(before + 3, 10000));
    EXPECT_EQ(simulator.Commands()[before], "LD1");

    // Refused, nothing sent: a file changed since, a file whose last sending ended well, a line
    // beyond the list.
    const QStringList fixed{"SD200", "LD1", "BG", "MV100", "ED", "SD300"};
    ProgramFile("r", fixed);
    const size_t sent = simulator.WaitForCommands(before + 4, 10000) ? simulator.Commands().size() : 0;
    const TResult changed = Run({"send", file, "--resume"});
    EXPECT_EQ(changed.status, 1);
    EXPECT_TRUE(changed.err.contains("changed")) << changed.err.toStdString();
    ASSERT_EQ(Run({"send", file}).status, 0);
    const TResult done = Run({"send", file, "--resume"});
    EXPECT_EQ(done.status, 1);
    EXPECT_TRUE(done.err.contains("nothing to resume")) << done.err.toStdString();
    EXPECT_EQ(Run({"send", file, "--from-line", "7"}).status, 2);
    EXPECT_EQ(Run({"send", file, "--from-line", "2", "--resume"}).status, 2);
    // The preview of the part: the program of coordinate 1 and the move after it, from line 3.
    const TResult part = Run({"--json", "preview", file, "--from-line", "3"});
    EXPECT_EQ(part.status, 0) << part.err.toStdString();
    EXPECT_EQ(Json(part.lines.first())["line"].toInt(), 2) << part.out.toStdString();
    EXPECT_EQ(simulator.Commands().size(), sent + fixed.size()) << "only the whole sending went out";
}

TEST_F(KvtctlFixture, ADeviceIsNamedAsGivenEachErrorIsSaidOnceAndJsonEventsCarryTheirTime) {
    // The window's option of a time before each log line stays the window's.
    CreateWindow(1);
    ChangeSettings([](TSettings& s) { s.LogTimes = true; });
    ASSERT_TRUE(form->close());
    form.reset();

    const QString missing = folder.File("no-such-tty");
    QProcess process;
    process.start(KVTCTL, {"--folder", folder.Path(), "--device", missing, "command", "SD5"});
    ASSERT_TRUE(process.waitForFinished(60000));
    const TResult refused = Collect(process);
    EXPECT_EQ(refused.status, 3);
    const QString said = English(Ext::DeviceCannotOpen).arg(missing, English(Ext::NoSuchDevice));
    EXPECT_EQ(refused.err.count(said), 1) << refused.err.toStdString();
    EXPECT_FALSE(refused.out.contains(said)) << "said once, on the error output";
    EXPECT_FALSE(refused.err.contains("COM")) << "a device given outright has no port number";

    // A text file given as a program pair is said to be text, and nothing is sent.
    folder.Write("Users/list.txt", "LD1\nSD100\nED\n");
    const TResult text = Run({"send", folder.File("Users/list.txt")});
    EXPECT_EQ(text.status, 4);
    EXPECT_TRUE(text.err.contains("plain text") && text.err.contains("--plain")) << text.err.toStdString();
    EXPECT_EQ(text.err.count("kvtctl:"), 1) << text.err.toStdString();
    EXPECT_TRUE(simulator.Commands().empty());

    const TResult sent = Run({"--json", "command", "SD5"});
    ASSERT_EQ(sent.status, 0) << sent.err.toStdString();
    for (const QString& line : sent.lines) {
        const QJsonObject event = Json(line);
        const QDateTime time = QDateTime::fromString(event["time"].toString(), Qt::ISODateWithMs);
        EXPECT_TRUE(time.isValid()) << line.toStdString();
        EXPECT_LT(std::abs(time.secsTo(QDateTime::currentDateTime())), 600) << line.toStdString();
        if (event["event"].toString() == "log") {
            EXPECT_FALSE(event["text"].toString().contains(QRegularExpression("^\\d\\d:\\d\\d:")))
                << line.toStdString();
        }
    }
}

TEST_F(KvtctlFixture, WaitStartsAChannelAndReturnsOnItsCompletion) {
    simulator.SetProgram(2, {"BG", "SD1000", "MV500", "EN"});
    const TResult r = Run({"--json", "wait", "2", "--start", "--timeout", "60"});
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    QJsonObject report;
    for (const QString& line : r.lines) {
        if (Json(line)["event"].toString() == "report")
            report = Json(line);
    }
    EXPECT_EQ(report["outcome"].toString(), "completed");
    EXPECT_EQ(report["answer"].toString(), "E24*");
    EXPECT_FALSE(simulator.Running(2));
}

TEST_F(KvtctlFixture, TerminationStopsAfterTheLineBeingSentAndSaysWhere) {
    // Every answer takes 20 ms, so that the stop comes in the middle of the list.
    kvtsim::Options slow = FastMotions();
    slow.replyDelayMs = 20;
    simulator.SetOptions(slow);
    QByteArray list;
    for (int i = 1; i <= 2000; ++i)
        list += "SD" + QByteArray::number(i) + "\n";
    QProcess process;
    process.start(KVTCTL, Arguments({"--json", "send", "--plain", "-"}));
    ASSERT_TRUE(process.waitForStarted());
    process.write(list);
    ASSERT_TRUE(process.waitForBytesWritten(60000));
    process.closeWriteChannel();
    ASSERT_TRUE(simulator.WaitForCommands(20, 60000));
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(120000));
    const TResult r = Collect(process);
    EXPECT_EQ(r.status, 130) << r.err.toStdString();

    const QJsonObject end = Json(r.lines.last());
    ASSERT_EQ(end["event"].toString(), "end") << r.out.toStdString();
    EXPECT_EQ(end["outcome"].toString(), "stopped");
    const int sent = end["sent"].toInt();
    std::vector<std::string> expected;
    for (int i = 1; i <= sent; ++i)
        expected.push_back("SD" + std::to_string(i));
    EXPECT_EQ(simulator.Commands(), expected) << "the lines received are exactly those before the stop";
    int answers = 0;
    for (const QString& line : r.lines) {
        const QJsonObject event = Json(line);
        ASSERT_FALSE(event.isEmpty()) << "not a JSON object: " << line.toStdString();
        if (event["event"].toString() == "answer") {
            EXPECT_EQ(event["line"].toInt(), ++answers);
        }
    }
    EXPECT_EQ(answers, sent) << "every line sent has its answer";
    EXPECT_LT(sent, 2000);
}

TEST_F(KvtctlFixture, BadArgumentsAndUnreadableFilesHaveTheirOwnStatus) {
    const TResult unknown = Run({"sendd", "x.kvt"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("--help")) << unknown.err.toStdString();
    const TResult channel = Run({"wait", "4"});
    EXPECT_EQ(channel.status, 2) << channel.err.toStdString();

    const TResult missing = Run({"send", folder.File("Users/none.kvt")});
    EXPECT_EQ(missing.status, 4);
    EXPECT_TRUE(missing.err.contains("none")) << missing.err.toStdString();
    EXPECT_TRUE(simulator.Commands().empty());
}

TEST_F(KvtctlFixture, PreviewPrintsTheFiguresAndFailsOnlyWhenATravelIsLeft) {
    const QString file = ProgramFile("loop", {"LD1", "SD100", "DL", "LL", "MV100", "JP9", "ED"});
    const TResult within = Run({"--json", "preview", file, "--max", "1000"});
    EXPECT_EQ(within.status, 0) << within.err.toStdString();
    ASSERT_GE(within.lines.size(), 2);
    const QJsonObject program = Json(within.lines[0]);
    EXPECT_EQ(program["event"].toString(), "program");
    EXPECT_EQ(program["channel"].toInt(), 1);
    EXPECT_EQ(program["moves"].toInt(), 10);
    EXPECT_EQ(program["highest"].toInt(), 1000);
    EXPECT_DOUBLE_EQ(program["seconds"].toDouble(), 10);
    EXPECT_TRUE(program["leavesTravelAt"].isNull());
    EXPECT_EQ(Json(within.lines.last())["findings"].toInt(), 0);

    const TResult beyond = Run({"--json", "preview", file, "--min", "0", "--max", "550"});
    EXPECT_EQ(beyond.status, 1);
    QJsonObject finding;
    for (const QString& line : beyond.lines) {
        if (Json(line)["event"].toString() == "finding")
            finding = Json(line);
    }
    EXPECT_EQ(finding["kind"].toString(), "leaves-travel") << beyond.out.toStdString();
    EXPECT_EQ(finding["line"].toInt(), 5);
    EXPECT_TRUE(simulator.Commands().empty()) << "a preview talks to no controller";
}

TEST_F(KvtctlFixture, SendRefusesAProgramLeavingTheFoldersTravelUnlessTold) {
    folder.Write("Data/extra-settings.txt", "travel1=on 0 500\r\n");
    const QByteArray list = "LD1\nSD10000\nDL\nMV600\nED\n";
    const TResult refused = Run({"send", "--plain", "-"}, list);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("--beyond-travel")) << refused.err.toStdString();
    EXPECT_TRUE(simulator.Commands().empty());

    const TResult sent = Run({"send", "--plain", "-", "--beyond-travel"}, list);
    EXPECT_EQ(sent.status, 0) << sent.err.toStdString();
    EXPECT_EQ(Program(1), (std::vector<std::string>{"SD10000", "DL", "MV600"}));
}

TEST_F(KvtctlFixture, StandardInputIsReadToItsEndAndAnythingDamagedIsRefused) {
    // The list comes in two writes with a pause between: nothing goes out before its end.
    QProcess process;
    process.start(KVTCTL, Arguments({"send", "--plain", "-"}));
    ASSERT_TRUE(process.waitForStarted());
    process.write("LD1\nSD100\n");
    ASSERT_TRUE(process.waitForBytesWritten(10000));
    QThread::msleep(500);
    EXPECT_TRUE(simulator.Commands().empty()) << "sent before standard input ended";
    process.write("DL\nMV5\nED\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(Program(1), (std::vector<std::string>{"SD100", "DL", "MV5"}));

    const struct {
        const char* what;
        QStringList arguments;
        QByteArray input;
        QString said; // part of the refusal
    } refused[] = {
        {"too large", {"send", "--plain", "-"}, QByteArray(17 << 20, 'A'), English(::Ext::FileTooLarge)},
        {"too many lines", {"send", "--plain", "-"}, QByteArray("MV1\n").repeated(70000), "70000"},
        {"a zero byte", {"send", "--plain", "-"}, QByteArray("LD1\nSD1\0\nMV5\nED\n", 16), "zero byte"},
    };
    for (const auto& r : refused) {
        const TResult result = Run(r.arguments, r.input);
        EXPECT_EQ(result.status, 4) << r.what;
        EXPECT_TRUE(result.err.contains(r.said)) << r.what << ": " << result.err.toStdString();
    }

    // Files: a pair cut inside its last line, plain text given as a pair, a FIFO, a missing one.
    QByteArray cut("LD1\r\nMV12");
    for (char& c : cut)
        c = char(quint8(c) + 93);
    folder.Write("Users/cut.kvt", cut);
    SaveLinesToFile(folder.File("Users/cut._kvt"), {"a", "b"}, true);
    folder.Write("Users/text.kvt", "LD1\nMV5\nED\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.File("Users/pipe.txt")).constData(), 0600), 0);
    const struct {
        QStringList arguments;
        QString said;
    } files[] = {
        {{"send", folder.File("Users/cut.kvt")},
         English(::Ext::FileCutShort).arg(folder.File("Users/cut.kvt"))},
        {{"send", folder.File("Users/text.kvt")}, "--plain"},
        {{"send", "--plain", folder.File("Users/pipe.txt")}, English(::Ext::NotARegularFile)},
        {{"send", folder.File("Users/nofile.kvt")}, "\"" + folder.File("Users/nofile.kvt") + "\""},
    };
    for (const auto& f : files) {
        const TResult result = Run(f.arguments);
        EXPECT_EQ(result.status, 4) << f.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(f.said)) << result.err.toStdString();
    }
    EXPECT_EQ(simulator.Commands().size(), 5u) << "nothing sent of a refused file";
}

TEST_F(KvtctlFixture, AStatusThatComesAfterACallEndedIsNotTakenByTheNextCall) {
    simulator.Stop();
    ScriptedController controller;
    ASSERT_TRUE(controller.Start(folder.File("ports/COM1"), [](const std::string& command, int) {
        using R = ScriptedController::TReply;
        if (command == "MV2")
            return std::vector<R>{{0, "MV2*"}, {800, "E10*"}}; // after the call gave up
        if (command == "MV3")
            return std::vector<R>{{0, "MV3*"}}; // an echo, and no status of its own
        return std::vector<R>{{0, command + "*E10*"}};
    }));
    const TResult first = Run({"--reply-time", "300", "send", "--plain", "-"}, "MV1\nMV2\n");
    EXPECT_EQ(first.status, 1) << first.out.toStdString();
    const TResult second = Run({"--reply-time", "300", "send", "--plain", "-"}, "MV3\n");
    EXPECT_EQ(second.status, 1) << "MV3 had no status of its own: " << second.out.toStdString();
    EXPECT_EQ(controller.Commands(), (std::vector<std::string>{"MV1", "MV2", "MV3"}));
}

TEST_F(KvtctlFixture, ALostDeviceEndsTheCallAndAClosedOutputStopsIt) {
    // wait: the program runs on; the plug is pulled.
    simulator.SetProgram(1, {"BG", "SD1", "DL", "MV1000000"}); // days, even at a hundredth
    QProcess waiting;
    waiting.start(KVTCTL, Arguments({"wait", "1", "--start"}));
    ASSERT_TRUE(waiting.waitForStarted());
    ASSERT_TRUE(WaitUntil([&] { return simulator.Running(1); }, 30000));
    simulator.HangUp();
    ASSERT_TRUE(waiting.waitForFinished(60000)) << "it never ended";
    EXPECT_EQ(waiting.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(waiting.exitCode(), 3);
    simulator.Stop();

    // send ... | head: the reader goes away inside a recording; the list stops after the line
    // being sent, "ED*" ends the recording, and the call ends as a stop does.
    kvtsim::Simulator second;
    kvtsim::Options slow = FastMotions();
    slow.replyDelayMs = 5;
    second.SetOptions(slow);
    ASSERT_TRUE(second.Start(folder.File("ports/COM1").toStdString()));
    QByteArray list = "LD1\n";
    for (int i = 1; i <= 2000; ++i)
        list += "SP" + QByteArray::number(i) + "\n";
    list += "ED\n";
    folder.Write("Users/list.txt", list);
    // As a shell runs it: the reader (head) ends after three lines.
    QProcess shell;
    shell.start("bash", {"-c", QString("\"%1\" %2 < \"%3\" | head -3 >/dev/null; echo ${PIPESTATUS[0]} >&2")
                                   .arg(KVTCTL, Arguments({"send", "--plain", "-"}).join(' '),
                                        folder.File("Users/list.txt"))});
    ASSERT_TRUE(shell.waitForFinished(120000));
    const QString status = QString::fromLocal8Bit(shell.readAllStandardError()).trimmed();
    EXPECT_EQ(status.split('\n').last(), "130") << "not killed by SIGPIPE (141), stopped as a stop is";
    // The ED* that ends the recording went out before kvtctl ended; here once the line has
    // carried it.
    ASSERT_TRUE(WaitUntil([&] {
        const auto c = second.Commands();
        return !c.empty() && c.back() == "ED";
    })) << "the recording was not ended";
    const auto commands = second.Commands();
    EXPECT_LT(commands.size(), 2002u) << "stopped before the list's own ED";
    EXPECT_GE(commands.size(), 3u);
}

TEST_F(KvtctlFixture, NumbersThatNoTimerOrRangeCanHoldAreBadArguments) {
    for (const QStringList& arguments :
         {QStringList{"wait", "1", "--timeout", "3000000"},
          QStringList{"--reply-time", "nan", "command", "BG"},
          QStringList{"preview", "x.kvt", "--min", "nan"}, QStringList{"send", "x.kvt", "--timeout", "5"}}) {
        const TResult r = Run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_TRUE(simulator.Commands().empty());
}

TEST_F(KvtctlFixture, ItsWordsAreAScriptsAndEachFailureHasItsOwnStatus) {
    // A shell's call: its status, and what it said on each stream.
    const auto shell = [&](const QString& call) {
        QProcess bash;
        bash.start("bash", {"-c", call});
        EXPECT_TRUE(bash.waitForFinished(120000));
        return TResult{bash.exitCode(),
                       QString::fromLocal8Bit(bash.readAllStandardOutput()),
                       QString::fromLocal8Bit(bash.readAllStandardError()),
                       {}};
    };
    const QString kvtctl = "\"" + QString(KVTCTL) + "\" " + Arguments({}).join(' ') + " ";
    folder.Write("Data/user-buttons.txt", "HM\n[Home]\nHM\n");
    simulator.SetProgram(1, {"SD100"});
    const struct {
        QString call;
        int status;
        QString said;   // on standard error
        QString unsaid; // nowhere
    } cases[] = {
        {kvtctl + "read > /dev/full", 4, English(::Ext::OutputNotWritten).section('%', 0, 0), {}},
        {kvtctl + "read >&-", 4, English(::Ext::OutputNotWritten).section('%', 0, 0), {}},
        {kvtctl + "send --plain - <&-", 4, English(::Ext::StandardInputClosed), {}},
        {kvtctl + "wait 1 --timeout 0.3", 5, {}, {}},
        {kvtctl + "run-button Home", 4, English(::Ext::UserButtonsDamagedCli).section('%', 0, 0),
         English(::Ext::UserButtonNotFound).section('%', 0, 0)},
    };
    for (const auto& c : cases) {
        const TResult r = shell(c.call);
        EXPECT_EQ(r.status, c.status) << c.call.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.said)) << c.call.toStdString() << ": " << r.err.toStdString();
        if (!c.unsaid.isEmpty()) {
            EXPECT_FALSE((r.out + r.err).contains(c.unsaid)) << c.call.toStdString();
        }
    }
    // A name beyond any button's is cut where it is named.
    folder.Write("Data/user-buttons.txt", "[Home]\nHM\n");
    const TResult longName = Run({"run-button", QString(400, 'x')});
    EXPECT_EQ(longName.status, 1);
    EXPECT_TRUE(longName.err.contains(QString(40, 'x')));
    EXPECT_FALSE(longName.err.contains(QString(200, 'x'))) << longName.err.toStdString();
    // Under --json a refusal is an event on standard output too.
    const TResult json = Run({"--json", "send", folder.File("Users/none.kvt")});
    EXPECT_EQ(json.status, 4);
    ASSERT_FALSE(json.lines.isEmpty());
    EXPECT_EQ(Json(json.lines.last())["event"].toString(), "error");
}
