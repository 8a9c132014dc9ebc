// The controls beside the described ones: the command line under the list, the user buttons
// and the Stop key, against the simulator.
#include "CaptionCheck.h"
#include "SessionRooms.h"
#include "ShortcutsWindow.h"
#include "Unit1.h"
#include "UnitChanRead.h"
#include "UserButtonsDialog.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"
#include "session/controller/Sending.h"
#include "widgets/StringGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

class MachineControlsFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        Open();
    }
    void Open() {
        CreateWindow(1);
        AllowSlowAnswers();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Restart() {
        // The list typed is the operator's work: the close asks, and it is not kept.
        dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
        ASSERT_TRUE(form->close());
        form.reset();
        Open();
    }
    QLineEdit* Line() const { return W<QLineEdit>("EditCommandLine"); }
    QStringList Lines() const { return form->Session().Editor().List().Lines(); }
    // Types `text` into the command line and presses Enter.
    void Type(const QString& text) {
        Line()->setFocus();
        Line()->clear();
        QTest::keyClicks(Line(), text);
        QTest::keyClick(Line(), Qt::Key_Return);
    }
    QByteArray ButtonsFile() const {
        QFile file(folder.File("Data/user-buttons.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(MachineControlsFixture, TheCommandLineAddsAsTheButtonsDoAndRefusesWithTheReason) {
    const struct {
        const char* typed;
        QStringList added; // what the list gains
        QString message;   // the refusal, else empty
    } cases[] = {
        {"ld 2", {"LD2", "BG", "EN"}, {}}, // with the automatic commands, as LD1
        {"sd 300", {"SD300"}, {}},
        {"  st3 ", {"ST3"}, {}},
        {"MV", {"MV"}, {}},
        {"xx5", {}, Ext(Ext::TypedUnknown).arg("xx5")},
        {"SD",
         {},
         Ext(Ext::TypedNeedsArgument)
             .arg("SD", form->Session().Commands().Entry(TKVTCommands::SD).RangeText)},
        {"bg 5", {}, Ext(Ext::TypedTakesNoArgument).arg("BG")},
        {"rd1", {}, Ext(Ext::TypedReadRequest).arg("RD")},
        {"SP 1.5", {}, M(Msg::ParameterIncorrect)},
        {"SD 0.5", {}, form->Session().Commands().Entry(TKVTCommands::SD).RangeText},
        {"SF 1.5", {}, "'1.5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        const QStringList before = Lines();
        dialogs.messages.clear();
        Type(c.typed);
        EXPECT_EQ(Lines(), before + c.added) << c.typed;
        EXPECT_TRUE(dialogs.messages.isEmpty()) << c.typed << ": no box, the line says why";
        if (c.message.isEmpty()) {
            EXPECT_TRUE(Line()->text().isEmpty()) << "an added line leaves the edit";
        } else {
            EXPECT_EQ(W<QLabel>("lblCommandMeaning")->text(), c.message) << c.typed;
            EXPECT_EQ(Line()->text(), c.typed) << "a refused line stays to be mended";
        }
    }

    // Described as typed, in the words of the list's descriptions.
    Line()->clear();
    QTest::keyClicks(Line(), "sd 300");
    EXPECT_EQ(W<QLabel>("lblCommandMeaning")->text(), M(85) + "300" + M(56));
    // Tab completes a code that only one command has, and lists the ones several have.
    Line()->clear();
    QTest::keyClicks(Line(), "j");
    QTest::keyClick(Line(), Qt::Key_Tab);
    EXPECT_EQ(Line()->text(), "JP");
    Line()->clear();
    QTest::keyClicks(Line(), "s");
    QTest::keyClick(Line(), Qt::Key_Tab);
    EXPECT_EQ(Line()->text(), "s");
    EXPECT_TRUE(W<QLabel>("lblCommandMeaning")->text().contains("SD, "))
        << W<QLabel>("lblCommandMeaning")->text().toStdString();

    // In Direct Control a typed command is sent at once, to its channel.
    W<QCheckBox>("chbDirectControl")->click();
    Type("ps 2");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().back(), "PS2");
}

TEST_F(MachineControlsFixture, TheCommandLinesHistoryWalksUpAndDownAndOutlivesARestart) {
    for (const char* typed : {"sd 300", "MV 20", "ST2"})
        Type(typed);
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(Line(), key);
        return Line()->text();
    };
    QTest::keyClicks(Line(), "SP");
    EXPECT_EQ(press(Qt::Key_Up), "ST2");
    EXPECT_EQ(press(Qt::Key_Up), "MV 20");
    EXPECT_EQ(press(Qt::Key_Up), "sd 300");
    EXPECT_EQ(press(Qt::Key_Up), "sd 300") << "the oldest stays";
    EXPECT_EQ(press(Qt::Key_Down), "MV 20");
    EXPECT_EQ(press(Qt::Key_Down), "ST2");
    EXPECT_EQ(press(Qt::Key_Down), "SP") << "what was being typed comes back";

    Type("MV 20"); // typed again: it moves to the end, not twice
    Restart();
    Line()->setFocus();
    EXPECT_EQ(press(Qt::Key_Up), "MV 20");
    EXPECT_EQ(press(Qt::Key_Up), "ST2");
    EXPECT_EQ(press(Qt::Key_Up), "sd 300");
}

TEST_F(MachineControlsFixture, AUserButtonIsMadeSavedAndRunByItsKeyWithoutTouchingTheList) {
    form->Session().Editor().Replace({"BG"});
    form->findChild<QAction*>("mmUserButtons")->trigger();
    auto* dialog = Dialog<TUserButtonsDialog>();
    ASSERT_NE(dialog, nullptr);
    dialog->btnAdd->click();
    dialog->EditButtonName->setText("Two starts");
    dialog->MemoButtonLines->setPlainText("# both programs\nst 2\n\nST3");
    dialog->btnAdd->click();
    dialog->EditButtonName->setText("Bad");
    dialog->MemoButtonLines->setPlainText("SD 0");
    dialog->btnOk->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(
        dialogs.messages[0].startsWith(Ext(Ext::UserButtonBadLine).arg("Bad").arg(1).arg("").left(12)))
        << dialogs.messages[0].toStdString();
    EXPECT_TRUE(ButtonsFile().isEmpty()) << "a refused set is not written";
    dialog->btnDelete->click();
    dialog->btnOk->click();
    EXPECT_EQ(dialogs.messages.size(), 1) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(ButtonsFile().contains("[Two starts]\r\n# both programs\r\nst 2\r\nST3"))
        << ButtonsFile().constData();

    simulator.SetProgram(2, {"SD100"});
    simulator.SetProgram(3, {"SD100"});
    QPushButton* button = W<QPushButton>("btnUserButton1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Two starts");
    QTest::keyClick(form.get(), Qt::Key_1, Qt::ControlModifier);
    ASSERT_TRUE(WaitForEnd());
    const auto sent = simulator.Commands();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()), (std::vector<std::string>{"ST2", "ST3"}));
    EXPECT_EQ(Lines(), QStringList{"BG"}) << "the command list is not touched";
    EXPECT_TRUE(LogLines().contains(Ext(Ext::SendingCompleted).arg(2)))
        << LogLines().join('\n').toStdString();

    Restart();
    ASSERT_NE(W<QPushButton>("btnUserButton1"), nullptr);
    EXPECT_EQ(W<QPushButton>("btnUserButton1")->text(), "Two starts");
}

