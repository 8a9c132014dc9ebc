#pragma once

#include <QObject>

class QWidget;
class TExtendedPanel;
class TLang;
class TOperatorSettings;
class TProgramDocument;
class TProgramEditor;
class TSending;
class TSendingProgress;

// The controls of sending in the main window: "Send" (and F5 where it can be pressed) with the
// questions asked before a list goes out, "Stop sending" (and Esc, in either mode), the recording
// list cleared as a list starts, and how far a long list is (in the status line, the line on its
// way highlighted in the list).
class TSendControls : public QObject {
    Q_OBJECT
public:
    struct TRooms {
        TSending& sending;
        TProgramEditor& editor;
        TOperatorSettings& options;
        const TProgramDocument& document; // the file the list belongs to, for the journal
    };
    TSendControls(const TRooms& rooms, TExtendedPanel* panel, TSendingProgress* progress, QWidget* beside,
                  QWidget* window);

    // "Send": a program that would take an axis beyond its travel, or a list that would leave
    // the controller recording, is written only when the operator says so (No is the default).
    void Send();

private:
    TRooms rooms_;
    TExtendedPanel* panel_;
};
