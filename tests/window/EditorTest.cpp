#include "CaptionCheck.h"
#include "ColourRecorder.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"
#include "widgets/StringGrid.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

class EditorFixture : public WindowFixture {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
        AllowSlowAnswers();
        ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    QStringList Lines() const { return form->Session().Editor().List().Lines(); }
    TStringGrid* Grid() const { return W<TStringGrid>("StringGridSend"); }
    QStringList Descriptions() const {
        QStringList d;
        for (int r = 1; r < Grid()->RowCount() - 1; ++r)
            d.append(Grid()->Cell(2, r));
        return d;
    }
    QStringList Numbers() const {
        QStringList n;
        for (int r = 1; r < Grid()->RowCount() - 1; ++r)
            n.append(Grid()->Cell(0, r));
        return n;
    }
    void Type(QLineEdit* edit, const QString& text) { edit->setText(text); }
};

} // namespace

TEST_F(EditorFixture, AProgramIsBuiltWithTheButtonsAndSentToTheSimulator) {
    W<QToolButton>("btnLD1")->click();
    Type(W<QLineEdit>("EditSD"), "200");
    W<QToolButton>("btnSD")->click();
    Type(W<QLineEdit>("EditMVn"), "2000");
    W<QToolButton>("btnMVn")->click();
    W<QToolButton>("btnED")->click();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "BG", "EN", "SD200", "MV2000", "ED"}));
    EXPECT_EQ(Numbers(), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(Grid()->RowCount(), 8) << "header, six commands, trailing empty row";
    EXPECT_EQ(Descriptions(), (QStringList{M(46) + "1" + M(44), M(48), M(49), M(85) + "200" + M(56),
                                           M(50) + "2000" + M(51), M(47)}));

    ColourRecorder indicator(W<TShape>("shpX"));
    W<QPushButton>("btnRunTR")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(indicator.Colours(), (QList<QColor>{QColor(0, 128, 0), QColor(255, 255, 0), QColor(0, 128, 0)}))
        << "green, yellow while the program is written, green again after ED";
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "EN", "SD200", "MV2000"}));
}

TEST_F(EditorFixture, ButtonsWithoutEditAndTheAutomaticCommands) {
    W<QToolButton>("btnMV")->click();
    EXPECT_EQ(Lines(), QStringList{"MV"});
    EXPECT_EQ(Descriptions(), QStringList{M(50)});
    W<QPushButton>("btnAllClear")->click();
    ChangeSettings([&](TSettings& s) { s.AutoAddBG = false; });
    W<QToolButton>("btnLD1")->click();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "EN"}));
    ChangeSettings([&](TSettings& s) { s.AutoAddEN = false; });
    W<QToolButton>("btnPS1")->click();
    W<QToolButton>("btnST")->click();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "EN", "PS1", "ST"}));
}

TEST_F(EditorFixture, TheProgramButtonsWriteStartAndPauseEveryChannelFromTheirMenus) {
    const auto choose = [&](const char* button, const QString& code) {
        QMenu* menu = W<QToolButton>(button)->menu();
        ASSERT_NE(menu, nullptr) << button;
        for (QAction* action : menu->actions()) {
            if (action->text() == code)
                return action->trigger();
        }
        FAIL() << button << " has no " << code.toStdString();
    };
    // In a program, LD n brings the automatic BG and EN as LD1 does; each channel's ED closes it.
    choose("btnLD1", "LD2");
    W<QToolButton>("btnED")->click();
    choose("btnLD1", "LD3");
    W<QToolButton>("btnED")->click();
    for (const char* code : {"ST2", "ST3", "ST"})
        choose("btnST", code);
    choose("btnPS1", "PS3");
    EXPECT_EQ(Lines(),
              (QStringList{"LD2", "BG", "EN", "ED", "LD3", "BG", "EN", "ED", "ST2", "ST3", "ST", "PS3"}));
    W<QPushButton>("btnRunTR")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Program(2), (std::vector<std::string>{"BG", "EN"}));
    EXPECT_EQ(simulator.Program(3), (std::vector<std::string>{"BG", "EN"}));

    // In Direct Control each is sent at once, to its channel.
    W<QCheckBox>("chbDirectControl")->click();
    for (const auto& [button, code] : {std::pair{"btnST", "ST2"}, {"btnPS1", "PS2"}, {"btnLD1", "LD3"}}) {
        choose(button, code);
        ASSERT_TRUE(WaitForEnd()) << code;
        EXPECT_EQ(simulator.Commands().back(), code);
    }
}