TEST_F(MachineControlsFixture, ADamagedButtonsFileIsNamedAndLeftAsItIs) {
    const QByteArray damaged = "[Good]\nST1\n[Second]\nHM\n[]\nST2\n";
    folder.Write("Data/user-buttons.txt", damaged);
    dialogs.messages.clear();
    Restart();
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages[0].contains(folder.File("Data/user-buttons.txt")))
        << dialogs.messages[0].toStdString();
    EXPECT_EQ(W<QPushButton>("btnUserButton1")->text(), "Good");
    EXPECT_EQ(W<QPushButton>("btnUserButton2")->text(), "Second");
    EXPECT_EQ(form->findChild<QPushButton*>("btnUserButton3"), nullptr);
    ASSERT_TRUE(form->close());
    form.reset();
    EXPECT_EQ(ButtonsFile(), damaged) << "nothing writes it but the operator's OK";
}

TEST_F(MachineControlsFixture, TheStopKeyStopsTheSendingAndThenEveryRunningChannel) {
    // Two channels run long programs.
    // Nothing is known of the channels when the port opens; the operator says they stand.
    form->Session().Controller().Channels().SetStates({0, 0, 0});
    simulator.SetProgram(2, {"SD10", "MV100000"});
    simulator.SetProgram(3, {"SD10", "MV100000"});
    SendList({"ST2", "ST3"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] {
        return Coords().State(2) == TChannelState::Executing && Coords().State(3) == TChannelState::Executing;
    }));
    // A long list is on its way; at its fifth answer the operator presses F12.
    QStringList lines(200, "SD100");
    TSending& sending = form->Session().Controller().Sending();
    QObject::connect(&sending, &TSending::LineAnswered, form.get(), [&](int index) {
        if (index == 4)
            QTest::keyClick(form.get(), Qt::Key_F12);
    });
    SendList(lines);
    ASSERT_TRUE(WaitForEnd());
    // Stopped in the controller, and its reports taken by the program.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !simulator.Running(2) && !simulator.Running(3) &&
                   Coords().State(2) == TChannelState::Standby && Coords().State(3) == TChannelState::Standby;
        },
        10000));
    const auto sent = simulator.Commands();
    const auto sds = std::count(sent.begin(), sent.end(), "SD100");
    EXPECT_LT(sds, 200) << "the list stopped";
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()), (std::vector<std::string>{"ST2", "ST3"}));
    EXPECT_TRUE(LogLines().contains(Ext(Ext::StopAllSent).arg("ST2, ST3")))
        << LogLines().join('\n').toStdString();

    // The key works while another window of the program has the focus.
    SendList({"ST2"});
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return Coords().State(2) == TChannelState::Executing; }));
    form->mmReadCh->trigger();
    auto* readWindow = form->findChild<QDialog*>();
    ASSERT_NE(readWindow, nullptr);
    readWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(readWindow));
    QTest::keyClick(readWindow, Qt::Key_F12);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil(
        [&] { return !simulator.Running(2) && Coords().State(2) == TChannelState::Standby; }, 10000));
    EXPECT_TRUE(LogLines().contains(Ext(Ext::StopAllSent).arg("ST2"))) << LogLines().join('\n').toStdString();
    readWindow->close();

    // Nothing runs: the key sends nothing more and says so; with the port closed, in red.
    W<QPushButton>("btnStopAll")->click();
    EXPECT_EQ(LogLines().last(), Ext(Ext::StopAllNothingRuns));
    EXPECT_EQ(simulator.Commands().back(), "ST2");
    W<QPushButton>("btnClosePort")->click();
    W<QPushButton>("btnStopAll")->click();
    EXPECT_EQ(LogLines().last(), Ext(Ext::StopAllPortClosed));
}

