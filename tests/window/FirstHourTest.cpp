// What a newcomer meets in the first hour: menus reachable from the keyboard in either language,
// hints from the language files, Qt's own texts in the language, a window that keeps the size
// the operator gave it and fits a small screen, a port list that follows the devices, and a
// lost controller offered back when it returns.
#include "InfoMenu.h"
#include "PortName.h"
#include "SessionRooms.h"
#include "ShortcutsWindow.h"
#include "UnitProgProp.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/CommandToolPanel.h"
#include "panels/ExtendedPanel.h"
#include "widgets/LogView.h"
#include "widgets/Mnemonics.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

class FirstHourFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
    }
    // The marked letter of a caption, or a null character.
    static QChar Marked(const QString& caption) {
        for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] == '&') {
                if (caption[i + 1] != '&')
                    return caption[i + 1].toLower();
                ++i;
            }
        }
        return {};
    }
    // Every menu and entry marked, no letter twice within a menu.
    static void ExpectMarkedOnce(const QList<QAction*>& actions, const std::string& where) {
        QSet<QChar> letters;
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QString caption = action->menu() ? action->menu()->title() : action->text();
            const QChar letter = Marked(caption);
            EXPECT_FALSE(letter.isNull()) << where << ": " << caption.toStdString();
            EXPECT_FALSE(letters.contains(letter)) << where << ": " << caption.toStdString();
            letters.insert(letter);
            if (action->menu() && !action->menu()->property("numbered").toBool())
                ExpectMarkedOnce(action->menu()->actions(), caption.toStdString());
        }
    }
};

} // namespace

TEST(Mnemonics, EachCaptionGetsAFreeLetterFirstLettersFirst) {
    EXPECT_EQ(Mnemonics::Assign({"File", "Edit", "Port settings", "Program settings", "Info"}),
              (QStringList{"&File", "&Edit", "&Port settings", "Program &settings", "&Info"}));
    EXPECT_EQ(Mnemonics::Assign({"&Save", "Save as...", "Search"}),
              (QStringList{"&Save", "Save &as...", "S&earch"}))
        << "an old mark is dropped, the first letter of another word comes next";
    EXPECT_EQ(Mnemonics::Assign({"Save & load", ""}), (QStringList{"&Save && load", ""}));
    EXPECT_EQ(Mnemonics::Assign({"ab", "ba", "AB"}), (QStringList{"&ab", "&ba", "AB"}))
        << "no free letter left";
    EXPECT_EQ(Mnemonics::Bare("P&rogram && more & less"), "Program & more & less");
}

TEST_F(FirstHourFixture, EveryMenuIsReachedFromTheKeyboardInBothLanguages) {
    ExpectMarkedOnce(form->menuBar()->actions(), "en");
    ASSERT_TRUE(SwitchLanguage(*form, "ru"));
    ExpectMarkedOnce(form->menuBar()->actions(), "ru");
    EXPECT_NE(Mnemonics::Bare(form->mmFile->title()), "File") << "the Russian captions were applied";

    // F10 opens the menu bar at its first menu.
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F10);
    EXPECT_EQ(form->menuBar()->activeAction(), form->mmFile->menuAction());
}

