#pragma once

#include "lang/Guide.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class TLang;

// The operator's guide, rendered (headings, tables, pictures) in the interface's language, with
// its contents beside it and a search above them: the words typed keep the topics that hold them
// in the contents and mark the first place they stand. A language without a guide shows the
// English one and says so. One window, raised again at each F1.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // The guide of the language in use, from the program folder's lang folder or the built-in one.
    THelpWindow(const TLang& lang, const QString& langFolder, const QString& language,
                QWidget* parent = nullptr);

    // Shows the topic of `key` (the beginning when the guide has no such topic).
    void ShowTopic(const QString& key);
    // The topic a control belongs to: the control, or the panel or dialog it stands in; empty
    // when none.
    static QString TopicFor(const QWidget* control);

    const TGuide& Guide() const { return guide_; }
    // The topic shown (its index in the guide's topics), or -1.
    int CurrentTopic() const { return current_; }

    QLineEdit* search;
    QListWidget* contents;
    QTextBrowser* browser;
    QLabel* note; // the fallback's word, or what a search did not find

private:
    void Search(const QString& words);
    void GoTo(int topic);
    void FillContents(const QList<int>& topics);

    const TLang& lang_;
    TGuide guide_;
    int current_ = -1;
};
