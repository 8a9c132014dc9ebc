#include "TimelineView.h"

#include "core/ChannelState.h"

#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr int kLaneHeight = 26, kMarkRow = 16, kAxis = 18, kLabelWidth = 110;

QColor Colour(TJournalHistory::State state) {
    using S = TJournalHistory::State;
    const auto& c = TChannelState::IndicatorColours;
    const TRgb rgb = state == S::Recording ? c[2] : state == S::Executing ? c[1] : c[3];
    return QColor::fromRgb(QRgb(rgb));
}

} // namespace

TTimelineView::TTimelineView(QWidget* parent) : QWidget(parent) {
    setObjectName("Timeline");
    setMinimumHeight(kMarkRow + 3 * kLaneHeight + kAxis + 20);
    setFocusPolicy(Qt::StrongFocus);
}

void TTimelineView::SetHistory(const TJournalHistory* history) {
    history_ = history;
    update();
}

void TTimelineView::SetSpan(qint64 fromMs, qint64 toMs) {
    fromMs_ = fromMs;
    toMs_ = std::max(toMs, fromMs + 1);
    update();
}

void TTimelineView::SetTexts(const QString& lane, const QStringList& legend) {
    lane_ = lane;
    legend_ = legend;
    setAccessibleName(legend.join(", "));
    update();
}

void TTimelineView::SetHighlight(int channel, const TJournalHistory::TInterval& interval) {
    highlightChannel_ = channel;
    highlight_ = interval;
    update();
}

QSize TTimelineView::sizeHint() const {
    return {800, minimumHeight()};
}

double TTimelineView::X(qint64 ms) const {
    const double width = std::max(1, this->width() - kLabelWidth - 8);
    return kLabelWidth + double(ms - fromMs_) * width / double(toMs_ - fromMs_);
}

void TTimelineView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const int right = width() - 8;
    // The lanes and their intervals.
    for (int n = 1; n <= 3; ++n) {
        const int top = kMarkRow + (n - 1) * kLaneHeight;
        p.setPen(palette().text().color());
        p.drawText(QRect(4, top, kLabelWidth - 8, kLaneHeight), Qt::AlignVCenter, lane_.arg(n));
        p.setPen(palette().mid().color());
        p.drawLine(kLabelWidth, top + kLaneHeight - 1, right, top + kLaneHeight - 1);
        if (!history_)
            continue;
        for (const TJournalHistory::TInterval& i : history_->Intervals(n)) {
            if (i.toMs < fromMs_ || i.fromMs > toMs_)
                continue;
            const double x0 = std::max<double>(kLabelWidth, X(i.fromMs));
            const double x1 = std::min<double>(right, X(i.toMs));
            p.fillRect(QRectF(x0, top + 4, std::max(1.0, x1 - x0), kLaneHeight - 9), Colour(i.state));
        }
        if (n == highlightChannel_ && highlight_.toMs > highlight_.fromMs) {
            p.setPen(QPen(palette().highlight().color(), 2));
            p.drawRect(QRectF(X(highlight_.fromMs), top + 2,
                              std::max(2.0, X(highlight_.toMs) - X(highlight_.fromMs)), kLaneHeight - 5));
        }
    }
    // The marks: writes, verifies, stops and losses, above the lanes.
    if (history_) {
        using K = TJournalHistory::Kind;
        for (const TJournalHistory::TEvent& e : history_->Events()) {
            if (e.ms < fromMs_ || e.ms > toMs_)
                continue;
            QColor colour;
            if (e.kind == K::Write)
                colour = Qt::blue;
            else if (e.kind == K::Verify)
                colour = Qt::darkGreen;
            else if (e.kind == K::StopKey || e.kind == K::Stop)
                colour = Qt::darkRed;
            else if (e.kind == K::Lost)
                colour = Qt::magenta;
            else
                continue;
            const double x = X(e.ms);
            p.setPen(QPen(colour, 2));
            p.drawLine(QPointF(x, 3), QPointF(x, kMarkRow - 2));
        }
    }
    // The time axis: the span's ends, and its middle.
    const int axis = kMarkRow + 3 * kLaneHeight + 2;
    p.setPen(palette().text().color());
    const QString format = toMs_ - fromMs_ > 2 * 86400000LL ? "yyyy-MM-dd" : "yyyy-MM-dd HH:mm";
    const auto label = [&](qint64 ms, Qt::Alignment align, double x) {
        const QString text = QDateTime::fromMSecsSinceEpoch(ms).toString(format);
        QRectF box(x - 150, axis, 300, kAxis);
        if (align & Qt::AlignLeft)
            box.moveLeft(x);
        if (align & Qt::AlignRight)
            box.moveRight(x);
        p.drawText(box, int(align | Qt::AlignVCenter), text);
    };
    label(fromMs_, Qt::AlignLeft, kLabelWidth);
    label((fromMs_ + toMs_) / 2, Qt::AlignHCenter, X((fromMs_ + toMs_) / 2));
    label(toMs_, Qt::AlignRight, right);
    // The legend.
    int x = kLabelWidth;
    const int legendTop = axis + kAxis;
    for (int s = 0; s < legend_.size() && s < 3; ++s) {
        p.fillRect(QRect(x, legendTop + 4, 12, 10), Colour(TJournalHistory::State(s)));
        p.drawText(QRect(x + 16, legendTop, 140, 18), Qt::AlignVCenter, legend_[s]);
        x += 20 + p.fontMetrics().horizontalAdvance(legend_[s]) + 12;
    }
}
