#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;
class TOperatorSettings;

// What the Info menu adds beside the described entries: "User guide" (the installed README in
// the desktop's viewer), "Keyboard shortcuts" (a window listing every key) and "About
// KVT_Program" (the licence, and where the documents are).
class TInfoMenu : public QObject {
    Q_OBJECT
public:
    TInfoMenu(QMenu* info, TOperatorSettings& options, QWidget* window);

    // The user guide: the first README.md found where an installation or a build keeps it.
    static QString UserGuide();
    void OpenUserGuide();
    void ShowShortcuts();
    void ShowAbout();

    QAction *mmUserGuide, *mmShortcuts, *mmAbout;

private:
    void ApplyTexts();

    TOperatorSettings& options_;
    QWidget* window_;
};
