#pragma once

#include "StringGridModel.h"

#include <QTableView>

// A grid of text cells addressed as (column, row) with a fixed header row 0, whose rows the
// operator may drag to a new place. RowMoved(from, to) follows a drag, after the grid has moved
// the row; the last row cannot be dragged.
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    TStringGrid(const QString& objectName, int columns, QWidget* parent = nullptr);

    int RowCount() const { return model_->RowCount(); }
    void SetRowCount(int count) { model_->SetRowCount(count); }
    QString Cell(int column, int row) const { return model_->Cell(column, row); }
    void SetCell(int column, int row, const QString& text) { model_->SetCell(column, row, text); }
    void DeleteRow(int row) { model_->DeleteRow(row); }
    void MoveRow(int from, int to) { model_->MoveRow(from, to); }
    TStringGridModel* Model() const { return model_; }

    // The selected row (1..), or 0 when none is selected.
    int Row() const;
    void SetRow(int row);

    int ColWidth(int column) const { return columnWidth(column); }
    void SetColWidth(int column, int width) { setColumnWidth(column, width); }

    // Drags row `from` onto row `to`, as the operator does with the mouse.
    void DragRow(int from, int to);

signals:
    void RowMoved(int from, int to);

private:
    void SectionMoved(int logical, int oldVisual, int newVisual);
    TStringGridModel* model_;
};
