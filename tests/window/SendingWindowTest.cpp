// The main window while a long list is sent: its progress, the operator's stop, the shortcuts
// and a window that grows.
#include "CaptionCheck.h"
#include "ProgramPreviewWindow.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/Events.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "widgets/LogView.h"
#include "widgets/RadioGroup.h"
#include "widgets/SendingProgress.h"
#include "widgets/StringGrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

class SendingWindowFixture : public WindowFixture {
protected:
    void SetUp() override {
        kvtsim::Options options = FastMotions();
        options.replyDelayMs = 10; // a long list lasts seconds, as on a slow line
        ASSERT_NO_FATAL_FAILURE(StartSimulator(options));
        CreateWindow(1);
        AllowSlowAnswers();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

} // namespace

TEST_F(SendingWindowFixture, ALongListShowsItsProgressAndEscStopsItAfterTheLineBeingSent) {
    QStringList lines;
    for (int i = 1; i <= 500; ++i)
        lines << "SP" + QString::number(i);
    form->Session().Editor().Replace(lines);
    ASSERT_TRUE(W<QPushButton>("btnRunTR")->isEnabled());
    EXPECT_FALSE(W<QPushButton>("btnStopSending")->isEnabled()) << "nothing to stop yet";

    // What the status panel shows, sampled while the list goes out.
    QStringList captions;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (form->SendingProgress->isVisible() && !captions.contains(form->SendingProgress->Caption()))
            captions << form->SendingProgress->Caption();
    });
    sampler.start(20);
    // The highlighted line, as it changes.
    QList<int> highlighted;
    QObject::connect(W<TStringGrid>("StringGridSend"), &TStringGrid::SendingRowChanged,
                     [&](int row) { highlighted << row; });

    QTest::keyClick(form.get(), Qt::Key_F5);
    ASSERT_TRUE(form->Session().Controller().Sending().IsSending()) << "F5 sends";
    EXPECT_TRUE(W<QPushButton>("btnStopSending")->isEnabled());
    // The caption changes while the list is sent: the window goes on drawing.
    const auto hasTimeLeft = [&] {
        return std::any_of(captions.begin(), captions.end(),
                           [](const QString& c) { return c.endsWith(" left"); });
    };
    ASSERT_TRUE(WaitUntil([&] { return captions.size() >= 2 && hasTimeLeft(); }, 30000));
    EXPECT_EQ(form->SendingProgress->Maximum(), 500);
    SaveScreenshot(form.get(), "sending-progress");
    // The time left is estimated once a line has been answered.
    const QRegularExpression shape("^Line (\\d+) of 500, 0:\\d\\d(, about \\d+:\\d\\d left)?$");
    for (const QString& caption : captions)
        EXPECT_TRUE(shape.match(caption).hasMatch()) << caption.toStdString();

    QTest::keyClick(W<TStringGrid>("StringGridSend"), Qt::Key_Escape);
    ASSERT_TRUE(WaitForEnd());
    sampler.stop();

    const auto received = simulator.Commands();
    const int sent = int(received.size());
    ASSERT_LT(sent, 500) << "the list was stopped";
    std::vector<std::string> expected;
    for (int i = 0; i < sent; ++i)
        expected.push_back(lines[i].toStdString());
    EXPECT_EQ(received, expected) << "exactly the lines before the stop";
    TLogView* log = form->MemoLog;
    EXPECT_EQ(
        log->Line(log->LineCount() - 1),
        Ext(Ext::SendingStopped).arg(QString::number(sent + 1), "500", lines[sent], QString::number(sent)));
    EXPECT_FALSE(form->SendingProgress->isVisible());
    EXPECT_FALSE(W<QPushButton>("btnStopSending")->isEnabled());
    EXPECT_EQ(form->Session().Editor().List().Lines(), lines) << "the list itself stays whole";

    // The line on its way was highlighted, ever further down, and nothing is once it ended.
    ASSERT_GE(highlighted.size(), 2);
    EXPECT_EQ(highlighted.last(), 0);
    for (qsizetype i = 1; i + 1 < highlighted.size(); ++i)
        EXPECT_GT(highlighted[i], highlighted[i - 1]);
    EXPECT_LE(highlighted[highlighted.size() - 2], sent + 1);
    EXPECT_EQ(W<TStringGrid>("StringGridSend")->SendingRow(), 0);
}

TEST_F(SendingWindowFixture, TheCommandListAndTheLogTakeTheRoomOfAnEnlargedWindow) {
    QTest::qWait(0);
    SaveScreenshot(form.get(), "extended-design-size");
    const QSize grid = W<TStringGrid>("StringGridSend")->size(), log = form->MemoLog->size();
    form->resize(form->width() + 300, form->height() + 200);
    ASSERT_TRUE(WaitUntil([&] { return W<TStringGrid>("StringGridSend")->width() > grid.width(); }));
    EXPECT_GE(W<TStringGrid>("StringGridSend")->width(), grid.width() + 250);
    SaveScreenshot(form.get(), "extended-enlarged");
    EXPECT_GT(W<TStringGrid>("StringGridSend")->height(), grid.height());
    EXPECT_GT(form->MemoLog->height(), log.height());
    EXPECT_GE(W<TStringGrid>("StringGridSend")->height() - grid.height() + form->MemoLog->height() -
                  log.height(),
              150);
}