TEST_F(FirstHourFixture, HintsComeFromTheLanguageFilesAndEveryToolButtonHasOne) {
    for (const char* code : {"en", "ru"}) {
        ASSERT_TRUE(SwitchLanguage(*form, code));
        for (QToolButton* tool : form->ExtendedPanel->findChildren<QToolButton*>())
            EXPECT_FALSE(tool->toolTip().isEmpty()) << code << " " << tool->objectName().toStdString();
        EXPECT_EQ(W<QToolButton>("btnWL")->toolTip(), Ext(Ext::HintWL));
        EXPECT_EQ(W<QToolButton>("btnSB")->toolTip(), Ext(Ext::HintSB));
        EXPECT_EQ(W<QPushButton>("btnPusk")->toolTip(), Ext(Ext::HintPusk));
    }
    EXPECT_NE(Ext(Ext::HintPusk), "Write the program into the controller and start it")
        << "Russian in Russian";
    ASSERT_TRUE(SwitchLanguage(*form, "en"));
    EXPECT_EQ(W<QPushButton>("btnPusk")->toolTip(), "Write the program into the controller and start it");

    // In English, the hints the description gives, as it gives them (two typos mended).
    const struct {
        const char* control;
        const char* hint;
    } described[] = {
        {"btnBG", "Begin program"},
        {"btnDL", "Motion forward"},
        {"btnDR", "Motion backward"},
        {"btnRS", "Reverse motion"},
        {"btnDS", "Prohibit motion"},
        {"btnEN", "Allow motion"},
        {"btnAL", "Acceleration/deceleration"},
        {"btnSD", "Maximum speed"},
        {"btnSS", "Start speed"},
        {"btnMVn", "Move step number"},
        {"btnMV", "permanent motion"},
        {"btnSP", "Pause, ms"},
        {"bthHM", "Move to zero switch"},
        {"btnML", "Move until signal to input 1"},
        {"btnMH", "Move until signal to input 2"},
        {"btnSF", "Set signal (close relay)"},
        {"btnCF", "Clear signal (open relay)"},
        {"btnWL", "Wait until signal to input 1"},
        {"btnWH", "Wait until signal to input 2"},
        {"btnLL", "Set cycle label"},
        {"btnLP", "Repeat from label"},
        {"btnLD1", "Load program to coordinate 1"},
        {"btnED", "End programming"},
        {"btnST", "Start/Stop"},
        {"chbDirectControl", "Check to send commands directly"},
    };
    for (const auto& d : described)
        EXPECT_EQ(W<QWidget>(d.control)->toolTip(), d.hint) << d.control;
}

TEST_F(FirstHourFixture, QtsOwnTextsFollowTheLanguage) {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    EXPECT_EQ(cancel(), "Cancel");
    ASSERT_TRUE(SwitchLanguage(*form, "ru"));
    EXPECT_EQ(cancel(), QString::fromUtf8("Отмена"));
    ASSERT_TRUE(SwitchLanguage(*form, "en"));
    EXPECT_EQ(cancel(), "Cancel");
}

TEST_F(FirstHourFixture, TheDescribedSizesHoldWhateverSizeTheOperatorGaveTheWindow) {
    form->rgrSingl_Mult->Click(1);
    const int extendedWidth = form->width();
    form->rgrSingl_Mult->Click(0);
    EXPECT_EQ(form->width(), 370) << "the simple mode's width";
    EXPECT_GT(extendedWidth, 370);

    // The operator enlarges it; each mode switch sets the width it describes, the height stays.
    form->resize(700, 650);
    form->rgrSingl_Mult->Click(1);
    EXPECT_EQ(form->size(), QSize(extendedWidth, 650));
    form->resize(900, 650);
    form->rgrSingl_Mult->Click(0);
    EXPECT_EQ(form->size(), QSize(370, 650));

    // "Program settings": the log shown makes it 613 high; hidden, shorter by the log, less 5.
    const auto programSettingsOk = [&](bool showLog) {
        form->mmNastrLogs->trigger();
        auto* settings = Dialog<TFormProgProp>();
        ASSERT_TRUE(settings);
        settings->chBoxLogs->setChecked(showLog);
        settings->btnOKClick();
        ASSERT_TRUE(WaitUntil([&] { return !Dialog<TFormProgProp>(); }));
    };
    form->resize(370, 700);
    programSettingsOk(true);
    EXPECT_EQ(form->height(), 613);
    const int logHeight = form->MemoLog->height();
    form->resize(370, 690);
    programSettingsOk(false);
    EXPECT_EQ(form->height(), 690 - logHeight + 5);
    programSettingsOk(true);
    EXPECT_EQ(form->height(), 613);
}

// Run by ctest on an offscreen screen of 640 x 480 (tests/data/small-screen.json).
TEST_F(FirstHourFixture, SmallScreenTheWindowOpensNoTallerThanTheScreenTheLogShrinkingFirst) {
    const QSize room = form->screen()->availableGeometry().size();
    if (room.height() >= 613)
        GTEST_SKIP() << "needs a screen lower than the window's design height";
    form->show();
    RunEventsFor(20);
    EXPECT_LE(form->height(), room.height());
    EXPECT_LE(form->minimumSizeHint().height(), room.height()) << "it can be made as small as the screen";
    EXPECT_EQ(form->MemoLog->height(), form->MemoLog->minimumHeight()) << "the log gave its room first";
}

