#pragma once

#include <QTableView>

class QFontMetrics;
class TCommandList;

// The grid that shows a command list, addressed as (column, row) like the grids of the
// described windows: row 0 is the fixed header, rows 1..n the commands, row n + 1 the trailing
// empty row. The operator may drag a command row by its grip to a new place; the grid does not
// move anything itself, it reports the drag with RowMoved(from, to) and its owner changes the
// list. The trailing row cannot be dragged. The header texts are the grid's own; the list is
// only read.
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(const QString& objectName, QWidget* parent = nullptr);

    // The list the grid shows (not owned).
    void SetList(const TCommandList* list);
    const TCommandList* List() const { return list_; }

    int RowCount() const;
    QString Cell(int column, int row) const;
    // Sets a header cell (row 0); the other cells show the list.
    void SetCell(int column, int row, const QString& text);

    // The selected row (1..), or 0 when none is selected.
    int Row() const;
    // The selected command rows (1..n), highest first; the current row when none is selected.
    QList<int> SelectedRows() const;
    void SetRow(int row);

    int ColWidth(int column) const { return columnWidth(column); }
    void SetColWidth(int column, int width) { setColumnWidth(column, width); }

    // Drags row `from` onto row `to`, as the operator does with the mouse.
    void DragRow(int from, int to);

    // The tooltip of the grip by which rows are dragged.
    void SetDragHint(const QString& text);

    // The row of the line being sent (1..), highlighted and kept in view; 0 for none.
    void SetSendingRow(int row);
    int SendingRow() const;

    // The row numbers are shown whole, their column as wide as the widest; column 1 is empty
    // and 20 pixels wide, or, when the codes are shown, holds each list line whole. The
    // description column has the rest, and at least DescriptionMinimum (the grid scrolls
    // sideways when it is narrower than that).
    void FitCodeColumns();
    void SetShowCodes(bool on);
    static constexpr int DescriptionMinimum = 120;
    static constexpr int EmptyCodeColumnWidth = 20;

signals:
    void RowMoved(int from, int to);
    // SetList showed a list (the rows and their selection are new).
    void ListSet();
    // The highlighted row of the line being sent changed (0: none).
    void SendingRowChanged(int row);
    // Delete was pressed on the grid.
    void DeletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SectionMoved(int logical, int oldVisual, int newVisual);
    class THeader;
    void ScheduleFit();
    void FitDescription();
    int WidestLine(const QFontMetrics& metrics) const;
    const TCommandList* list_ = nullptr;
    THeader* header_;
    bool fitPending_ = false;
};
