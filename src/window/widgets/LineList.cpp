#include "LineList.h"

#include "protocol/ReplyLog.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TLineList::TLineList(const QString& objectName, QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(objectName);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void TLineList::SetSource(const ISource* source) {
    source_ = source;
    Refresh();
}

int TLineList::RowHeight() const {
    return fontMetrics().height() + 2;
}

int TLineList::VisibleRows() const {
    return std::max(1, viewport()->height() / RowHeight());
}

void TLineList::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    bar->setRange(0, std::max(0, Count() - VisibleRows()));
    bar->setPageStep(VisibleRows());
    if (atEnd)
        bar->setValue(bar->maximum());
}

void TLineList::Refresh() {
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &TLineList::ApplyRefresh, Qt::QueuedConnection);
}

void TLineList::ApplyRefresh() {
    refreshPending_ = false;
    UpdateScrollRange();
    if (isVisible())
        viewport()->update();
}

void TLineList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TLineList::paintEvent(QPaintEvent*) {
    if (!source_)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = RowHeight();
    const int first = verticalScrollBar()->value();
    const int last = std::min(Count(), first + VisibleRows() + 1);
    const QColor textColour = palette().color(QPalette::Text);
    const QColor stampColour = palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = first; row < last; ++row) {
        bool longer = false;
        QString text = source_->LineStart(row, ShownLength, &longer);
        if (longer)
            text += QString::fromUtf8("…");
        QRect rect(3, (row - first) * height, viewport()->width() - 6, height);
        // The time in a column of its own: the text keeps its room beside it.
        const QString stamp = source_->Stamp(row);
        if (!stamp.isEmpty()) {
            painter.setPen(stampColour);
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, stamp);
            painter.setPen(textColour);
            rect.setLeft(rect.left() + StampWidth());
        }
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

int TLineList::StampWidth() const {
    return fontMetrics().horizontalAdvance("00:00:00.000  ");
}

int TLineList::Count() const {
    return source_ ? int(source_->Count()) : 0;
}

QString TLineList::Item(int index) const {
    return source_ && index >= 0 && index < Count() ? source_->Line(index) : QString();
}

QStringList TLineList::Items() const {
    QStringList items;
    for (int i = 0; i < Count(); ++i)
        items.append(Item(i));
    return items;
}

// --- the reply list ---

class TReplyList::TLogSource : public TLineList::ISource {
public:
    explicit TLogSource(const TReplyLog& log) : log_(log) {}
    qsizetype Count() const override { return log_.Count() - First(); }
    QString LineStart(qsizetype index, qsizetype maxLength, bool* longer) const override {
        return log_.LineStart(First() + index, maxLength, longer);
    }
    // The time each line began, when the log shows times.
    QString Stamp(qsizetype index) const override { return log_.Stamp(First() + index).trimmed(); }
    QString Line(qsizetype index) const override {
        return log_.Stamp(First() + index) + log_.Line(First() + index);
    }
    // From the line being received on (empty after a token's end).
    void ClearShown() { firstShown_ = log_.Shed() + log_.Count() - 1; }

private:
    // The first line shown, among the lines kept (the log may since have shed older ones).
    qsizetype First() const {
        return qsizetype(std::clamp<qint64>(firstShown_ - log_.Shed(), 0, log_.Count()));
    }
    const TReplyLog& log_;
    qint64 firstShown_ = 0; // counted from the session's first line
};

TReplyList::TReplyList(const QString& objectName, QWidget* parent) : TLineList(objectName, parent) {}
TReplyList::~TReplyList() = default;

void TReplyList::SetLog(const TReplyLog* log) {
    source_ = log ? std::make_unique<TLogSource>(*log) : nullptr;
    SetSource(source_.get());
}

void TReplyList::ClearShown() {
    if (!source_)
        return;
    source_->ClearShown();
    Refresh();
}

// --- the memo ---

class TMemoList::TLines : public TLineList::ISource {
public:
    qsizetype Count() const override { return lines.size(); }
    QString LineStart(qsizetype index, qsizetype maxLength, bool* longer) const override {
        const QString& line = lines[index];
        *longer = line.size() > maxLength;
        return line.left(maxLength);
    }
    QString Line(qsizetype index) const override { return lines.value(index); }
    QStringList lines;
};

TMemoList::TMemoList(const QString& objectName, QWidget* parent)
    : TLineList(objectName, parent), lines_(std::make_unique<TLines>()) {
    SetSource(lines_.get());
}
TMemoList::~TMemoList() = default;

void TMemoList::AppendLine(const QString& text) {
    lines_->lines.append(text);
    Refresh();
}

void TMemoList::Clear() {
    lines_->lines.clear();
    Refresh();
}

QString TMemoList::Text() const {
    return lines_->lines.join('\n');
}
