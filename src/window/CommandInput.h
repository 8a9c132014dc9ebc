#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class TKVTCommands;
class TOperatorSettings;
class TProgramEditor;

// The command line under the command list: the operator types any controller command ("LD2",
// "st 3", "SD 300"), sees what it does as it is typed, and Enter adds it as the buttons do (the
// same ranges, units and refusals; in Direct Control it is sent at once). Up and Down walk the
// lines typed before (kept across starts); Tab completes a code. A refused line stays in the
// edit, so that nothing typed is lost, and why is said on the line under it (in red).
class TCommandInput : public QWidget {
    Q_OBJECT
public:
    struct TRooms {
        TProgramEditor& editor;
        TOperatorSettings& options;
        const TKVTCommands& commands;
    };
    TCommandInput(const TRooms& rooms, QWidget* parent);

    // Adds what is typed, or says why not.
    void Enter();
    // With nothing typed: where new commands go (before the selected line, or at the end).
    void ShowWhereCommandsGo();

    QLabel* lblCommandLine;
    QLineEdit* EditCommandLine;
    QLabel* lblCommandMeaning; // what the typed command does

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyTexts();
    void Describe();
    // Adds `text` as a command: empty when it was added, else why not.
    QString Add(const QString& text);
    void Complete();
    // One step through the history: -1 older, +1 newer.
    void Walk(int step);

    TRooms rooms_;
    int historyAt_ = -1; // the entry shown, or -1 for what is being typed
    QString typing_;     // what was being typed when the walk began
};