TEST_F(MachineControlsFixture, TheNewWindowsShowEveryCaptionWholeInBothLanguages) {
    for (const char* language : {"en", "ru"}) {
        ASSERT_TRUE(SwitchLanguage(*form, language));
        form->findChild<QAction*>("mmUserButtons")->trigger();
        auto* buttons = Dialog<TUserButtonsDialog>();
        ASSERT_NE(buttons, nullptr);
        buttons->btnAdd->click();
        ExpectNoCaptionClipped(buttons, QString("user-buttons-") + language);
        buttons->btnCancel->click();
        form->findChild<QAction*>("mmShortcuts")->trigger();
        auto* shortcuts = Dialog<TShortcutsWindow>();
        ASSERT_NE(shortcuts, nullptr);
        ExpectNoCaptionClipped(shortcuts, QString("shortcuts-") + language);
        shortcuts->close();
        form->mmReadCh->trigger();
        auto* read = Dialog<TFormChanRead>();
        ASSERT_NE(read, nullptr);
        ExpectNoCaptionClipped(read, QString("read-back-") + language);
        read->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(ButtonsFile().isEmpty()) << "Cancel wrote nothing";
}

TEST_F(MachineControlsFixture, TheStopKeyStopsAChannelWhateverStartedItAndNeverStartsOne) {
    simulator.SetProgram(2, {"SD10", "MV100000"}); // runs for about 100 s at the test's speed
    simulator.SetProgram(3, {"SD10", "MV100000"});
    const auto count = [&](const char* line) {
        const auto sent = simulator.Commands();
        return std::count(sent.begin(), sent.end(), line);
    };
    const auto stopAll = [&] {
        QTest::keyClick(form.get(), Qt::Key_F12);
        ASSERT_TRUE(WaitForEnd());
        ASSERT_TRUE(WaitUntil([&] { return !simulator.Running(2); }, 10000));
    };
    TUserButtons& buttons = form->Session().UserButtons();
    ASSERT_TRUE(buttons.Save({{"Start 2", {"ST2"}}}).isEmpty());
    W<QCheckBox>("chbDirectControl")->click();
    QAction* st2 = nullptr;
    for (QAction* action : W<QMenu>("btnSTChannels")->actions())
        st2 = action->text() == "ST2" ? action : st2;
    ASSERT_NE(st2, nullptr);
    const struct {
        const char* how;
        std::function<void()> start;
    } starts[] = {{"typed in Direct Control", [&] { Type("st2"); }},
                  {"a user button", [&] { QTest::keyClick(form.get(), Qt::Key_1, Qt::ControlModifier); }},
                  {"the ST menu", [&] { st2->trigger(); }}};
    long stops = 0;
    for (const auto& s : starts) {
        s.start();
        ASSERT_TRUE(WaitForEnd());
        ASSERT_TRUE(WaitUntil([&] { return simulator.Running(2); }, 10000)) << s.how;
        EXPECT_EQ(Coords().State(2), TChannelState::Standby) << "the described square stays as it was";
        const long before = count("ST2");
        stopAll();
        EXPECT_EQ(count("ST2"), before + 1) << s.how << ": one ST2, the stop";
        EXPECT_EQ(count("ST1") + count("ST3"), 0) << s.how << ": nothing to a channel that stands";
        EXPECT_FALSE(simulator.Running(2)) << s.how;
        ++stops;
        // Said as a stop, never as a start; channels 1 and 3 are named as not known.
        const QStringList log = LogLines();
        qsizetype said = log.size() - 1;
        while (said >= 0 && !log[said].startsWith(Ext(Ext::StopAllSent).arg("ST2")))
            --said;
        ASSERT_GE(said, 0) << log.join('\n').toStdString();
        EXPECT_TRUE(log[said].contains(Ext(Ext::StopAllUnknown).arg("1, 3"))) << log[said].toStdString();
        EXPECT_FALSE(log.mid(said).join('\n').contains(M(Msg::ExecutingStarted)))
            << log.mid(said).join('\n').toStdString();
    }
    EXPECT_EQ(stops, 3);

    // Once the operator says channels 1 and 3 stand, nothing runs: nothing is sent.
    form->Session().Controller().Channels().SetStates({0, 0, 0});
    const size_t sent = simulator.Commands().size();
    QTest::keyClick(form.get(), Qt::Key_F12);
    EXPECT_EQ(LogLines().last(), Ext(Ext::StopAllNothingRuns));
    EXPECT_EQ(simulator.Commands().size(), sent);
}

TEST_F(MachineControlsFixture, ACoordinateIsStartedPausedAndStoppedOnItsOwnAskingWhenItsStateIsNotKnown) {
    simulator.SetProgram(3, {"SD10", "MV100000"});
    auto* start = form->findChild<QAction*>("mmChannel3Start");
    auto* pause = form->findChild<QAction*>("mmChannel3Pause");
    auto* stop = form->findChild<QAction*>("mmChannel3Stop");
    ASSERT_TRUE(start && pause && stop);
    // Not known since the port opened: a question first, whose default sends nothing.
    dialogs.confirmAnswers = {false};
    start->trigger();
    EXPECT_EQ(dialogs.confirmations, QStringList{Ext(Ext::ChannelActionAsk).arg(3).arg("ST3")});
    EXPECT_TRUE(simulator.Commands().empty());
    dialogs.confirmAnswers = {true};
    start->trigger();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return simulator.Running(3); }, 10000));
    // Known to run now: no question, and Start is refused (an ST would stop it).
    dialogs.messages.clear();
    start->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{Ext(Ext::ChannelActionRunsAlready).arg(3)});
    pause->trigger();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return Coords().State(3) == TChannelState::Paused; }, 10000));
    stop->trigger();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_TRUE(WaitUntil([&] { return !simulator.Running(3); }, 10000));
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"ST3", "PS3", "ST3"}));
    EXPECT_TRUE(LogLines().contains(Ext(Ext::ChannelStopped).arg(3))) << LogLines().join('\n').toStdString();
    dialogs.messages.clear();
    stop->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{Ext(Ext::ChannelActionStands).arg(3)});
    EXPECT_EQ(simulator.Commands().size(), 3u);
}

