#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/AppError.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "serial/ComPort.h"
#include "serial/PortReceiver.h"
#include "settings/SettingsFiles.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <QAction>
#include <QLayout>
#include <QPushButton>

namespace {

class MainWindowFixture : public WindowFixture {
protected:
    QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(name); }
    QAction* Action(const char* name) const { return form->findChild<QAction*>(name); }
    QString PortCaption() const { return form->findChild<TPanel*>("PanelPortProp")->Caption(); }
    TLogView* Log() const { return form->findChild<TLogView*>("MemoLog"); }
    TReplyList* Replies() const { return form->findChild<TReplyList*>("lbBufRead"); }
};

} // namespace

TEST_F(MainWindowFixture, APortThatDoesNotExistIsReportedOnceAndLeavesTheProgramIdle) {
    folder.LinkPort(1, "/nonexistent/ttyUSB9");
    CreateWindow();
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.messages.join(" | ").toStdString();
    // The described message, which port and why (as the log says it), and what to do.
    const QStringList said = dialogs.messages.first().split("\n\n");
    ASSERT_EQ(said.size(), 3) << dialogs.messages.first().toStdString();
    EXPECT_EQ(said[0], form->Session().Lang().Message(Msg::ErrorOpeningPort));
    EXPECT_EQ(said[2], form->Session().Lang().ExtraText(Ext::PortWhatToDo));
    EXPECT_TRUE(Button("btnOpenPort")->isEnabled());
    EXPECT_FALSE(Button("btnClosePort")->isEnabled());
    EXPECT_FALSE(Action("mmSettsProp")->isEnabled());
    EXPECT_TRUE(PortCaption().isEmpty());
    ASSERT_GE(Log()->LineCount(), 1);
    const int last = Log()->LineCount() - 1;
    EXPECT_TRUE(Log()->IsRed(last));
    EXPECT_TRUE(Log()->Line(last).contains("ports/COM1")) << Log()->Line(last).toStdString();
    EXPECT_TRUE(Log()->Line(last).contains("no such device")) << Log()->Line(last).toStdString();
    EXPECT_EQ(said[1], Log()->Line(last));
}

TEST_F(MainWindowFixture, StartsWithItsTitleSizeAndThePortOpenOnTheSimulator) {
    StartSimulator();
    CreateWindow();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    EXPECT_EQ(form->windowTitle(), "KVT_Program - ver.4.0.1");
    EXPECT_EQ(form->width(), 370) << "371 at creation, then the simple mode's width";
    EXPECT_EQ(form->height(), 613);
    EXPECT_FALSE(Button("btnOpenPort")->isEnabled());
    EXPECT_TRUE(Button("btnClosePort")->isEnabled());
    EXPECT_TRUE(Action("mmSettsProp")->isEnabled());
    const QStringList& m = form->Session().Lang().Messages;
    EXPECT_EQ(PortCaption(), m[Msg::PortPrefix] + "Com1;  8 " + m[Msg::Bits] + m[Msg::StopBits] + " 1;  " +
                                 m[Msg::ParityNone + 2])
        << "exactly the described pieces: no baud rate";
    EXPECT_TRUE(form->PanelPortProp->toolTip().endsWith("9600 baud")) << "the rate is in the tooltip";
    EXPECT_EQ(form->Session().Controller().Replies().LastReply(), "  ");
}

TEST_F(MainWindowFixture, ReceivedCharactersAppearInTheReplyListTokenByToken) {
    StartSimulator();
    CreateWindow();
    simulator.SendRaw("ST1*E1");
    ASSERT_TRUE(WaitUntil([&] { return Replies()->Count() == 2 && Replies()->Item(1) == "E1"; }));
    simulator.SendRaw("0*");
    ASSERT_TRUE(WaitUntil([&] { return Replies()->Count() == 3; }));
    EXPECT_EQ(Replies()->Items(), (QStringList{"ST1*", "E10*", ""}));
}