TEST_F(EditorFixture, BadArgumentsAreReportedTheWayEachButtonDoes) {
    Type(W<QLineEdit>("EditSP"), "1.5");
    W<QToolButton>("btnSP")->click();
    EXPECT_EQ(dialogs.messages, QStringList{M(Msg::ParameterIncorrect)});
    Type(W<QLineEdit>("EditSF"), "1.5");
    W<QToolButton>("btnSF")->click();
    EXPECT_EQ(dialogs.messages.last(), "'1.5' is not a valid integer value");
    Type(W<QLineEdit>("EditMVn"), "0.5");
    W<QToolButton>("btnMVn")->click();
    EXPECT_EQ(dialogs.messages.last(), form->Session().Commands().Entry(6).RangeText);
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(Grid()->RowCount(), 2);
}

TEST_F(EditorFixture, DirectControlSendsEachCommandAlone) {
    W<QToolButton>("btnBG")->click();
    W<QCheckBox>("chbDirectControl")->click();
    EXPECT_TRUE(form->Session().Datas().Settings().DirectControl);
    EXPECT_TRUE(Lines().isEmpty()) << "ticking the box clears the list";

    W<QToolButton>("btnLD1")->click();
    EXPECT_EQ(Lines(), QStringList{"LD1"}) << "no automatic BG and EN in Direct Control";
    ASSERT_TRUE(WaitForEnd());
    W<QToolButton>("btnEN")->click();
    EXPECT_EQ(Lines(), QStringList{"EN"});
    EXPECT_EQ(Grid()->RowCount(), 3);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), (std::vector<std::string>{"LD1", "EN"}));

    Type(W<QLineEdit>("EditMVn"), "0");
    W<QToolButton>("btnMVn")->click();
    EXPECT_TRUE(Lines().isEmpty()) << "a refused command leaves the list empty";
    RunEventsFor(50);
    EXPECT_EQ(simulator.Commands().size(), 2u) << "and nothing is sent";
}

TEST_F(EditorFixture, DirectControlRefusesACommandWhileTheLastOneIsStillSent) {
    simulator.SetOptions([] {
        kvtsim::Options o;
        o.replyDelayMs = 150;
        return o;
    }());
    W<QCheckBox>("chbDirectControl")->click();
    W<QToolButton>("btnBG")->click();
    W<QToolButton>("btnEN")->click();
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(Lines(), QStringList{"BG"});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(), std::vector<std::string>{"BG"});
}

TEST_F(EditorFixture, DeletingRows) {
    W<QPushButton>("btnDelRaw")->click(); // empty list: nothing
    EXPECT_EQ(Grid()->RowCount(), 2);
    for (QToolButton* b :
         {W<QToolButton>("btnBG"), W<QToolButton>("btnEN"), W<QToolButton>("btnDL"), W<QToolButton>("btnDR")})
        b->click();
    Grid()->SetRow(2);
    W<QPushButton>("btnDelRaw")->click();
    EXPECT_EQ(Lines(), (QStringList{"BG", "DL", "DR"}));
    Grid()->SetRow(4); // the trailing empty row
    W<QPushButton>("btnDelRaw")->click();
    EXPECT_EQ(Lines().size(), 3);
    W<QPushButton>("btnAllClear")->click();
    EXPECT_EQ(Grid()->RowCount(), 2);
    EXPECT_TRUE(Lines().isEmpty());
}

