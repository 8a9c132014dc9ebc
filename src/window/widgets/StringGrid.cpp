#include "StringGrid.h"

#include "editor/CommandList.h"

#include <QHeaderView>
#include <QIdentityProxyModel>

// The list as the grid shows it, with the grid's own header texts.
class TStringGrid::THeader : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QStringList texts = QStringList(TCommandList::ColumnCount);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return texts.value(section);
        return QString(); // the row header is a bare grip: the number is in column 0
    }
};

TStringGrid::TStringGrid(const QString& objectName, QWidget* parent)
    : QTableView(parent), header_(new THeader(this)) {
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

void TStringGrid::SetList(const TCommandList* list) {
    list_ = list;
    // Qt's models are handed around as changeable; the grid and its header only read the list.
    header_->setSourceModel(const_cast<TCommandList*>(list));
    setModel(header_);
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
        return header_->texts.value(column);
    return list_->data(list_->index(row - 1, column), Qt::DisplayRole).toString();
}

void TStringGrid::SetCell(int column, int row, const QString& text) {
    if (row != 0 || column < 0 || column >= header_->texts.size())
        return;
    header_->texts[column] = text;
    emit header_->headerDataChanged(Qt::Horizontal, column, column);
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TStringGrid::SetRow(int row) {
    if (!list_ || row < 1 || row >= RowCount())
        return;
    setCurrentIndex(model()->index(row - 1, 0));
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
