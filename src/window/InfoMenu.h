#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;
class THelpWindow;
class TOperatorSettings;

// What the Info menu adds beside the described entries: "User guide" (F1: the operator's guide
// in the program's own window, at the topic of the focused control), "Keyboard shortcuts" (a
// window listing every key) and "Licence and documents" (the licence, and where the documents
// are; the described "Program vers." keeps its two boxes).
class TInfoMenu : public QObject {
    Q_OBJECT
public:
    TInfoMenu(QMenu* info, TOperatorSettings& options, QWidget* window);

    // The guide window, at the topic of the control that has the focus.
    void OpenUserGuide();
    void ShowShortcuts();
    void ShowAbout();

    QAction *mmUserGuide, *mmShortcuts, *mmAbout;

private:
    void ApplyTexts();

    TOperatorSettings& options_;
    QWidget* window_;
    QPointer<THelpWindow> help_;
    QString helpLanguage_; // the language the guide window was made in
};
