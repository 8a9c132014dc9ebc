// The command list as an editor: commands inserted before the selected row, a new row scrolled
// into view, rows cut, copied and pasted as text, a row's argument edited in place; each one
// step of the undo history.
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"
#include "widgets/LogView.h"
#include "widgets/StringGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

class ListEditingFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QStringList Lines() const { return form->Session().Editor().List().Lines(); }
    TStringGrid* Grid() const { return W<TStringGrid>("StringGridSend"); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key(key), modifiers);
    }
    void Undo() { form->mmEditUndo->trigger(); }
};

} // namespace

TEST_F(ListEditingFixture, CommandsGoToTheEndUnlessAnInsertIsAskedForAndANewRowComesIntoSight) {
    auto* line = W<QLineEdit>("EditCommandLine");
    const auto type = [&](const char* text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        line->setFocus();
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return, modifiers);
    };
    // A row clicked, or dragged (row 3 of 5 to row 1), leaves a row selected: the buttons and the
    // command line still add at the end, as described.
    form->Session().Editor().Replace({"LD1", "SD200", "ED"});
    Grid()->SetRow(3);
    W<QToolButton>("btnBG")->click();
    type("mv 50");
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "ED", "BG", "MV50"}));
    Grid()->DragRow(3, 1);
    W<QToolButton>("btnEN")->click();
    EXPECT_EQ(Lines(), (QStringList{"ED", "LD1", "SD200", "BG", "MV50", "EN"}));
    EXPECT_EQ(W<QLabel>("lblCommandMeaning")->text(), Ext(Ext::EditorAddsAtEnd));

    // Ctrl+Enter on the command line inserts one command before the selected row.
    form->Session().Editor().Replace({"LD1", "SD200", "ED"});
    Grid()->SetRow(3); // ED
    type("dl", Qt::ControlModifier);
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "DL", "ED"}));
    W<QToolButton>("btnBG")->click();
    EXPECT_EQ(Lines().last(), "BG") << "the next one goes to the end again";

    // "Insert before the selected row", turned on: the buttons and the line insert there.
    form->Session().Editor().Replace({"LD1", "SD200", "ED"});
    Grid()->SetRow(3);
    form->findChild<QAction*>("mmEditInsertMode")->trigger();
    EXPECT_EQ(W<QLabel>("lblCommandMeaning")->text(), Ext(Ext::EditorInsertsBefore).arg(3));
    W<QToolButton>("btnBG")->click();
    type("mv 50");
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "BG", "MV50", "ED"}))
        << "each after the one inserted before";
    EXPECT_EQ(Grid()->Row(), 5) << "the selection stays on ED";
    Undo();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "BG", "ED"})) << "one step each";
    form->findChild<QAction*>("mmEditInsertMode")->trigger();
    EXPECT_EQ(W<QLabel>("lblCommandMeaning")->text(), Ext(Ext::EditorAddsAtEnd));

    // The trailing empty row: the end again, and the new row is scrolled to.
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << "SP" + QString::number(i + 1);
    form->Session().Editor().Replace(many);
    Grid()->scrollToTop();
    Grid()->SetRow(201);
    W<QToolButton>("btnBG")->click();
    EXPECT_EQ(Lines().last(), "BG");
    const QRect row = Grid()->visualRect(Grid()->model()->index(200, 0));
    EXPECT_TRUE(Grid()->viewport()->rect().intersects(row)) << "the new last row is in sight";
}

TEST_F(ListEditingFixture, RowsAreCutCopiedAndPastedAsTextEachOneStep) {
    form->Session().Editor().Replace({"LD1", "SD200", "MV100", "ED"});
    Grid()->SetRow(2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "SD200\n");
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (QStringList{"LD1", "MV100", "ED"}));
    Grid()->SetRow(3); // ED
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (QStringList{"LD1", "MV100", "SD200", "ED"}));
    Undo();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "MV100", "ED"}));
    Undo();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "MV100", "ED"}));

    // A text from elsewhere is checked as an import is: the bad lines named, the rest taken.
    QGuiApplication::clipboard()->setText("BG\nXX5\nSD 0\nEN\n");
    Grid()->clearSelection();
    form->findChild<QAction*>("mmEditPaste")->trigger();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD200", "MV100", "ED", "BG", "EN"}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(Ext(Ext::ImportRefused).arg(Ext(Ext::ClipboardName))))
        << dialogs.messages[0].toStdString();
    QGuiApplication::clipboard()->setText("nothing of a program");
    form->findChild<QAction*>("mmEditPaste")->trigger();
    EXPECT_EQ(dialogs.messages.last(), Ext(Ext::NoCommandsImported).arg(Ext(Ext::ClipboardName)));
    EXPECT_EQ(Lines().size(), 6) << "nothing taken";
}

TEST_F(ListEditingFixture, AnArgumentIsEditedInPlaceCheckedAsTheArgumentEditsAre) {
    form->Session().Editor().Replace({"LD1", "SD200", "BG", "ED"});
    Grid()->SetRow(2);
    Key(Qt::Key_F2);
    auto* edit = form->findChild<QLineEdit*>("EditRowArgument");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "200");
    const struct {
        const char* typed;
        QString message; // empty: taken
    } cases[] = {
        {"0", form->Session().Commands().Entry(TKVTCommands::SD).RangeText},
        {"300", {}},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        edit->setText(c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs.messages.isEmpty()) << c.typed;
        } else {
            EXPECT_EQ(dialogs.messages.value(0), c.message) << c.typed;
            EXPECT_EQ(Lines()[1], "SD200") << "a refused value changes nothing";
        }
    }
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD300", "BG", "ED"}));
    const auto closed = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // deleteLater's turn
        return form->findChild<QLineEdit*>("EditRowArgument") == nullptr;
    };
    EXPECT_TRUE(closed()) << "closed once taken";
    Undo();
    EXPECT_EQ(Lines()[1], "SD200");

    // A pause must be whole: refused as its button refuses it.
    Grid()->SetRow(3);
    W<QToolButton>("btnSP")->setFocus();
    form->Session().Editor().Replace({"LD1", "SD200", "SP100", "ED"});
    Grid()->SetRow(3);
    Key(Qt::Key_F2);
    edit = form->findChild<QLineEdit*>("EditRowArgument");
    ASSERT_NE(edit, nullptr);
    edit->setText("1.5");
    dialogs.messages.clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialogs.messages.value(0), M(Msg::ParameterIncorrect));
    EXPECT_EQ(Lines()[2], "SP100");
    QTest::keyClick(edit, Qt::Key_Escape);

    // Esc leaves the row as it was; a double-click opens the edit too.
    QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {},
                       Grid()->visualRect(Grid()->model()->index(1, TCommandList::LineColumn)).center());
    edit = form->findChild<QLineEdit*>("EditRowArgument");
    ASSERT_NE(edit, nullptr);
    edit->setText("999");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(Lines()[1], "SD200");
    EXPECT_TRUE(closed());
}

TEST_F(ListEditingFixture, ATallerWindowGivesMostOfItsRoomToTheCommandList) {
    QCoreApplication::processEvents();
    const int list = Grid()->height(), log = form->MemoLog->height();
    form->resize(form->width() + 200, form->height() + 300);
    ASSERT_TRUE(WaitUntil([&] { return Grid()->height() > list; }));
    const int listGain = Grid()->height() - list, logGain = form->MemoLog->height() - log;
    EXPECT_GT(listGain, 2 * logGain) << "list +" << listGain << ", log +" << logGain;
}
