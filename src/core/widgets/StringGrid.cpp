#include "StringGrid.h"

#include <QHeaderView>

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
    horizontalHeader()->setMinimumSectionSize(16);
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
