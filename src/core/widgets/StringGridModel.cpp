#include "StringGridModel.h"

TStringGridModel::TStringGridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), header_(columns) {}

int TStringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int TStringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TStringGridModel::data(const QModelIndex& index, int role) const {
    // The tooltip shows a cell in full where the column is too narrow for it.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid())
        return {};
    return rows_[size_t(index.row())][index.column()];
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns_ ? QVariant(header_[section]) : QVariant();
    return QString(); // the row header is a bare grip: the number is in column 0
}

void TStringGridModel::SetRowCount(int count) {
    const int body = std::max(count, 1) - 1;
    const int current = int(rows_.size());
    if (body > current) {
        beginInsertRows({}, current, body - 1);
        rows_.resize(size_t(body), QStringList(columns_));
        endInsertRows();
    } else if (body < current) {
        beginRemoveRows({}, body, current - 1);
        rows_.resize(size_t(body));
        endRemoveRows();
    }
}

QString TStringGridModel::Cell(int column, int row) const {
    if (!ValidColumn(column))
        return {};
    if (row == 0)
        return header_[column];
    if (row < 1 || row > int(rows_.size()))
        return {};
    return rows_[size_t(row - 1)][column];
}

void TStringGridModel::SetCell(int column, int row, const QString& text) {
    if (!ValidColumn(column))
        return;
    if (row == 0) {
        header_[column] = text;
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (row < 1 || row > int(rows_.size()))
        return;
    rows_[size_t(row - 1)][column] = text;
    const QModelIndex cell = index(row - 1, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void TStringGridModel::DeleteRow(int row) {
    if (row < 1 || row > int(rows_.size()))
        return;
    beginRemoveRows({}, row - 1, row - 1);
    rows_.erase(rows_.begin() + (row - 1));
    endRemoveRows();
}

void TStringGridModel::MoveRow(int from, int to) {
    const int n = int(rows_.size());
    if (from < 1 || to < 1 || from > n || to > n || from == to)
        return;
    // Qt's destination is the row before which the moved row lands, counted before the move.
    const int destination = to > from ? to : to - 1;
    beginMoveRows({}, from - 1, from - 1, {}, destination);
    QStringList moved = std::move(rows_[size_t(from - 1)]);
    rows_.erase(rows_.begin() + (from - 1));
    rows_.insert(rows_.begin() + (to - 1), std::move(moved));
    endMoveRows();
}

void TStringGridModel::SetRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    for (QStringList& row : rows_) {
        while (row.size() < columns_)
            row.append(QString());
    }
    endResetModel();
}

void TStringGridModel::RenumberRows() {
    const int last = RowCount() - 2;
    for (int r = 1; r <= last; ++r)
        rows_[size_t(r - 1)][0] = QString::number(r);
    if (last >= 1)
        emit dataChanged(index(0, 0), index(last - 1, 0), {Qt::DisplayRole});
}
