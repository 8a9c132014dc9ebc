#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class TExtendedPanel;
class TListHistory;
class TOperatorSettings;
class TProgramEditor;
class TUnitsPanel;

// The main window's command list editor wired to the editor room: the command buttons with
// their argument edits, the grid StringGridSend (delete, drag), "Clear all", Direct Control, the
// units panel (a change re-scales the list), undo and redo. Each handler hands the operator's
// action to the editor, which takes it as one step of the history; refusals are shown here.
class TEditorControls : public QObject {
    Q_OBJECT
public:
    struct TParts {
        TExtendedPanel* panel;
        TUnitsPanel* units;
        QAction* undo;
        QAction* redo;
        TListHistory* history;
    };
    TEditorControls(const TParts& parts, TProgramEditor& editor, TOperatorSettings& options, QObject* parent);

    // Undo and redo are offered in the extended mode, when there is something to take back.
    void UpdateEditActions();

private:
    void ToolButtonClick(int index, const QString& argument, bool reportsParameterError);
    void ShowAddOutcome(int kind, const QString& refusal);
    void ShowScaleChange(bool badScale, const std::optional<QString>& notWhole);

    TParts parts_;
    TProgramEditor& editor_;
    TOperatorSettings& options_;
};