TEST_F(MainWindowFixture, CloseAndOpenAgainShowsTheDescriptionAndReceivesAgain) {
    StartSimulator();
    CreateWindow();
    const QString description = PortCaption();
    Button("btnClosePort")->click();
    EXPECT_TRUE(PortCaption().isEmpty());
    EXPECT_TRUE(Button("btnOpenPort")->isEnabled());
    EXPECT_FALSE(Action("mmSettsProp")->isEnabled());
    Button("btnOpenPort")->click();
    EXPECT_EQ(PortCaption(), description);
    simulator.SendRaw("E10*");
    ASSERT_TRUE(WaitUntil([&] { return Replies()->Items().contains("E10*"); }));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowFixture, ALostControllerGivesOneRedLineAndSaysWhatTheStatesAre) {
    StartSimulator();
    CreateWindow();
    const int before = Log()->LineCount();
    simulator.HangUp();
    ASSERT_TRUE(
        WaitUntil([&] { return Button("btnOpenPort")->isEnabled() && Log()->LineCount() >= before + 2; }));
    RunEventsFor(100); // nothing more comes
    ASSERT_EQ(Log()->LineCount(), before + 2) << LogLines().join('\n').toStdString();
    EXPECT_TRUE(Log()->IsRed(before));
    EXPECT_TRUE(Log()->Line(before).contains("ports/COM1"));
    EXPECT_EQ(Log()->Line(before + 1), Ext(Ext::StatesLastKnown));
    EXPECT_FALSE(Log()->IsRed(before + 1));
    EXPECT_FALSE(Button("btnClosePort")->isEnabled());
    EXPECT_TRUE(PortCaption().isEmpty());
    EXPECT_FALSE(form->Session().Controller().Connection().IsOpen());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "no message box for a lost line";

    // The controller comes back: "Open Port" works again.
    simulator.Stop();
    kvtsim::Simulator again;
    ASSERT_TRUE(again.Start(folder.File("ports/COM1").toStdString()));
    Button("btnOpenPort")->click();
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowFixture, AStoppedSimulatorIsNamedByTheLinkItHad) {
    StartSimulator();
    CreateWindow();
    simulator.Stop(); // as when it is killed: the line closes and its link goes
    ASSERT_TRUE(WaitUntil([&] { return Button("btnOpenPort")->isEnabled(); }));
    const QString lost = Log()->Line(Log()->LineCount() - 2);
    EXPECT_TRUE(lost.contains("COM1")) << lost.toStdString();
    EXPECT_TRUE(lost.contains(folder.File("ports/COM1"))) << lost.toStdString();
    EXPECT_TRUE(Log()->IsRed(Log()->LineCount() - 2));
}

TEST_F(MainWindowFixture, AboutShowsItsTwoMessages) {
    StartSimulator();
    CreateWindow();
    Action("mmVers")->trigger();
    const QStringList& m = form->Session().Lang().Messages;
    EXPECT_EQ(dialogs.messages, (QStringList{m[Msg::AboutSoftware] + "ver.4.0.1" + m[Msg::AboutQuestions],
                                             "ver.4.0.1" + m[Msg::AboutIntended]}));
}

TEST_F(MainWindowFixture, DestroyingTheWindowWhileDataArrivesEndsCleanly) {
    StartSimulator();
    CreateWindow();
    for (int i = 0; i < 50; ++i)
        simulator.SendRaw("E10*");
    form.reset(); // joins the read thread; chunks still queued for the window are dropped
    RunEventsFor(50);
    // The device was let go: another port can have it at once (it is opened exclusively).
    struct : IPortReceiver {
        void ChunkReceived(const QByteArray&, quint32) override {}
        void Interrupt() override {}
        void Resume() override {}
    } nobody;
    TComPort port(folder.File("ports"));
    port.SetReceiver(&nobody);
    port.SetPortNumber(1);
    port.Open();
    EXPECT_TRUE(port.Connected()) << port.LastOpenError();
}

TEST_F(MainWindowFixture, WithTheLogHiddenTheWindowStartsShorterByTheLogsRealHeight) {
    StartSimulator();
    // The log's height in the layout the start leaves before hiding it: the simple mode, 370
    // by 626 pixels.
    CreateWindow();
    form->resize(370, 626);
    form->LayOutNow();
    const int logHeight = Log()->height();
    ASSERT_GT(logHeight, 40) << "the log takes the room of the window, not its minimum";
    form.reset();

    TSettingsFiles files{TProgramPaths(folder.Path())};
    TSettings settings;
    files.LoadProgramSettings(settings);
    settings.ShowOperationLog = false;
    files.WriteProgramSettings(settings);
    CreateWindow();
    EXPECT_EQ(form->height(), 626 - logHeight);
    EXPECT_FALSE(Log()->isVisibleTo(form.get()));
}

TEST_F(MainWindowFixture, AnErrorAHandlerLetsThroughIsReportedAndTheWindowGoesOn) {
    StartSimulator();
    CreateWindow();
    // Thrown from inside the event loop, as a handler would: a message box, not an abort.
    QTimer::singleShot(0, [] { throw EFileError::CannotOpen("x.kvt", "Gone."); });
    QTimer::singleShot(0, [] { throw std::runtime_error("out of range"); });
    ASSERT_TRUE(WaitUntil([&] { return dialogs.messages.size() == 2; }));
    EXPECT_EQ(dialogs.messages[0], "Cannot open file \"x.kvt\". Gone.");
    EXPECT_EQ(dialogs.messages[1], "out of range");
    simulator.SendRaw("E10*");
    ASSERT_TRUE(WaitUntil([&] { return Replies()->Items().contains("E10*"); })) << "it goes on";
}
