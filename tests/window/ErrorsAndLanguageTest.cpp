// Error handling settings and recovery against the simulator, the channel indicator dialog, the
// hidden channel selection, and switching the language from the menu.
#include "CaptionCheck.h"
#include "ColourRecorder.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "UnitColorIndicators.h"
#include "UnitCoord.h"
#include "UnitErrNastr.h"
#include "UnitErrores.h"
#include "UnitLang.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"
#include "widgets/Captions.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"
#include "widgets/SpinEdit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

class DialogsFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow();
        ASSERT_TRUE(form->Session().Controller().Connection().IsOpen());
    }
};

} // namespace

TEST_F(DialogsFixture, TheReactionsSetInTheDialogReachARealSending) {
    form->mmNastrError->trigger();
    TFormErrNastr* dialog = Dialog<TFormErrNastr>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->RbtnEr6_Esc->isChecked());
    EXPECT_EQ(dialog->SpinEditTime->value(), 300);
    dialog->RbtnEr6_NoReact->setChecked(true);
    dialog->btnOkClick();
    EXPECT_EQ(Datas().Reactions().er6, 0);
    SendList({"BG", "XX", "EN", "DL"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"BG", "XX", "EN", "DL"})) << "sent to its end";

    form->mmNastrError->trigger();
    dialog = Dialog<TFormErrNastr>();
    EXPECT_TRUE(dialog->RbtnEr6_NoReact->isChecked());
    dialog->RbtnEr6_Esc->setChecked(true);
    dialog->close(); // the close button discards what was changed
    EXPECT_EQ(Datas().Reactions().er6, 0);
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormErrNastr>() == nullptr; }));
    form->mmNastrError->trigger();
    dialog = Dialog<TFormErrNastr>();
    dialog->RbtnEr6_Esc->setChecked(true);
    dialog->btnOkClick();
    SendList({"XX", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 5u) << "stopped at the wrong command";
}

TEST_F(DialogsFixture, AReplyTimeShorterThanTheControllersAnswerEndsInNoReply) {
    kvtsim::Options slow = simulator.GetOptions();
    slow.replyDelayMs = 200;
    simulator.SetOptions(slow);
    form->mmNastrError->trigger();
    Dialog<TFormErrNastr>()->SpinEditTime->setValue(50);
    Dialog<TFormErrNastr>()->btnOkClick();
    EXPECT_EQ(Datas().ReplyTime(), 50u);
    SendList({"BG", "EN"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(form->MemoLog->Lines().count(M(Msg::NoReply)), 1);
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"BG"});
}

TEST_F(DialogsFixture, RecoveryByHandSendsEDWhileTheWindowKeepsWorking) {
    form->mmNastrError->trigger();
    TFormErrNastr* settings = Dialog<TFormErrNastr>();
    const int before = form->MemoLog->LineCount();
    settings->btnErrRunClick();
    EXPECT_EQ(form->MemoLog->Line(before), M(Msg::RecoveryStarted)) << "logged first";
    TFormErrores* recovery = settings->findChild<TFormErrores*>();
    ASSERT_NE(recovery, nullptr);

    // Both steps cleared: "Start sequence" does nothing at all.
    recovery->chboxED->click();
    recovery->chboxSettsClear->click();
    EXPECT_FALSE(Datas().Reactions().breakComm) << "stored at once";
    EXPECT_FALSE(Datas().Reactions().clearMarks);
    const int lines = form->MemoLog->LineCount();
    recovery->btnAllOkClick();
    RunEventsFor(600);
    EXPECT_EQ(form->MemoLog->LineCount(), lines);
    EXPECT_TRUE(simulator.Commands().empty());

    // "OK!" beside "Break up communication:" runs its step whatever the box shows; the window
    // handles events all the while.
    recovery->btnEDClick();
    bool handled = false;
    std::string sentMeanwhile = "not handled";
    QTimer::singleShot(0, [&] {
        handled = true;
        sentMeanwhile = simulator.Received();
    });
    ASSERT_TRUE(WaitUntil([&] { return form->MemoLog->Lines().contains(M(Msg::RecoveryBreakComm)); }));
    EXPECT_TRUE(handled);
    EXPECT_EQ(sentMeanwhile, "") << "the window ran during the first pause: a timer, not a sleep";
    // The line written; the simulator reads it in its own time.
    EXPECT_TRUE(WaitUntil([&] { return simulator.Received() == "ED*"; })) << simulator.Received();
    recovery->close();
    settings->close();
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormErrNastr>() == nullptr; }));
    EXPECT_FALSE(Datas().Reactions().breakComm) << "kept although the settings dialog closed without OK";
}

TEST_F(DialogsFixture, TheIndicatorDialogSetsStatesInOrderAndTheLastDecidesTheButtons) {
    Session().Controller().Channels().SetStates({TChannelState::Executing, 0, 0});
    form->btnSetCoordStatesClick();
    TFormColorIndicators* dialog = Dialog<TFormColorIndicators>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->rgr1->ItemIndex(), 1);
    dialog->rgr1->Click(2); // channel 1: communication
    dialog->rgr2->Click(3); // channel 2: pause, set after channel 1
    ColourRecorder second(W<TShape>("shpY"));
    dialog->btnOKClick();
    EXPECT_EQ(Coords().State(1), TChannelState::Communication);
    EXPECT_EQ(Coords().State(2), TChannelState::Paused);
    EXPECT_EQ(second.Last(), QColor(0, 0, 0));
    EXPECT_TRUE(W<QPushButton>("btnPusk")->isEnabled())
        << "channel 2 was set last: the simple buttons are enabled";

    const int lines = form->MemoLog->LineCount();
    Session().Controller().Channels().SetStates(
        {TChannelState::Executing, TChannelState::Standby, TChannelState::Standby});
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormColorIndicators>() == nullptr; }));
    form->btnSetCoordStatesClick();
    Dialog<TFormColorIndicators>()->btnOKClick();
    EXPECT_EQ(form->MemoLog->Lines().mid(lines).count(Datas().Texts().CoordText +
                                                      " 1: " + Datas().Texts().ExecutingText),
              2)
        << "OK without a change logs the executing channel once more";
}

