#include "ReplyList.h"

#include <QScrollBar>

TReplyListModel::TReplyListModel(QObject* parent) : QAbstractListModel(parent), lines_{QString()} {}

int TReplyListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant TReplyListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const QString& line = lines_[index.row()];
    if (line.size() <= ShownLength)
        return line;
    return line.left(ShownLength) + QString::fromUtf8("…");
}

void TReplyListModel::AppendText(const QString& text) {
    if (text.isEmpty())
        return;
    // Cut the text after every '*': the first piece completes the last line, each further piece
    // is a line of its own (the last one possibly empty, waiting for more characters).
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype star = text.indexOf('*'); star >= 0; star = text.indexOf('*', start)) {
        pieces.append(text.mid(start, star - start + 1));
        start = star + 1;
    }
    pieces.append(text.mid(start));

    const int lastRow = int(lines_.size()) - 1;
    lines_.last() += pieces.first();
    emit dataChanged(index(lastRow), index(lastRow), {Qt::DisplayRole});
    if (pieces.size() > 1) {
        beginInsertRows({}, lastRow + 1, lastRow + int(pieces.size()) - 1);
        for (qsizetype i = 1; i < pieces.size(); ++i)
            lines_.append(pieces[i]);
        endInsertRows();
    }
}

TReplyList::TReplyList(const QString& objectName, QWidget* parent)
    : QListView(parent), model_(new TReplyListModel(this)) {
    setObjectName(objectName);
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TReplyList::AppendText(const QString& text) {
    const bool atEnd = verticalScrollBar() && verticalScrollBar()->value() == verticalScrollBar()->maximum();
    model_->AppendText(text);
    if (atEnd)
        scrollToBottom();
}