TEST_F(SendingWindowFixture, CtrlQClosesTheWindowAsItsCloseButtonDoes) {
    QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(SendingWindowFixture, ClosingDuringARecordingAsksThenStopsItAndEndsTheRecording) {
    kvtsim::Options slow = simulator.GetOptions();
    slow.replyDelayMs = 5;
    simulator.SetOptions(slow);
    ChangeSettings([](TSettings& s) { s.SaveOperationLog = true; });
    QStringList lines{"LD1"};
    for (int i = 0; i < 3000; ++i)
        lines << "MV" + QString::number(100 + i);
    lines << "ED";
    SendList(lines);
    ASSERT_TRUE(simulator.WaitForCommands(50, 60000));
    ASSERT_TRUE(WaitUntil([&] { return Session().Controller().Sending().RecordingUnderWay(); }));

    // The list sent is the operator's unsaved work: given up, as the operator may.
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard, IDialogs::SaveChoice::Discard};
    dialogs.confirmAnswers = {false};
    EXPECT_FALSE(form->close()) << "the operator chose to stay";
    ASSERT_FALSE(dialogs.confirmations.isEmpty());
    EXPECT_EQ(dialogs.confirmations.last(), Ext(Ext::CloseDuringRecording));
    EXPECT_TRUE(Session().Controller().Sending().IsSending());

    dialogs.confirmAnswers = {true};
    ASSERT_TRUE(form->close());
    const std::vector<std::string> received = simulator.Commands();
    const QString ended = Ext(Ext::SendingEnded).section('%', 0, 0),
                  recording = Ext(Ext::RecordingEndedOnClose);
    form.reset();
    ASSERT_GT(received.size(), 50u);
    EXPECT_LT(received.size(), 3002u);
    EXPECT_EQ(received.back(), "ED") << "the recording was ended on the way out";
    const QStringList work = LoadLinesFromFile(folder.File("Log/work.log"), false);
    ASSERT_GE(work.size(), 2);
    EXPECT_TRUE(work[work.size() - 2].startsWith(ended)) << work[work.size() - 2].toStdString();
    EXPECT_EQ(work.last(), recording.arg(1));
}

TEST_F(SendingWindowFixture, SendWritesAListEndingInsideARecordingAtOnceAndSaysSoAfterIt) {
    form->Session().Editor().Replace({"LD2", "BG", "MV100"});
    W<QPushButton>("btnRunTR")->click();
    W<QPushButton>("btnRunTR")->click(); // a second press while it is on its way does nothing
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(dialogs.confirmations.isEmpty()) << dialogs.confirmations.join('\n').toStdString();
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD2", "BG", "MV100"}));
    EXPECT_EQ(LogLines().last(), Ext(Ext::SendingLeftRecording).arg(2).arg(1));

    // A whole program says nothing of a recording.
    form->Session().Editor().Replace({"ED", "LD1", "BG", "ED"});
    W<QPushButton>("btnRunTR")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_FALSE(LogLines().last().startsWith(Ext(Ext::SendingLeftRecording).left(10)));
    EXPECT_TRUE(dialogs.confirmations.isEmpty());
}

TEST_F(SendingWindowFixture, AStoppedListResumesFromItsProgramsLDOnTheOperatorsYesAndARowSendsOnlyOnYes) {
    SetReplyTime(300);
    const QStringList list{"SD200", "LD1", "BG", "MV100", "MV200", "ED", "SD300"};
    form->Session().Editor().Replace(list);
    auto* resume = W<QPushButton>("btnResume");
    EXPECT_FALSE(resume->isVisible()) << "nothing stopped yet";
    // The controller falls silent at MV200, inside LD1 ... ED.
    kvtsim::Options options = simulator.GetOptions();
    options.silentFrom = 5;
    simulator.SetOptions(options);
    QTest::keyClick(form.get(), Qt::Key_F5);
    ASSERT_TRUE(WaitUntil([&] { return !form->Session().Controller().Sending().IsSending(); }, 30000));
    options.silentFrom = 0;
    simulator.SetOptions(options);
    EXPECT_TRUE(resume->isVisible());
    // The preview shows the part a resume would send, on request.
    form->mmPreview->trigger();
    auto* preview = form->findChild<TProgramPreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    preview->chbPart->setChecked(true);
    preview->Refresh();
    EXPECT_TRUE(preview->lblNotes->text().startsWith(
        form->Session().Lang().ExtraText(Ext::PreviewPartNote).arg(2).arg(7)))
        << preview->lblNotes->text().toStdString();
    preview->close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    // No: nothing goes out. Yes: from LD1, the program whole.
    const size_t before = simulator.Commands().size();
    dialogs.confirmAnswers = {false};
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.confirmations.size(), 1);
    EXPECT_TRUE(dialogs.confirmations.last().contains("LD, line 2"))
        << dialogs.confirmations.last().toStdString();
    EXPECT_FALSE(form->Session().Controller().Sending().IsSending());
    dialogs.confirmAnswers = {true};
    resume->click();
    ASSERT_TRUE(WaitUntil([&] { return !form->Session().Controller().Sending().IsSending(); }, 30000));
    const std::vector<std::string> all = simulator.Commands();
    ASSERT_GE(all.size(), before + 6);
    EXPECT_EQ(std::vector<std::string>(all.end() - 6, all.end()),
              (std::vector<std::string>{"LD1", "BG", "MV100", "MV200", "ED", "SD300"}));
    EXPECT_FALSE(resume->isVisible()) << "it went to its end";

    // From a row: the last one, on Yes; none selected, a message and nothing sent.
    W<TStringGrid>("StringGridSend")->SetRow(7);
    dialogs.confirmAnswers = {true};
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&] { return !form->Session().Controller().Sending().IsSending(); }, 30000));
    EXPECT_EQ(simulator.Commands().back(), "SD300");
    EXPECT_EQ(simulator.Commands().size(), all.size() + 1);
    W<TStringGrid>("StringGridSend")->SetRow(8); // the trailing empty row
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ControlModifier);
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(simulator.Commands().size(), all.size() + 1);
}