TEST_F(DialogsFixture, TheHiddenChannelSelectionSetsTheSelectedChannels) {
    EXPECT_FALSE(form->mmSettsCoord->isVisible());
    form->mmSettsCoordClick();
    TFormCoord* dialog = Dialog<TFormCoord>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->CheckBox1->isChecked());
    dialog->CheckBox2->setChecked(true);
    dialog->btnOkClick();
    EXPECT_TRUE(Coords().Active(2));
    EXPECT_TRUE(form->PanelCoordinates->Caption().endsWith("1  2  "));
}

TEST_F(DialogsFixture, SwitchingToRussianAndBackTakesTheCommandTableAlong) {
    form->rgrSingl_Mult->Click(1);
    W<QToolButton>("btnBG")->click();
    const QString englishBegin = form->Session().Commands().Entry(TKVTCommands::BG).CaptionText;
    form->mmLangClick();
    TFormLang* dialog = Dialog<TFormLang>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->ComboBoxLang->count(), 2);

    dialogs.confirmAnswers = {false};
    dialog->ComboBoxLangClick(1);
    EXPECT_EQ(dialogs.confirmations.last(), M(Msg::SetLanguage) + "ru\"?\"");
    EXPECT_EQ(Datas().Settings().Language, "en") << "cancelled: nothing changes";

    dialogs.confirmAnswers = {true};
    dialog->ComboBoxLangClick(1);
    EXPECT_EQ(Datas().Settings().Language, "ru");
    EXPECT_EQ(ControlCaption(form.get(), "btnOpenPort", -1), QString::fromUtf8("Открыть порт"));
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Выбор языка"));
    const QString russianBegin = form->Session().Commands().Entry(TKVTCommands::BG).CaptionText;
    EXPECT_NE(russianBegin, englishBegin);
    W<QToolButton>("btnBG")->click();
    EXPECT_EQ(form->Session().Editor().List().Descriptions(), (QStringList{englishBegin, russianBegin}))
        << "rows already in the list keep their text";

    dialog->ComboBoxLangClick(0);
    EXPECT_EQ(Datas().Settings().Language, "en");
    EXPECT_EQ(form->Session().Commands().Entry(TKVTCommands::BG).CaptionText, englishBegin);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
}

TEST_F(DialogsFixture, ALanguageWithoutItsFilesChangesNothing) {
    folder.Write("lang/lang.lng", "en\r\nru  \r\nxx\r\n");
    folder.Remove("lang/ru/ruaddf.lng");
    form->mmLangClick();
    TFormLang* dialog = Dialog<TFormLang>();
    ASSERT_EQ(dialog->ComboBoxLang->count(), 3);
    const QString caption = ControlCaption(form.get(), "btnOpenPort", -1);
    dialog->ComboBoxLangClick(2); // xx: no files at all
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], M(1) + folder.File("lang/xx/xxf1.lng") + M(2));
    EXPECT_EQ(Datas().Settings().Language, "en");
    EXPECT_EQ(ControlCaption(form.get(), "btnOpenPort", -1), caption) << "no blank captions";

    dialog->ComboBoxLangClick(1); // "ru  ", its blanks dropped; its dialog texts are missing
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1], M(1) + folder.File("lang/ru/ruaddf.lng") + M(2));
    EXPECT_EQ(Datas().Settings().Language, "en");
}

TEST_F(DialogsFixture, TheDialogsShowEveryCaptionWholeInBothLanguages) {
    for (const char* language : {"en", "ru"}) {
        ASSERT_TRUE(SwitchLanguage(*form, language));
        form->mmNastrError->trigger();
        Dialog<TFormErrNastr>()->btnErrRunClick();
        form->btnSetCoordStatesClick();
        const QList<QDialog*> windows{Dialog<TFormErrNastr>(), Dialog<TFormErrores>(),
                                      Dialog<TFormColorIndicators>()};
        for (QDialog* dialog : windows) {
            ExpectNoCaptionClipped(dialog, dialog->objectName() + "-" + language);
        }
        // Entry 24 as the language's dialog-text file gives it, not as the table now holds it.
        const QString entry24 =
            LoadLinesFromFile(folder.File(QString("lang/%1/%1addf.lng").arg(language)), false)
                .value(24)
                .section("} ", 1);
        ASSERT_FALSE(entry24.isEmpty());
        EXPECT_EQ(Dialog<TFormColorIndicators>()->rgr2->title(), "2 " + entry24)
            << "the channel number, then the word of entry 24";
        Dialog<TFormColorIndicators>()->close();
        Dialog<TFormErrNastr>()->close();
        ASSERT_TRUE(WaitUntil([&] { return !Dialog<TFormErrNastr>() && !Dialog<TFormColorIndicators>(); }));
    }
}
