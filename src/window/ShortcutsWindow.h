#pragma once

#include <QDialog>

class QTableWidget;
class TLang;

// "Keyboard shortcuts": every key of the program and what it does, in the language in use.
// Not modal; released when closed.
class TShortcutsWindow : public QDialog {
    Q_OBJECT
public:
    TShortcutsWindow(const TLang& lang, QWidget* parent);

    QTableWidget* Table;
};