TEST_F(EditorFixture, DraggingRowsReordersTheListAndTheTrailingRowRemoves) {
    for (QToolButton* b : {W<QToolButton>("btnBG"), W<QToolButton>("btnEN"), W<QToolButton>("btnDL"),
                           W<QToolButton>("btnDR"), W<QToolButton>("btnRS")})
        b->click();
    Grid()->DragRow(3, 1);
    EXPECT_EQ(Lines(), (QStringList{"DL", "BG", "EN", "DR", "RS"}));
    EXPECT_EQ(Numbers(), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(Grid()->Cell(2, 1), M(72));
    Grid()->DragRow(1, 4);
    EXPECT_EQ(Lines(), (QStringList{"BG", "EN", "DR", "DL", "RS"}));
    Grid()->DragRow(2, 6); // onto the trailing empty row
    EXPECT_EQ(Lines(), (QStringList{"BG", "DR", "DL", "RS"}));
    Grid()->DragRow(5, 1); // the trailing row itself does not move
    EXPECT_EQ(Lines(), (QStringList{"BG", "DR", "DL", "RS"}));
}

TEST_F(EditorFixture, UnitsAndScaleRescaleTheList) {
    Type(W<QLineEdit>("EditMVn"), "1000");
    W<QToolButton>("btnMVn")->click();
    W<TRadioGroup>("rgrUnits")->Click(1);
    EXPECT_TRUE(W<QGroupBox>("GrBoxStepsToUnits")->isEnabled());
    EXPECT_EQ(Lines(), QStringList{"MV1000"}) << "other units at scale 1 change nothing";
    Type(W<QLineEdit>("EditStepsToUnits"), "100");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(Lines(), QStringList{"MV100000"});
    EXPECT_EQ(Descriptions(), QStringList{M(50) + "1000 Step"}) << "the description follows the unit";
    EXPECT_EQ(W<QLabel>("lblScale")->text(), "100");
    EXPECT_EQ(form->Session().Commands().Entry(6).MinText, "0.01");

    Type(W<QLineEdit>("EditStepsToUnits"), "2,5"); // a comma on a system whose separator is a point
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 2.5);
    EXPECT_EQ(W<QLineEdit>("EditStepsToUnits")->text(), "2.5") << "shown with the system's separator";
    EXPECT_EQ(Lines(), QStringList{"MV2500"});

    Type(W<QLineEdit>("EditStepsToUnits"), "abc");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(dialogs.messages.last(), M(Msg::ScaleIncorrect));
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 1.0);
    EXPECT_EQ(Lines(), QStringList{"MV1000"});

    Type(W<QLineEdit>("EditStepsToUnits"), "0");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 1.0);
    EXPECT_EQ(W<QLineEdit>("EditStepsToUnits")->text(), "1");

    Type(W<QLineEdit>("EditStepsToUnits"), "100");
    W<QPushButton>("btnScaleChange")->click();
    W<TRadioGroup>("rgrUnits")->Click(0);
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 1.0);
    EXPECT_EQ(Lines(), QStringList{"MV100000"}) << "choosing steps does not re-scale";
    EXPECT_FALSE(W<QGroupBox>("GrBoxStepsToUnits")->isEnabled());
}

TEST_F(EditorFixture, OnACommaSystemTheScaleShowsAComma) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    W<TRadioGroup>("rgrUnits")->Click(1);
    Type(W<QLineEdit>("EditStepsToUnits"), "2.5");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 2.5);
    EXPECT_EQ(W<QLineEdit>("EditStepsToUnits")->text(), "2,5");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(EditorFixture, ARescaledLineBeyond32BitsIsLimitedAndLogged) {
    form->Session().Editor().Replace({"MV10000000"});
    W<TRadioGroup>("rgrUnits")->Click(1);
    Type(W<QLineEdit>("EditStepsToUnits"), "1000000");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(Lines(), QStringList{"MV2147483647"});
    EXPECT_TRUE(form->MemoLog->IsRed(form->MemoLog->LineCount() - 1));
}