TEST_F(FirstHourFixture, ThePortListRefreshesAndFollowsDevicesPluggedInAndOut) {
    QTemporaryDir byId, dev;
    ASSERT_TRUE(QFile::link("/dev/null", byId.filePath("usb-FTDI_A-if00-port0")));
    form->mmSettsPortName->trigger();
    auto* dialog = Dialog<TFormPortName>();
    ASSERT_TRUE(dialog);
    dialog->ByIdFolder = byId.path();
    dialog->DevFolder = dev.path();
    dialog->btnRefresh->click();
    const auto listed = [&] {
        QStringList items;
        for (int i = 0; i < dialog->lbDevices->count(); ++i)
            items << QFileInfo(dialog->lbDevices->item(i)->text()).fileName();
        return items;
    };
    EXPECT_EQ(listed(), QStringList{"usb-FTDI_A-if00-port0"});

    // Plugged in and out while the dialog is shown: the list follows by itself.
    ASSERT_TRUE(QFile::link("/dev/null", byId.filePath("usb-FTDI_B-if00-port0")));
    ASSERT_TRUE(WaitUntil([&] { return listed().size() == 2; }, 10000)) << listed().join(",").toStdString();
    ASSERT_TRUE(QFile::remove(byId.filePath("usb-FTDI_A-if00-port0")));
    ASSERT_TRUE(WaitUntil([&] { return listed() == QStringList{"usb-FTDI_B-if00-port0"}; }, 10000));
    EXPECT_EQ(dialog->btnRefresh->text(), Ext(Ext::RefreshDevices));
}

TEST_F(FirstHourFixture, ALostControllerThatComesBackIsOfferedNeverReopenedSilently) {
    const QString link = folder.File("ports/COM1");
    simulator.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !Session().Controller().Connection().IsOpen(); }));
    simulator.Stop();

    // It comes back under the same name; the operator says no: the port stays closed.
    const QString question = Ext(Ext::ReopenPort).arg(link).arg(1);
    dialogs.confirmAnswers = {false};
    kvtsim::Simulator second;
    ASSERT_TRUE(second.Start(link.toStdString()));
    ASSERT_TRUE(WaitUntil([&] { return dialogs.confirmations.contains(question); }, 10000));
    RunEventsFor(50);
    EXPECT_FALSE(Session().Controller().Connection().IsOpen());
    EXPECT_TRUE(LogLines().contains(Ext(Ext::DeviceBack).arg(link).arg(1)));

    // Lost again and back again; the operator says yes: open, and it answers.
    W<QPushButton>("btnOpenPort")->click();
    ASSERT_TRUE(Session().Controller().Connection().IsOpen());
    second.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !Session().Controller().Connection().IsOpen(); }));
    second.Stop();
    const qsizetype asked = dialogs.confirmations.size();
    dialogs.confirmAnswers = {true};
    kvtsim::Simulator third;
    ASSERT_TRUE(third.Start(link.toStdString()));
    ASSERT_TRUE(WaitUntil([&] { return Session().Controller().Connection().IsOpen(); }, 10000));
    EXPECT_EQ(dialogs.confirmations.size(), asked + 1) << "asked first";
}

TEST_F(FirstHourFixture, InfoListsEveryKeyAndNamesTheLicenceAndTheUserGuideInEachLanguage) {
    for (const char* language : {"en", "ru"}) {
        ASSERT_TRUE(SwitchLanguage(*form, language));
        form->findChild<QAction*>("mmShortcuts")->trigger();
        auto* shortcuts = form->findChild<TShortcutsWindow*>();
        ASSERT_NE(shortcuts, nullptr);
        QStringList keys;
        for (int row = 0; row < shortcuts->Table->rowCount(); ++row) {
            keys << shortcuts->Table->item(row, 0)->text();
            EXPECT_FALSE(shortcuts->Table->item(row, 1)->text().isEmpty()) << language << " row " << row;
        }
        for (const char* key : {"F5", "Esc", "F12", "F6", "Ctrl+S", "Ctrl+Z", "F2", "Tab", "F10"})
            EXPECT_TRUE(keys.join(' ').contains(key)) << language << ": " << key;
        shortcuts->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        dialogs.messages.clear();
        form->findChild<QAction*>("mmAbout")->trigger();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].contains("GNU General Public License"))
            << dialogs.messages[0].toStdString();
        EXPECT_TRUE(dialogs.errors.isEmpty()) << "an information is no error";
    }
}
