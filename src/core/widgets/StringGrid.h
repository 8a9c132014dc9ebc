#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <vector>

// The cells of a string grid. Row 0 of the grid is its fixed header, shown by the view's
// horizontal header; rows 1.. are the model's rows 0...
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TStringGridModel(int columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int RowCount() const { return int(rows_.size()) + 1; }
    void SetRowCount(int count);
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    void DeleteRow(int row);
    void MoveRow(int from, int to);
    // Replaces every body row at once (rows 1..), e.g. when a program is loaded.
    void SetRows(std::vector<QStringList> rows);

private:
    bool ValidColumn(int column) const { return column >= 0 && column < columns_; }
    int columns_;
    QStringList header_;
    std::vector<QStringList> rows_;
};

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