TEST_F(EditorFixture, SaveProposesFreeNamesAndRefusesOtherExtensions) {
    const QString users = folder.File("Users");
    dialogs.fileAnswers = {users + "/wrong.KVT", users + "/KVT-Prog-1.kvt"};
    W<QToolButton>("btnBG")->click();
    form->mmFileSave->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{M(Msg::FileNameIncorrect)});
    EXPECT_EQ(dialogs.fileDialogs,
              (QStringList{"save " + users + "|KVT-Prog-1.kvt", "save " + users + "|KVT-Prog-1.kvt"}));
    EXPECT_TRUE(QFile::exists(users + "/KVT-Prog-1.kvt"));
    EXPECT_TRUE(QFile::exists(users + "/KVT-Prog-1._kvt"));
    form->mmFileSave->trigger(); // cancelled
    EXPECT_EQ(dialogs.fileDialogs.last(), "save " + users + "|KVT-Prog-2.kvt");
}

TEST_F(EditorFixture, SaveAndLoadRoundTripInBothUnitsModes) {
    const QString file = folder.File("Users/prog.kvt");
    Type(W<QLineEdit>("EditMVn"), "2000");
    W<QToolButton>("btnMVn")->click();
    Type(W<QLineEdit>("EditSD"), "400");
    W<QToolButton>("btnSD")->click();
    const QStringList descriptions = Descriptions();
    dialogs.fileAnswers = {file};
    form->mmFileSave->trigger();
    EXPECT_EQ(LoadLinesFromFile(file, true), (QStringList{"MV2000", "SD400"}));

    W<QPushButton>("btnAllClear")->click();
    W<TRadioGroup>("rgrUnits")->Click(1);
    Type(W<QLineEdit>("EditStepsToUnits"), "100");
    W<QPushButton>("btnScaleChange")->click();
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard}; // the cleared list, no file's
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_EQ(Lines(), (QStringList{"MV2000", "SD400"})) << "loaded as stored, whatever the units";
    EXPECT_EQ(Descriptions(), descriptions);
    EXPECT_TRUE(W<QPushButton>("btnRunTR")->isEnabled());
}

TEST_F(EditorFixture, LoadingAFaultyProgramDisablesSendUntilAGoodOne) {
    const QString bad = folder.File("Users/bad.kvt");
    SaveLinesToFile(bad, {"BG", "XX5", "", "EN"}, true);
    SaveLinesToFile(folder.File("Users/bad._kvt"), {"a", "b"}, true);
    const int before = form->MemoLog->LineCount();
    dialogs.fileAnswers = {bad};
    form->mmFileOpen->trigger();
    EXPECT_EQ(Lines(), (QStringList{"BG", "XX5", "", "EN"}));
    EXPECT_FALSE(W<QPushButton>("btnRunTR")->isEnabled());
    ASSERT_EQ(form->MemoLog->LineCount(), before + 1) << "one warning, however many lines";
    EXPECT_TRUE(form->MemoLog->IsRed(before));
    EXPECT_EQ(form->MemoLog->Line(before),
              M(Msg::WrongCommandInList) + ' ' +
                  form->Session().Lang().ExtraText(Ext::FaultyLines).arg(2).arg("XX5").arg(2));
    EXPECT_EQ(Descriptions(), (QStringList{"a", "b", "", ""}))
        << "a short companion leaves descriptions empty";
    Grid()->SetRow(4);
    W<QPushButton>("btnDelRaw")->click();
    EXPECT_EQ(Lines().size(), 3) << "a row without description can still be deleted";
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};

    const QString good = folder.File("Users/good.kvt");
    SaveLinesToFile(good, {"BG"}, true);
    SaveLinesToFile(folder.File("Users/good._kvt"), {"begin", "extra", "more"}, true);
    dialogs.fileAnswers = {good};
    form->mmFileOpen->trigger();
    EXPECT_TRUE(W<QPushButton>("btnRunTR")->isEnabled());
    EXPECT_EQ(Descriptions(), QStringList{"begin"}) << "companion lines beyond the list are not shown";
}

