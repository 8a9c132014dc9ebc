// The operator's guide in its window: F1 at the focused control's topic in each language, the
// search, and the English guide where a language has none.
#include "HelpWindow.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "WindowFixture.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/UnitsPanel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

class HelpFixture : public WindowFixture {
protected:
    void SetUp() override {
        CreateWindow(1);
        form->show();
    }
    // F1 with `control` focused: the guide window it opens.
    THelpWindow* PressF1On(QWidget* control) {
        QApplication::setActiveWindow(form.get());
        control->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), control);
        form->findChild<QAction*>("mmUserGuide")->trigger();
        return form->findChild<THelpWindow*>();
    }
    // The heading the guide's text cursor stands on.
    static QString HeadingShown(const THelpWindow& help) {
        const QTextBlock block = help.browser->textCursor().block();
        return block.blockFormat().headingLevel() > 0 ? block.text() : QString();
    }
};

} // namespace

TEST_F(HelpFixture, F1OpensTheGuideAtTheFocusedControlsTopicInEachLanguage) {
    const struct {
        const char* language;
        const char* units; // the units topic's heading
    } cases[] = {{"en", "Steps and units"}, {"ru", "Шаги и единицы"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SwitchLanguage(*form, c.language));
        // A control of the units' panel that takes the focus.
        auto* panel = form->findChild<TUnitsPanel*>();
        ASSERT_NE(panel, nullptr);
        QWidget* control = nullptr;
        for (QWidget* w : panel->findChildren<QWidget*>()) {
            if (!control && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus)
                control = w;
        }
        ASSERT_NE(control, nullptr);
        THelpWindow* help = PressF1On(control);
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->Guide().Language(), c.language);
        EXPECT_FALSE(help->note->isVisible()) << "a guide of its own: no fallback said";
        EXPECT_EQ(help->CurrentTopic(), help->Guide().TopicOf("units"));
        EXPECT_EQ(HeadingShown(*help), QString::fromUtf8(c.units));
        EXPECT_EQ(help->windowTitle(), Session().Lang().ExtraText(Ext::HelpTitle));
    }
}

TEST_F(HelpFixture, TheSearchKeepsTheTopicsThatHoldTheWordsAndMarksTheFirstPlace) {
    form->findChild<QAction*>("mmUserGuide")->trigger();
    auto* help = form->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    const int all = help->contents->count();
    EXPECT_EQ(all, help->Guide().Topics().size());

    help->search->setText("kvtctl wait");
    ASSERT_EQ(help->contents->count(), 1);
    EXPECT_EQ(help->CurrentTopic(), help->Guide().TopicOf("kvtctl"));
    EXPECT_EQ(help->browser->textCursor().selectedText(), "kvtctl");
    EXPECT_FALSE(help->note->isVisible());

    help->search->setText("no-such-word-anywhere");
    EXPECT_EQ(help->contents->count(), 0);
    EXPECT_TRUE(help->note->isVisible());
    EXPECT_TRUE(help->note->text().contains("no-such-word-anywhere"));

    help->search->clear();
    EXPECT_EQ(help->contents->count(), all);
    help->contents->setCurrentRow(help->Guide().TopicOf("stop"));
    EXPECT_EQ(help->CurrentTopic(), help->Guide().TopicOf("stop"));
}

TEST_F(HelpFixture, ALanguageWithoutAGuideShowsTheEnglishOneAndSaysSo) {
    THelpWindow help(Session().Lang(), folder.File("lang"), "de");
    EXPECT_EQ(help.Guide().Language(), "en");
    EXPECT_FALSE(help.note->isHidden());
    EXPECT_EQ(help.note->text(), Session().Lang().ExtraText(Ext::HelpFallback));
    help.ShowTopic("readback");
    EXPECT_EQ(help.CurrentTopic(), help.Guide().TopicOf("readback"));
    EXPECT_TRUE(help.browser->toPlainText().contains("Read from controller"));
}
