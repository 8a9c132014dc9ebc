#pragma once

#include <QObject>

class QAction;
class QLineEdit;
class QMenu;
class TCommandInput;
class TListEdits;
class TOperatorSettings;
class TProgramEditor;
class TStringGrid;

// The command list's grid as an editor: the selected row is where new commands go (the buttons
// and the command line insert before it; with none selected they add at the end, and the
// command line says which); a new row is scrolled into view; Cut, Copy and Paste (Ctrl+X, C, V
// on the grid, and in the Edit menu) move rows as plain text; F2 or a double-click edits a
// row's argument in place, Enter taking it and Esc leaving it.
class TListEditControls : public QObject {
    Q_OBJECT
public:
    struct TRooms {
        TListEdits& edits;
        TProgramEditor& editor;
        TOperatorSettings& options;
    };
    TListEditControls(const TRooms& rooms, TStringGrid* grid, TCommandInput* input, QMenu* editMenu,
                      QObject* parent);

    void Cut();
    void Copy();
    void Paste();
    // Opens the in-place edit of command `index`'s argument.
    void EditRow(int index);
    // Takes what the in-place edit holds: false (the edit stays open) when it is refused.
    bool TakeEdit();

    QAction *mmEditCut, *mmEditCopy, *mmEditPaste;

private:
    // The commands of the selected rows.
    QList<int> Selected() const;
    void SelectionChanged();
    void ApplyTexts();
    void CloseEdit();

    TRooms rooms_;
    TStringGrid* grid_;
    TCommandInput* input_;
    QLineEdit* edit_ = nullptr; // the in-place edit, while open
    int editIndex_ = -1;
};
