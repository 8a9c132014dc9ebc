#pragma once

#include <QList>
#include <QObject>

class QAction;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;
class TMachineStop;
class TOperatorSettings;
class TUserButtons;

// What acts on the machine beside the command list, in both modes: the "Control" menu (Stop
// all on F12, from any window of the program; each user button, Ctrl+1 to Ctrl+9 for the first
// nine; "User buttons..." to make them), and a row under the log with the Stop all button and a
// button for each user button.
class TMachineControls : public QObject {
    Q_OBJECT
public:
    struct TRooms {
        TMachineStop& stop;
        TUserButtons& buttons;
        TOperatorSettings& options;
    };
    TMachineControls(const TRooms& rooms, QMenuBar* bar, QWidget* window);

    // The row of buttons, for the window to place.
    QWidget* Row() const { return row_; }
    // Sends user button `index`, or says why not.
    void Run(int index);
    // "User buttons...".
    void EditButtons();

    QMenu* mmControl;
    QAction* mmStopAll;
    QAction* mmUserButtons;
    QPushButton* btnStopAll;

private:
    // A button and a menu item for each user button.
    void Rebuild();
    void ApplyTexts();

    TRooms rooms_;
    QMenuBar* bar_;
    QWidget* window_;
    QWidget* row_;
    QHBoxLayout* rowLayout_;
    QList<QPushButton*> runButtons_;
    QList<QAction*> runActions_;
};
