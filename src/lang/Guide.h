#pragma once

#include <QList>
#include <QString>

// The operator's guide in one language: Markdown read from the program folder's
// lang/<code>/guide.md, or the one built into the program (:/guide/<code>/guide.md), or, when the language
// has none, the English one (FellBack). A line "<!-- topic: key -->" before a heading names that heading with
// a key every language shares, so that a control can open the guide at its topic whatever the
// language; the markers are taken out of the text shown.
class TGuide {
public:
    struct TTopic {
        QString key;   // the marker's key, or empty
        QString title; // the heading's text
        int level = 1; // 1 for "#", 2 for "##", ...
        QString text;  // the heading's section, up to the next heading
    };

    // The guide of `language`, looked for in `langFolder` (a program folder's lang) first.
    static TGuide Load(const QString& langFolder, const QString& language);
    // A guide of this Markdown text (for the tests and the loader).
    static TGuide FromMarkdown(const QString& markdown, const QString& language, bool fellBack = false);

    const QString& Markdown() const { return markdown_; }
    const QString& Language() const { return language_; }
    bool FellBack() const { return fellBack_; }
    const QList<TTopic>& Topics() const { return topics_; }
    // The topic of `key`, or -1.
    int TopicOf(const QString& key) const;
    // The topics whose heading or text holds `words` (case ignored), in order;
    // every topic for no words.
    QList<int> Find(const QString& words) const;

private:
    QString markdown_, language_;
    bool fellBack_ = false;
    QList<TTopic> topics_;
};