TEST_F(EditorFixture, ADamagedProgramIsLoadedOnlyWhenTheOperatorWantsIt) {
    W<QToolButton>("btnBG")->click();
    // Scrambled by hand: every byte plus 93, the last line cut in its middle.
    QByteArray cut("LD1\r\nSD20");
    for (char& c : cut)
        c = char(quint8(c) + 93);
    folder.Write("Users/cut.kvt", cut);
    SaveLinesToFile(folder.File("Users/cut._kvt"), {"load", "speed"}, true);
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard, IDialogs::SaveChoice::Discard};
    dialogs.confirmAnswers = {false};
    dialogs.fileAnswers = {folder.File("Users/cut.kvt")};
    form->mmFileOpen->trigger();
    ASSERT_EQ(dialogs.confirmations.size(), 1);
    EXPECT_TRUE(dialogs.confirmations[0].contains(folder.File("Users/cut.kvt")));
    EXPECT_EQ(Lines(), QStringList{"BG"}) << "refused: the list stays";

    dialogs.confirmAnswers = {true};
    dialogs.fileAnswers = {folder.File("Users/cut.kvt")};
    form->mmFileOpen->trigger();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD20"}));
}

TEST_F(EditorFixture, ClickingTheSelectedModeOrUnitsAgainChangesNothing) {
    W<QToolButton>("btnBG")->click();
    form->rgrSingl_Mult->Click(1); // already the extended mode
    EXPECT_EQ(Lines(), QStringList{"BG"}) << "the program is not cleared";

    W<TRadioGroup>("rgrUnits")->Click(1);
    Type(W<QLineEdit>("EditMVn"), "10");
    W<QToolButton>("btnMVn")->click();
    Type(W<QLineEdit>("EditStepsToUnits"), "100"); // typed, never confirmed
    W<TRadioGroup>("rgrUnits")->Click(1);          // already "other units"
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 1.0);
    EXPECT_EQ(Lines(), (QStringList{"BG", "MV10"}));
}

TEST_F(EditorFixture, AMissingOrUnreadableCompanionLeavesTheListAsItWas) {
    W<QToolButton>("btnBG")->click();
    dialogs.saveAnswers = std::deque<IDialogs::SaveChoice>(3, IDialogs::SaveChoice::Discard);
    const QString file = folder.File("Users/lonely.kvt");
    SaveLinesToFile(file, {"MV1"}, true);
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{M(1) + folder.File("Users/lonely._kvt") + M(2)});
    EXPECT_EQ(Lines(), QStringList{"BG"});

    QDir(folder.File("Users")).mkdir("lonely._kvt"); // exists, but cannot be read
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_TRUE(dialogs.messages.last().startsWith("Cannot open file"))
        << dialogs.messages.last().toStdString();
    EXPECT_EQ(Lines(), QStringList{"BG"});

    dialogs.fileAnswers = {folder.File("Users/x.txt")};
    form->mmFileOpen->trigger();
    EXPECT_EQ(dialogs.messages.last(), M(Msg::FileNameIncorrect));
}

TEST_F(EditorFixture, EmptyBinaryAndHugeProgramFilesNeverCrash) {
    folder.Write("Users/empty.kvt", "");
    folder.Write("Users/empty._kvt", "");
    dialogs.fileAnswers = {folder.File("Users/empty.kvt")};
    W<QToolButton>("btnBG")->click();
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
    form->mmFileOpen->trigger();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(Grid()->RowCount(), 2);

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 37) & 0xFF));
    folder.Write("Users/bin.kvt", binary);
    folder.Write("Users/bin._kvt", binary);
    dialogs.fileAnswers = {folder.File("Users/bin.kvt")};
    form->mmFileOpen->trigger();

    folder.Write("Users/huge.kvt", QByteArray(ProgramFiles::MaxFileSize + 1, 'A'));
    folder.Write("Users/huge._kvt", "");
    const QStringList before = Lines();
    dialogs.fileAnswers = {folder.File("Users/huge.kvt")};
    form->mmFileOpen->trigger();
    EXPECT_TRUE(dialogs.messages.last().contains("too large")) << dialogs.messages.last().toStdString();
    EXPECT_EQ(Lines(), before);
}

