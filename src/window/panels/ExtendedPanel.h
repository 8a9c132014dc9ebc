#pragma once

#include "widgets/Panel.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TCommandToolPanel;
class TMemoList;
class TReplyList;
class TLang;
class TStringGrid;
class QVBoxLayout;

// PanelMultC, the extended control mode: the command buttons, the command list StringGridSend
// with "Send", "Stop sending", "Clear all", "Clear current string" and "Direct Control", and
// beside it the recording list "Loading:" and the reply list "Response:", each shown when the
// settings ask for it.
class TExtendedPanel : public TPanel {
    Q_OBJECT
public:
    explicit TExtendedPanel(QWidget* parent = nullptr);

    // Shows or hides the two side lists, each 105 wide; the reply list wider by its column of
    // times when it shows them. Returns the panel's width for the list and the lists.
    int ShowSideLists(bool loading, bool replies, bool replyTimes = false);
    // Enables or disables the panel with every control on it (the mode switch).
    void EnableAll(bool on);
    // Puts `widget` (the command line) between the command list and its buttons.
    void PlaceBelowList(QWidget* widget);
    // The texts and hints of the controls this program adds, in the language in use.
    void ApplyTexts(const TLang& lang);

    TCommandToolPanel* Tools;
    TStringGrid* StringGridSend;
    QPushButton* btnRunTR;
    QPushButton* btnStopSending;
    QPushButton* btnAllClear;
    QPushButton* btnDelRaw;
    QCheckBox* chbDirectControl;
    QPushButton* btnPreview; // the program preview
    QPushButton* btnClear;
    TMemoList* MemoRead;
    TReplyList* lbBufRead;

private:
    QVBoxLayout* listColumn;
    QFrame* panelLoadAns;
    QLabel* lblLoading;
    QFrame* panelPortAns;
    QLabel* lblResponse;
};
