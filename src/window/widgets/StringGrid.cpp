#include "StringGrid.h"

#include "editor/CommandList.h"

#include <QHeaderView>

TStringGrid::TStringGrid(const QString& objectName, QWidget* parent) : QTableView(parent) {
    setObjectName(objectName);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // The narrow row header is the grip by which the operator drags a row to a new place.
    verticalHeader()->setSectionsMovable(true);
    verticalHeader()->setFixedWidth(10);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(16);
    connect(verticalHeader(), &QHeaderView::sectionMoved, this, &TStringGrid::SectionMoved);
}

void TStringGrid::SetList(TCommandList* list) {
    list_ = list;
    setModel(list);
}

void TStringGrid::SetDragHint(const QString& text) {
    verticalHeader()->setToolTip(text);
}

int TStringGrid::RowCount() const {
    return list_ ? list_->Count() + 2 : 2;
}

QString TStringGrid::Cell(int column, int row) const {
    if (!list_)
        return {};
    if (row == 0)
        return list_->Header(column);
    return list_->data(list_->index(row - 1, column), Qt::DisplayRole).toString();
}

void TStringGrid::SetCell(int column, int row, const QString& text) {
    if (list_ && row == 0)
        list_->SetHeader(column, text);
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TStringGrid::SetRow(int row) {
    if (!list_ || row < 1 || row >= RowCount())
        return;
    setCurrentIndex(list_->index(row - 1, 0));
}

void TStringGrid::DragRow(int from, int to) {
    if (from < 1 || to < 1 || from >= RowCount() || to >= RowCount() || from == to)
        return;
    verticalHeader()->moveSection(from - 1, to - 1);
}

void TStringGrid::SectionMoved(int /*logical*/, int oldVisual, int newVisual) {
    // The header only remaps its sections; put them back, so that row r of the grid is always
    // row r of the list, and let the owner move the command instead.
    QHeaderView* header = verticalHeader();
    const QSignalBlocker block(header);
    header->moveSection(newVisual, oldVisual);
    const int from = oldVisual + 1;
    const int to = newVisual + 1;
    if (from == RowCount() - 1)
        return; // the trailing empty row stays where it is
    emit RowMoved(from, to);
}
