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

// The command list's grid as an editor. The buttons and the command line add at the end, as
// described; inserting before the selected row is asked for: "Insert before the selected row"
// in the Edit menu (Insert, off at every start; the line under the command line says where new
// commands go while it is on), or Ctrl+Enter on the command line for one command. A new row is
// scrolled into view; Cut, Copy and Paste (Ctrl+X, C, V on the grid, and in the Edit menu) move
// rows as plain text, a paste going before the one selected row; F2 or a double-click edits a
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

    QAction *mmEditCut, *mmEditCopy, *mmEditPaste, *mmEditInsertMode;

private:
    // The commands of the selected rows; the one selected command, or -1.
    QList<int> Selected() const;
    int SelectedOne() const;
    // The command line's command inserted before the selected row.
    void InsertTyped();
    void SelectionChanged();
    void ApplyTexts();
    void CloseEdit();
    int EditColumn() const;

    TRooms rooms_;
    TStringGrid* grid_;
    TCommandInput* input_;
    QLineEdit* edit_ = nullptr; // the in-place edit, while open
    int editIndex_ = -1;
};
