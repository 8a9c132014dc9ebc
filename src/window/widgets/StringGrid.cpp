#include "StringGrid.h"

#include "editor/CommandList.h"

#include <QBrush>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QPalette>
#include <QTimer>

#include <algorithm>
#include <array>

// The list as the grid shows it, with the grid's own header texts and the row being sent
// highlighted.
class TStringGrid::THeader : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QStringList texts = QStringList(TCommandList::ColumnCount);
    int sendingRow = 0; // 1-based; 0: none
    QBrush sendingBrush;
    bool showCodes = false; // column 1 stays empty unless asked for

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole && sendingRow > 0 && index.row() == sendingRow - 1)
            return sendingBrush;
        if (index.column() == TCommandList::LineColumn && !showCodes && role == Qt::DisplayRole)
            return QString();
        // A row's tooltip shows its line beside its description, whatever column 1 shows.
        if (role == Qt::ToolTipRole && index.isValid()) {
            const QString line =
                QIdentityProxyModel::data(index.siblingAtColumn(TCommandList::LineColumn)).toString();
            const QString description =
                QIdentityProxyModel::data(index.siblingAtColumn(TCommandList::DescriptionColumn)).toString();
            return line.isEmpty() ? description : line + "   " + description;
        }
        return QIdentityProxyModel::data(index, role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return section == TCommandList::LineColumn && !showCodes ? QString() : texts.value(section);
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
    // The widths follow the list once per pass of the event loop, however many rows changed.
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(header_, signal, this, &TStringGrid::ScheduleFit);
    connect(header_, &QAbstractItemModel::modelReset, this, &TStringGrid::ScheduleFit);
    connect(header_, &QAbstractItemModel::dataChanged, this, &TStringGrid::ScheduleFit);
    header_->sendingBrush = palette().brush(QPalette::Active, QPalette::Highlight).color().lighter(170);
    ScheduleFit();
    emit ListSet();
}

void TStringGrid::ScheduleFit() {
    if (fitPending_)
        return;
    fitPending_ = true;
    QTimer::singleShot(0, this, [this] {
        fitPending_ = false;
        FitCodeColumns();
    });
}

void TStringGrid::SetShowCodes(bool on) {
    if (header_->showCodes == on)
        return;
    header_->showCodes = on;
    emit header_->headerDataChanged(Qt::Horizontal, TCommandList::LineColumn, TCommandList::LineColumn);
    viewport()->update();
    FitCodeColumns();
}

void TStringGrid::FitCodeColumns() {
    if (!list_)
        return;
    const QFontMetrics metrics(font());
    const int padding = 12;
    const auto widthOf = [&](const QString& text) { return metrics.horizontalAdvance(text) + padding; };
    // The widest number is that of the last row (digits are equally wide in the usual fonts;
    // a row of eights stands for them all).
    const int numberWidth =
        std::max(widthOf(header_->texts.value(0)), widthOf(QString(QString::number(RowCount()).size(), '8')));
    if (columnWidth(0) != numberWidth)
        setColumnWidth(0, numberWidth);
    const int lineWidth =
        header_->showCodes
            ? std::max(widthOf(header_->texts.value(TCommandList::LineColumn)), WidestLine(metrics) + padding)
            : EmptyCodeColumnWidth;
    if (columnWidth(TCommandList::LineColumn) != lineWidth)
        setColumnWidth(TCommandList::LineColumn, lineWidth);
    FitDescription();
}

int TStringGrid::WidestLine(const QFontMetrics& metrics) const {
    // Each line's width summed from its characters' advances, looked up once per character: a
    // list of 65,535 lines fits at once (kerning is within the padding).
    std::array<int, 128> advance{};
    for (int c = 32; c < 128; ++c)
        advance[size_t(c)] = metrics.horizontalAdvance(QChar(c));
    int widest = 0;
    for (const QString& line : list_->Lines()) {
        int width = 0;
        for (const QChar c : line)
            width += c.unicode() < 128 ? advance[c.unicode()] : metrics.horizontalAdvance(c);
        widest = std::max(widest, width);
    }
    return widest;
}

void TStringGrid::FitDescription() {
    const int rest = viewport()->width() - columnWidth(0) - columnWidth(TCommandList::LineColumn);
    setColumnWidth(TCommandList::DescriptionColumn, std::max(DescriptionMinimum, rest));
}

void TStringGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitDescription();
}

void TStringGrid::SetSendingRow(int row) {
    if (row == header_->sendingRow)
        return;
    header_->sendingRow = row;
    viewport()->update();
    if (row > 0 && row < RowCount())
        scrollTo(model()->index(row - 1, 0));
    emit SendingRowChanged(row);
}

int TStringGrid::SendingRow() const {
    return header_->sendingRow;
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit DeletePressed();
        return;
    }
    QTableView::keyPressEvent(event);
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
        return header_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return header_->data(header_->index(row - 1, column), Qt::DisplayRole).toString();
}

void TStringGrid::SetCell(int column, int row, const QString& text) {
    if (row != 0 || column < 0 || column >= header_->texts.size())
        return;
    header_->texts[column] = text;
    emit header_->headerDataChanged(Qt::Horizontal, column, column);
    ScheduleFit();
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

QList<int> TStringGrid::SelectedRows() const {
    QList<int> rows;
    if (selectionModel()) {
        for (const QModelIndex& index : selectionModel()->selectedRows())
            if (list_ && index.row() < list_->Count())
                rows.append(index.row() + 1);
    }
    if (rows.isEmpty() && Row() > 0 && list_ && Row() <= list_->Count())
        rows.append(Row());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    return rows;
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
