// What goes down the wire and a log worth handing in: a list stopped inside a recording ends it
// with "ED*"; the time before each log line on and off, in the window and the saved text; "Save
// log as..." with red lines marked and "Clear log" that keeps the files whole; each session's
// copies of the logs, the oldest removed beyond their count.
#include "LogMenus.h"
#include "ProgramPreviewWindow.h"
#include "UnitProgProp.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/ExtendedPanel.h"
#include "settings/LogFiles.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <QToolButton>

namespace {

class LogsFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
        AllowSlowAnswers();
    }
    // A list that records a program of `pauses` lines into channel 1.
    static QStringList Recording(int pauses) {
        QStringList lines{"LD1"};
        for (int i = 1; i <= pauses; ++i)
            lines << "SP" + QString::number(i);
        return lines << "ED";
    }
    // Turns the time before each log line on or off, as the program settings dialog does.
    void SetLogTimes(bool on) {
        form->mmNastrLogs->trigger();
        auto* dialog = Dialog<TFormProgProp>();
        ASSERT_TRUE(dialog);
        dialog->chbLogTimes->setChecked(on);
        dialog->btnOKClick();
    }
    QStringList ReplyLines() const { return form->ExtendedPanel->lbBufRead->Items(); }
    static QStringList FileLines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }
};

const QRegularExpression kStamped(R"(^\d\d:\d\d:\d\d\.\d\d\d )");

} // namespace

TEST_F(LogsFixture, AListStoppedInsideARecordingEndsItWithED) {
    const QStringList list = Recording(20000);
    SendList(list);
    ASSERT_TRUE(simulator.WaitForCommands(5, 30000));
    W<QPushButton>("btnStopSending")->click();
    ASSERT_TRUE(WaitForEnd());
    // "ED*" went out after the stop; its answer ends the communication mode.
    ASSERT_TRUE(WaitUntil([&] { return Coords().State(1) != TChannelState::Communication; }, 30000));
    const auto received = simulator.Commands();
    ASSERT_LT(received.size(), size_t(list.size())) << "stopped before the list's own ED";
    EXPECT_EQ(received.back(), "ED");
    EXPECT_TRUE(LogLines().contains(Ext(Ext::RecordingLeftOpen).arg(1)));
    // What the channel holds now: the program's lines the controller took before the stop.
    const int stored = int(simulator.Program(1).size());
    EXPECT_GT(stored, 0);
    const QString shorter = Ext(Ext::RecordingShorter).arg(1).arg(stored).arg(list.size() - 2);
    EXPECT_TRUE(LogLines().contains(shorter)) << LogLines().join('\n').toStdString();
    // The preview says it too, beside the program the list writes.
    form->mmPreview->trigger();
    auto* preview = Dialog<TProgramPreviewWindow>();
    ASSERT_NE(preview, nullptr);
    preview->Refresh();
    EXPECT_TRUE(preview->lblNotes->text().contains(shorter)) << preview->lblNotes->text().toStdString();
    preview->close();

    // The next recording is taken, not refused as an incorrect command.
    SendList({"LD1", "SP5", "ED"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Program(1), std::vector<std::string>{"SP5"});

    // A controller that falls silent inside a recording: "ED*" is sent, and the log says that
    // the channel may still be recording.
    SetReplyTime(300);
    SendList(list);
    ASSERT_TRUE(simulator.WaitForCommands(received.size() + 10, 30000));
    kvtsim::Options silent = simulator.GetOptions();
    silent.silent = true;
    simulator.SetOptions(silent);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(LogLines().contains(Ext(Ext::RecordingMayRemain).arg(1)));
    // Written by the program at the end; here once the line has carried it.
    EXPECT_TRUE(WaitUntil([&] { return simulator.Commands().back() == "ED"; }, 10000));
}

TEST_F(LogsFixture, TheProgramEndsARecordingOnlyAfterAWholeListItSent) {
    // Direct Control builds the recording command by command: a command left unanswered inside
    // it is no reason to end it, and the next command is recorded.
    SetReplyTime(300);
    W<QCheckBox>("chbDirectControl")->click();
    W<QToolButton>("btnLD1")->click();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(Coords().State(1), TChannelState::Communication);
    kvtsim::Options options = simulator.GetOptions();
    options.silent = true;
    simulator.SetOptions(options);
    W<QToolButton>("btnDL")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(LogLines().contains(M(Msg::NoReply)));
    EXPECT_EQ(simulator.Commands().back(), "DL") << "no ED* of the program's own";
    EXPECT_EQ(Coords().State(1), TChannelState::Communication);
    options.silent = false;
    simulator.SetOptions(options);
    W<QToolButton>("btnDR")->click();
    ASSERT_TRUE(WaitForEnd());
    W<QToolButton>("btnED")->click();
    ASSERT_TRUE(WaitForEnd());
    const auto program = simulator.Program(1);
    EXPECT_TRUE(!program.empty() && program.back() == "DR") << "recorded, not run";
    W<QCheckBox>("chbDirectControl")->click();

    // With the automatic recovery off, a communication error is logged and shown; nothing is
    // sent, and the recording stays as the controller has it.
    ChangeSettings([](TSettings& s) { s.AutoRecovery = false; });
    const size_t before = simulator.Commands().size();
    options.commErrorEvery = int(before) + 3; // the third command of the list
    simulator.SetOptions(options);
    SendList({"LD1", "SP1", "SP2", "SP3", "ED"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return dialogs.messages.contains(M(Msg::DataTransferError)); }));
    RunEventsFor(600); // a recovery would send its ED* after 200 ms
    const auto sent = simulator.Commands();
    EXPECT_EQ(sent.size(), before + 3) << "LD1, SP1 and SP2, then nothing";
    EXPECT_EQ(sent.back(), "SP2");
    EXPECT_TRUE(LogLines().contains(M(Msg::DataTransferError)));
}

