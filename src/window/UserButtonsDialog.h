#pragma once

#include "settings/UserButtonsFile.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TUserButtons;

// "User buttons": the operator makes, names, edits, orders and deletes the buttons; OK checks
// every line as the controller would take it and writes the file; Cancel changes nothing.
class TUserButtonsDialog : public QDialog {
    Q_OBJECT
public:
    TUserButtonsDialog(TUserButtons& buttons, QWidget* parent);

    // OK: the buttons kept when they pass the check (else its reason shown, the dialog open).
    void Accept();
    void AddButton();
    void DeleteButton();
    // Moves the chosen button one place: -1 up, +1 down.
    void MoveButton(int step);

    QListWidget* lstButtons;
    QLineEdit* EditButtonName;
    QPlainTextEdit* MemoButtonLines;
    QPushButton *btnAdd, *btnDelete, *btnUp, *btnDown, *btnOk, *btnCancel;

private:
    // What the edits hold, into the button being edited.
    void KeepEdits();
    void ShowButton(int row);
    void Refill(int row);

    TUserButtons& buttons_;
    QList<TUserButton> work_;
    int shown_ = -1; // the button the edits show
};
