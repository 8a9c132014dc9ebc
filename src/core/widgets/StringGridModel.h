#pragma once

#include <QAbstractTableModel>
#include <QStringList>

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
    // Writes r into column 0 of every row r from 1 to RowCount() - 2, in one change.
    void RenumberRows();

private:
    bool ValidColumn(int column) const { return column >= 0 && column < columns_; }
    int columns_;
    QStringList header_;
    std::vector<QStringList> rows_;
};
