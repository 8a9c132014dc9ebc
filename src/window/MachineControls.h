#pragma once

#include <QList>
#include <QStringList>

#include <QObject>
#include <array>

class QAction;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;
class TMachineStop;
class TOperatorSettings;
class TRunningChannels;
class TUserButtons;

// What acts on the machine beside the command list, in both modes: the "Control" menu (Stop
// all on F12, from any window of the program; each coordinate started, paused or stopped on its
// own, also from its indicator's context menu; each user button, Ctrl+1 to Ctrl+9 for the first
// nine; "User buttons..." to make them), and a row under the log with the Stop all button and a
// button for each user button. When the line opens on a recording that a lost line left open,
// it asks whether to end it (the default sends nothing).
class TMachineControls : public QObject {
    Q_OBJECT
public:
    struct TRooms {
        TMachineStop& stop;
        TUserButtons& buttons;
        TOperatorSettings& options;
        TRunningChannels& running;
    };
    TMachineControls(const TRooms& rooms, QMenuBar* bar, QWidget* window);

    // The row of buttons, for the window to place.
    QWidget* Row() const { return row_; }
    // Sends user button `index`, or says why not.
    void Run(int index);
    // "User buttons...".
    void EditButtons();
    // The indicators of coordinates 1 to 3 offer their coordinate's menu on a right click.
    void OfferOnIndicators(const std::array<QWidget*, 3>& indicators);
    QMenu* ChannelMenu(int channel) const { return channelMenus_.at(size_t(channel - 1)); }

    QMenu* mmControl;
    QAction* mmStopAll;
    QAction* mmUserButtons;
    QPushButton* btnStopAll;

private:
    // Start, pause or stop one coordinate, asking first where its state is not known.
    void ChannelAction(int channel, int action);
    void AskToEndLeftRecording(int channel, const QStringList& lines);
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
    std::array<QMenu*, 3> channelMenus_{};
};
