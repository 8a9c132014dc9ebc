#include "StringGrid.h"

#include <QHeaderView>

TStringGridModel::TStringGridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), header_(columns) {}

int TStringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int TStringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TStringGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
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

TStringGrid::TStringGrid(const QString& objectName, int columns, QWidget* parent)
    : QTableView(parent), model_(new TStringGridModel(columns, this)) {
    setObjectName(objectName);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // The narrow row header is the grip by which the operator drags a row to a new place.
    verticalHeader()->setSectionsMovable(true);
    verticalHeader()->setFixedWidth(10);
    verticalHeader()->setToolTip(tr("Drag to move the command"));
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    connect(verticalHeader(), &QHeaderView::sectionMoved, this, &TStringGrid::SectionMoved);
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TStringGrid::SetRow(int row) {
    if (row < 1 || row >= RowCount())
        return;
    setCurrentIndex(model_->index(row - 1, 0));
}

void TStringGrid::DragRow(int from, int to) {
    if (from < 1 || to < 1 || from >= RowCount() || to >= RowCount() || from == to)
        return;
    verticalHeader()->moveSection(from - 1, to - 1);
}

void TStringGrid::SectionMoved(int /*logical*/, int oldVisual, int newVisual) {
    // The header only remaps its sections; put them back and move the data instead, so that
    // row r of the grid is always row r of the model.
    QHeaderView* header = verticalHeader();
    const QSignalBlocker block(header);
    header->moveSection(newVisual, oldVisual);
    const int from = oldVisual + 1;
    const int to = newVisual + 1;
    if (from == RowCount() - 1)
        return; // the trailing empty row stays where it is
    model_->MoveRow(from, to);
    SetRow(to);
    emit RowMoved(from, to);
}