TEST_F(LogsFixture, TheTimeGoesBeforeEachLineWhenChosenAndSavedLogsMarkTheRedLines) {
    ChangeSettings([](TSettings& s) { s.ShowPortLog = true; }); // the reply list in view
    Session().Logs().Log("plain before");
    EXPECT_FALSE(kStamped.match(LogLines().last()).hasMatch());
    SetLogTimes(true);
    Session().Logs().Log("stamped");
    Session().Logs().Log("stamped red", true);
    EXPECT_TRUE(kStamped.match(LogLines().last()).hasMatch()) << LogLines().last().toStdString();
    EXPECT_TRUE(LogLines().last().endsWith("stamped red"));
    SendList({"DL"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return ReplyLines().join("").contains("DL*"); }));
    RunEventsFor(20);
    const QStringList replies = ReplyLines();
    const auto stamped = std::count_if(replies.begin(), replies.end(), [](const QString& l) {
        return kStamped.match(l).hasMatch() && l.contains("DL*");
    });
    EXPECT_EQ(stamped, 1) << replies.join(" | ").toStdString();
    // The reply list makes room for its column of times: a reply is as readable as without.
    QWidget* replyPanel = W<QWidget>("panelPortAns");
    EXPECT_EQ(replyPanel->width(), 105 + form->ExtendedPanel->lbBufRead->StampWidth());

    // Saved as text: the red line is marked, the time stays before each line.
    const QString saved = folder.File("Users/handed-in.txt");
    dialogs.fileAnswers = {saved};
    form->LogMenus->pmSaveLog->trigger();
    const QStringList lines = FileLines(saved);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.contains("plain before"));
    const auto red =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.endsWith("stamped red"); });
    ASSERT_NE(red, lines.end());
    EXPECT_TRUE(red->startsWith("! ")) << red->toStdString();
    EXPECT_TRUE(kStamped.match(red->mid(2)).hasMatch());

    // Off again: the lines after are as they always were, the reply list as described.
    SetLogTimes(false);
    Session().Logs().Log("plain after");
    EXPECT_EQ(LogLines().last(), "plain after");
    EXPECT_EQ(replyPanel->width(), 105);
}

TEST_F(LogsFixture, ClearLogEmptiesTheViewsAndTheSavedLogsKeepEverything) {
    Session().Logs().Log("the first line");
    SendList({"DL"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return ReplyLines().join("").contains("DL*"); }));
    form->LogMenus->pmClearLog->trigger();
    form->LogMenus->pmClearReplies->trigger();
    RunEventsFor(20);
    EXPECT_EQ(form->MemoLog->LineCount(), 0);
    EXPECT_FALSE(ReplyLines().join("").contains("DL*"));

    SendList({"DR"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return ReplyLines().join("").contains("DR*"); })) << "new replies are shown";

    const QString replies = folder.File("Users/replies.txt");
    dialogs.fileAnswers = {replies};
    form->LogMenus->pmSaveReplies->trigger();
    const QString text = FileLines(replies).join("");
    EXPECT_TRUE(text.contains("DL*")) << "cleared from the view, not from the session";
    EXPECT_TRUE(text.contains("DR*"));
    const QString log = folder.File("Users/log.txt");
    dialogs.fileAnswers = {log};
    form->LogMenus->pmSaveLog->trigger();
    EXPECT_TRUE(FileLines(log).contains("the first line"));
}

