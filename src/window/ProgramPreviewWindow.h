#pragma once

#include <functional>

#include "TranslatedDialog.h"
#include "core/Settings.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QTableWidget;
class QTimer;
class TPreviewPlot;
class TProgramEditor;
class TSending;
class TTravelLimitsPanel;

// The program preview: for each program of the command list a column of its figures, the
// findings (a click selects the line in the command list), the direct commands, a plot of
// position against estimated time, and the travel limits. It follows the list as it is edited,
// the units, the scale and the language, a moment after the last change. At most one exists;
// not modal; released when closed.
class TProgramPreviewWindow : public TTranslatedDialog {
    Q_OBJECT
public:
    // `sending`: what the last list stopped inside a recording left, said in the notes.
    TProgramPreviewWindow(TOperatorSettings& options, TProgramEditor& editor, const TSending& sending,
                          QWidget* parent);

    // Walks the list again now (the window does it by itself after each change).
    void Refresh();
    // Where the part that Resume or "Send from the selected row" would send begins (0-based;
    // negative: none), shown alone while chbPart is checked.
    void SetPart(std::function<int()> partFrom);

    QCheckBox* chbPart;
    QTableWidget* tblFigures;
    QLabel* lblDirect;
    QLabel* lblNotes;
    QListWidget* lstFindings;
    TPreviewPlot* chartPreview;
    QLabel* lblPlotCut;
    TTravelLimitsPanel* Travel;

signals:
    // The operator chose the finding of list line `line` (0-based).
    void LineChosen(int line);

protected:
    void Fill() override;
    void showEvent(QShowEvent* event) override;

private:
    void FindingClicked(QListWidgetItem* item);
    void TravelEdited(const TTravelLimits& limits);
    TProgramEditor& editor_;
    const TSending& sending_;
    QTimer* refreshTimer_;
    QSplitter* split_;
    bool sized_ = false;
    std::function<int()> partFrom_;
    int shownFrom_ = 0; // the list line the walked lines begin at
};