TEST_F(EditorFixture, TheModeSwitchLaysOutTheWindowAndClearsTheList) {
    EXPECT_EQ(form->width(), 394);
    EXPECT_TRUE(form->mmFileSave->isEnabled());
    EXPECT_FALSE(W<QCheckBox>("ChboxCoord1")->isVisibleTo(form.get()));
    W<QToolButton>("btnBG")->click();
    form->rgrSingl_Mult->Click(0);
    EXPECT_EQ(form->width(), 370);
    EXPECT_FALSE(form->mmFileSave->isEnabled());
    EXPECT_FALSE(form->mmFileOpen->isEnabled());
    EXPECT_TRUE(Lines().isEmpty());
    ChangeSettings([&](TSettings& s) { s.ShowPortLog = true; });
    ChangeSettings([&](TSettings& s) { s.ShowLoadLog = true; });
    form->rgrSingl_Mult->Click(1);
    EXPECT_EQ(form->width(), 604);
    EXPECT_EQ(W<QFrame>("panelPortAns")->width(), 105);
}

TEST_F(EditorFixture, ALongDescriptionDoesNotHideTheCommandColumns) {
    form->show();
    for (QToolButton* b : {W<QToolButton>("btnLD1"), W<QToolButton>("btnSD"), W<QToolButton>("btnMVn"),
                           W<QToolButton>("btnAL"), W<QToolButton>("btnED")})
        b->click();
    RunEventsFor(30);
    EXPECT_GE(Grid()->ColWidth(2), 100) << "the description column takes the room left";
    EXPECT_EQ(Grid()->ColWidth(1), 20) << "column 1 empty, as described";
    EXPECT_EQ(Grid()->Cell(1, 1), "");
    ChangeSettings([](TSettings& s) { s.ShowCodes = true; }); // asked for
    RunEventsFor(30);
    EXPECT_GE(Grid()->ColWidth(1), Grid()->fontMetrics().horizontalAdvance("MV10000000"))
        << "the list line is shown whole";
    EXPECT_EQ(Grid()->Cell(1, 1), "LD1");
    SaveScreenshot(form.get(), "editor-en");
}

TEST_F(EditorFixture, EveryToolButtonCanBePressedByAssistiveTechnology) {
    const QString press = QAccessibleActionInterface::pressAction();
    const QString menu = QAccessibleActionInterface::showMenuAction();
    const QList<QToolButton*> buttons = W<QWidget>("pnlTools")->findChildren<QToolButton*>();
    ASSERT_GE(buttons.size(), 20);
    for (QToolButton* button : buttons) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        ASSERT_TRUE(face && face->actionInterface()) << button->objectName().toStdString();
        const QStringList actions = face->actionInterface()->actionNames();
        EXPECT_TRUE(actions.contains(press))
            << button->objectName().toStdString() << ": " << actions.join(", ").toStdString();
        EXPECT_EQ(actions.contains(menu), button->menu() != nullptr) << button->objectName().toStdString();
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty()) << button->objectName().toStdString();
    }
    // The split buttons' press does the described click; their menu stays the arrow's.
    const struct {
        const char* name;
        QStringList added;
    } splits[] = {{"btnLD1", {"LD1", "BG", "EN"}}, {"btnST", {"ST"}}, {"btnPS1", {"PS1"}}};
    for (const auto& s : splits) {
        const QStringList before = Lines();
        QAccessible::queryAccessibleInterface(W<QToolButton>(s.name))->actionInterface()->doAction(press);
        EXPECT_EQ(Lines(), before + s.added) << s.name;
    }
}