TEST_F(LogsFixture, EachSessionsLogsAreKeptAndOnlyTheProgramsOwnOldestRemovedBeyondTheirCount) {
    ASSERT_TRUE(QDir().mkpath(folder.File("Log")));
    // The operator's own files, named like copies, and a copy of an earlier session that a
    // clock running ahead named in the future: only what the program wrote is its to remove.
    folder.Write("Log/2020-01-01_08-00-00_work.log", "the operator's own\r\n");
    folder.Write("Log/notes.log", "the operator's own\r\n");
    const auto sessionWithCopies = [&](int keep) {
        form->mmNastrLogs->trigger();
        auto* dialog = Dialog<TFormProgProp>();
        ASSERT_TRUE(dialog);
        dialog->chbSessionLogs->setChecked(true);
        dialog->spinSessionLogs->setValue(keep);
        dialog->btnOKClick();
        Session().Logs().Log("this session");
        ASSERT_TRUE(form->close());
    };
    QDateTime start = Session().Logs().Started();
    // Three sessions, one of them with its clock a year ahead.
    QStringList written;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            CreateWindow(1);
            start = Session().Logs().Started();
        }
        ASSERT_NO_FATAL_FAILURE(sessionWithCopies(2));
        const QString stamp = start.toString("yyyy-MM-dd_HH-mm-ss");
        written << stamp;
        if (i == 0) {
            // The first session's copies as a clock ahead would have named them.
            const QString ahead = start.addYears(1).toString("yyyy-MM-dd_HH-mm-ss");
            for (const char* kind : {"work", "port"})
                ASSERT_TRUE(QFile::rename(folder.File(QString("Log/%1_%2.log").arg(stamp, kind)),
                                          folder.File(QString("Log/%1_%2.log").arg(ahead, kind))));
            folder.Write("Log/.session-logs", (ahead + "_work.log\n" + ahead + "_port.log\n").toUtf8());
            written.last() = ahead;
        }
        QThread::msleep(1100); // the next session starts in another second: a name of its own
    }
    QStringList names = QDir(folder.File("Log")).entryList(QDir::Files, QDir::Name);
    names.removeAll("work.log");
    names.removeAll("port.log");
    // The oldest written (the one named ahead) went; the last two sessions' stayed, the
    // operator's files too.
    QStringList expected{"2020-01-01_08-00-00_work.log", "notes.log"};
    for (const QString& stamp : written.mid(1))
        expected << stamp + "_port.log" << stamp + "_work.log";
    expected.sort();
    names.sort();
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(FileLines(folder.File("Log/" + written.last() + "_work.log")).contains("this session"));
}

TEST_F(LogsFixture, TheHelperFilesOfAKilledSaveAreRemovedAtTheNextStart) {
    ASSERT_TRUE(QDir().mkpath(folder.File("Log")));
    folder.Write("Log/.work.log.kvt-new", QByteArray(1000, 'x'));
    folder.Write("Log/.2026-01-01_08-00-00_port.log.kvt-new", "x");
    folder.Write("Data/.prp.dat.kvt-new", "x");
    folder.Write("Log/.notes.txt", "the operator's own");
    EXPECT_EQ(LogFiles::RemoveLeftovers(TProgramPaths(folder.Path())), 3);
    EXPECT_TRUE(QFile::exists(folder.File("Log/.notes.txt")));
    EXPECT_FALSE(QFile::exists(folder.File("Data/.prp.dat.kvt-new")));
}

TEST_F(LogsFixture, TheProgramsOwnFilesFailingStopNoneOfTheDescribedOnes) {
    ChangeSettings([](TSettings& s) {
        s.SaveOperationLog = true;
        s.SavePortLog = true;
    });
    // The command line's history cannot be written: a folder stands where it goes.
    ASSERT_TRUE(QDir().mkpath(folder.File("Data/command-history.txt/x")));
    auto* line = W<QLineEdit>("EditCommandLine");
    line->setText("sd 300");
    QTest::keyClick(line, Qt::Key_Return);
    for (const char* file : {"Data/erp.dat", "Log/work.log", "Log/port.log"})
        QFile::remove(folder.File(file));
    dialogs.messages.clear();
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard}; // the list typed
    ASSERT_TRUE(form->close()) << "the window closes";
    for (const char* file : {"Data/portp.dat", "Data/prp.dat", "Data/erp.dat", "Log/work.log", "Log/port.log",
                             "Data/extra-settings.txt"})
        EXPECT_TRUE(QFileInfo(folder.File(file)).isFile()) << file;
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.messages.join('\n').toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains("command-history.txt")) << dialogs.messages[0].toStdString();
}

TEST_F(LogsFixture, ALinkWhereTheCommandHistoryGoesIsNotReplacedByAFile) {
    const QString elsewhere = folder.File("elsewhere.txt");
    folder.Write("elsewhere.txt", "the operator's own\n");
    ASSERT_TRUE(QFile::link(elsewhere, folder.File("Data/command-history.txt")));
    auto* line = W<QLineEdit>("EditCommandLine");
    line->setText("sd 300");
    QTest::keyClick(line, Qt::Key_Return);
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
    ASSERT_TRUE(form->close());
    EXPECT_TRUE(QFileInfo(folder.File("Data/command-history.txt")).isSymLink()) << "the link stays a link";
    QFile kept(elsewhere);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the operator's own\n") << "the file it names is untouched";
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(Ext(Ext::NotARegularFile))) << dialogs.messages[0].toStdString();
}