TEST_F(MachineControlsFixture, ALineLostInsideARecordingIsNamedAndItsEndOfferedAtTheNextOpen) {
    const auto record = [&] {
        for (const char* button : {"btnLD1", "btnBG", "btnMV"}) {
            W<QToolButton>(button)->click();
            ASSERT_TRUE(WaitForEnd());
        }
    };
    const QString held = "LD1, BG, MV";
    W<QCheckBox>("chbDirectControl")->click(); // the recording built command by command
    record();
    simulator.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return W<QPushButton>("btnOpenPort")->isEnabled(); }));
    RunEventsFor(50);
    EXPECT_TRUE(LogLines().contains(Ext(Ext::LostInsideRecording).arg(1).arg(3).arg(held)))
        << LogLines().join('\n').toStdString();
    simulator.Stop();

    // Back: the operator is asked, and Cancel (the default) sends nothing; asked once.
    for (const bool end : {false, true}) {
        kvtsim::Simulator again(FastMotions());
        ASSERT_TRUE(again.Start(folder.File("ports/COM1").toStdString()));
        dialogs.confirmations.clear();
        dialogs.confirmAnswers = {end};
        W<QPushButton>("btnOpenPort")->click();
        ASSERT_TRUE(WaitUntil([&] { return !dialogs.confirmations.isEmpty(); }));
        EXPECT_EQ(dialogs.confirmations,
                  QStringList{Ext(Ext::EndLeftRecordingQuestion).arg(1).arg(3).arg(held)});
        ASSERT_TRUE(WaitForEnd());
        if (end) {
            ASSERT_TRUE(again.WaitForCommands(1, 10000));
            EXPECT_EQ(again.Commands(), std::vector<std::string>{"ED"});
            break;
        }
        EXPECT_TRUE(again.Commands().empty());
        EXPECT_EQ(LogLines().last(), Ext(Ext::LeftRecordingNotEnded).arg(1));
        W<QPushButton>("btnClosePort")->click();
        W<QPushButton>("btnOpenPort")->click();
        RunEventsFor(50);
        EXPECT_EQ(dialogs.confirmations.size(), 1) << "asked once";
        // Recorded and lost again, for the second answer.
        record();
        again.HangUp();
        ASSERT_TRUE(WaitUntil([&] { return W<QPushButton>("btnOpenPort")->isEnabled(); }));
        again.Stop();
    }
}
