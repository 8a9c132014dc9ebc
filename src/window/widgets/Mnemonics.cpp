#include "Mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace Mnemonics {

QString Bare(const QString& caption) {
    QString bare;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&x" is a marked x, "&&" a '&'; a '&' before anything else is taken as it stands.
        if (caption[i] == '&' && i + 1 < caption.size() &&
            (caption[i + 1] == '&' || caption[i + 1].isLetterOrNumber()))
            ++i;
        bare += caption[i];
    }
    return bare;
}

namespace {

// Where the mark goes in `caption`: a position whose letter is not in `taken`, or -1.
qsizetype Choose(const QString& caption, const QSet<QChar>& taken) {
    const auto free = [&](qsizetype i) {
        const QChar c = caption[i];
        return c.isLetterOrNumber() && !taken.contains(c.toLower());
    };
    if (!caption.isEmpty() && free(0))
        return 0;
    for (qsizetype i = 1; i < caption.size(); ++i) {
        if (caption[i - 1].isSpace() && free(i))
            return i;
    }
    for (qsizetype i = 1; i < caption.size(); ++i) {
        if (free(i))
            return i;
    }
    return -1;
}

void ApplyTo(QMenu* menu) {
    QList<QAction*> entries;
    QStringList captions;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        entries << action;
        captions << action->text();
    }
    const bool numbered = menu->property("numbered").toBool();
    if (!numbered) {
        const QStringList marked = Assign(captions);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (entries[i]->text() != marked[i])
                entries[i]->setText(marked[i]);
        }
    }
    for (QAction* action : entries) {
        if (QMenu* sub = action->menu())
            ApplyTo(sub);
    }
}

} // namespace

QStringList Assign(const QStringList& captions) {
    QSet<QChar> taken;
    QStringList marked;
    for (const QString& caption : captions) {
        // Drop the old mark; a literal '&' is written "&&" again.
        const QString bare = Bare(caption);
        const qsizetype at = Choose(bare, taken);
        QString text;
        for (qsizetype i = 0; i < bare.size(); ++i) {
            if (i == at)
                text += '&';
            text += bare[i];
            if (bare[i] == '&')
                text += '&';
        }
        if (at >= 0)
            taken.insert(bare[at].toLower());
        marked << text;
    }
    return marked;
}

void Apply(QMenuBar* bar) {
    QList<QMenu*> menus;
    QStringList titles;
    for (QAction* action : bar->actions()) {
        if (QMenu* menu = action->menu()) {
            menus << menu;
            titles << menu->title();
        }
    }
    const QStringList marked = Assign(titles);
    for (qsizetype i = 0; i < menus.size(); ++i) {
        if (menus[i]->title() != marked[i])
            menus[i]->setTitle(marked[i]);
        ApplyTo(menus[i]);
    }
}

} // namespace Mnemonics
