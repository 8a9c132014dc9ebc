#include "HelpWindow.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

THelpWindow::THelpWindow(const TLang& lang, const QString& langFolder, const QString& language,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), lang_(lang), guide_(TGuide::Load(langFolder, language)) {
    setObjectName("FormHelp");
    setWindowTitle(lang.ExtraText(Ext::HelpTitle));
    search = new QLineEdit(this);
    search->setObjectName("HelpSearch");
    search->setPlaceholderText(lang.ExtraText(Ext::HelpSearch));
    search->setAccessibleName(lang.ExtraText(Ext::HelpSearch));
    search->setClearButtonEnabled(true);
    contents = new QListWidget(this);
    contents->setObjectName("HelpContents");
    contents->setAccessibleName(lang.ExtraText(Ext::HelpContents));
    browser = new QTextBrowser(this);
    browser->setObjectName("HelpText");
    browser->setAccessibleName(lang.ExtraText(Ext::HelpTitle));
    browser->setOpenExternalLinks(true);
    // Pictures are looked for beside a guide of the folder's own, then among the built-in ones.
    browser->setSearchPaths({langFolder + '/' + guide_.Language(), ":/guide"});
    browser->setMarkdown(guide_.Markdown());
    note = new QLabel(this);
    note->setObjectName("HelpNote");
    note->setWordWrap(true);
    note->setText(guide_.FellBack() ? lang.ExtraText(Ext::HelpFallback) : QString());
    note->setVisible(guide_.FellBack());

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(search);
    sideLayout->addWidget(contents);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(splitter);
    // 900 x 600, or nine tenths of a smaller screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 9 / 10 : QSize(900, 600);
    resize(std::min(900, room.width()), std::min(600, room.height()));
    splitter->setSizes({width() / 4, width() * 3 / 4}); // the guide's text gets the room

    FillContents(guide_.Find({}));
    connect(search, &QLineEdit::textChanged, this, &THelpWindow::Search);
    connect(search, &QLineEdit::returnPressed, this, [this] {
        if (contents->count() > 0)
            GoTo(contents->item(0)->data(Qt::UserRole).toInt());
    });
    connect(contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            GoTo(contents->item(row)->data(Qt::UserRole).toInt());
    });
}

void THelpWindow::ShowTopic(const QString& key) {
    const int topic = guide_.TopicOf(key);
    GoTo(topic >= 0 ? topic : 0);
}

QString THelpWindow::TopicFor(const QWidget* control) {
    // Panels and dialogs by their class, a few controls by their name.
    static const std::pair<const char*, const char*> classes[] = {
        {"TSimpleModePanel", "simple"}, {"TUnitsPanel", "units"},      {"TCommandToolPanel", "list"},
        {"TCommandInput", "list"},      {"TFormChanRead", "readback"}, {"TFormPortName", "connection"},
        {"TFormByteLen", "connection"}, {"TChannelStatePanel", "tour"}};
    static const std::pair<const char*, const char*> names[] = {
        {"Port", "connection"}, {"StringGridSend", "list"}, {"CommandInput", "list"},
        {"Send", "sending"},    {"StopAll", "stop"},        {"Preview", "sending"}};
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        for (const auto& [name, topic] : names) {
            if (w->objectName().contains(QLatin1String(name)))
                return topic;
        }
        for (const auto& [cls, topic] : classes) {
            if (w->inherits(cls))
                return topic;
        }
    }
    return {};
}

void THelpWindow::Search(const QString& words) {
    const QList<int> found = guide_.Find(words);
    FillContents(found);
    note->setVisible(guide_.FellBack() || found.isEmpty());
    note->setText(found.isEmpty()     ? lang_.ExtraText(Ext::HelpNothingFound).arg(words.simplified())
                  : guide_.FellBack() ? lang_.ExtraText(Ext::HelpFallback)
                                      : QString());
    if (found.isEmpty() || words.simplified().isEmpty())
        return;
    // The first place the first word stands, from the first topic that holds them all.
    GoTo(found.first());
    browser->find(words.simplified().section(' ', 0, 0));
}

void THelpWindow::GoTo(int topic) {
    if (topic < 0 || topic >= guide_.Topics().size())
        return;
    current_ = topic;
    // The topic's heading is the n-th heading block of the document, whatever the language.
    int headings = -1;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && ++headings == topic) {
            QTextCursor cursor(block);
            browser->setTextCursor(cursor);
            // The heading at the top of the view, not merely somewhere in it.
            browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
            browser->ensureCursorVisible();
            break;
        }
    }
    for (int row = 0; row < contents->count(); ++row) {
        if (contents->item(row)->data(Qt::UserRole).toInt() == topic && contents->currentRow() != row) {
            const QSignalBlocker quiet(contents);
            contents->setCurrentRow(row);
        }
    }
}

void THelpWindow::FillContents(const QList<int>& topics) {
    const QSignalBlocker quiet(contents);
    contents->clear();
    for (const int topic : topics) {
        const TGuide::TTopic& t = guide_.Topics()[topic];
        auto* item = new QListWidgetItem(QString(2 * (t.level - 1), ' ') + t.title, contents);
        item->setData(Qt::UserRole, topic);
    }
}
