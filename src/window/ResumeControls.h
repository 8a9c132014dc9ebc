#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPushButton;
class QWidget;
class TLang;
class TProgramDocument;
class TResumeSending;
class TStringGrid;
struct TResumePoint;

// "Resume sending" (Control menu, Shift+F5, and a button in the status panel while a stopped
// sending of the list can go on) and "Send from the selected row" (Control menu, Ctrl+F5): each
// says what it would send (the lines, the coordinates, and why it starts at a program's LD) and
// sends only on the operator's Yes.
class TResumeControls : public QObject {
    Q_OBJECT
public:
    struct TRooms {
        TResumeSending& resume;
        TProgramDocument& document;
        const TLang& lang;
    };
    TResumeControls(const TRooms& rooms, QMenu* control, TStringGrid* grid, QWidget* statusPanel,
                    QWidget* window);

    void ApplyTexts();
    // The two requests, as the menu, the keys and the button make them.
    void Resume();
    void SendFromRow();

    QAction* mmResume;
    QAction* mmSendFromRow;
    QPushButton* btnResume;

private:
    void Follow();
    // Asks, then sends from `point`'s line; `asked` is the line the operator named.
    void AskAndSend(const TResumePoint& point, int asked);

    TRooms rooms_;
    TStringGrid* grid_;
};
