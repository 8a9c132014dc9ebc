#include "PreviewPlot.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace {
QColor ChannelColour(int channel) {
    static const QColor colours[] = {Qt::black, QColor(0x1f, 0x5f, 0xbf), QColor(0xc0, 0x30, 0x30),
                                     QColor(0x20, 0x90, 0x40)};
    return colours[std::clamp(channel, 0, 3)];
}
// A plot a few hundred pixels wide shows no more than a few thousand points: a longer path is
// cut into stretches, and each keeps its first, lowest, highest and last point, so that no peak
// is lost and drawing stays quick however long the program.
constexpr size_t kStretches = 800;

QList<QPointF> Thinned(const std::vector<QPointF>& path, double perUnit) {
    QList<QPointF> points;
    const auto keep = [&](const QPointF& p) {
        const QPointF shown(p.x(), p.y() / perUnit);
        if (points.isEmpty() || points.last() != shown)
            points.append(shown);
    };
    if (path.size() <= 4 * kStretches) {
        points.reserve(qsizetype(path.size()));
        for (const QPointF& p : path)
            keep(p);
        return points;
    }
    points.reserve(qsizetype(4 * kStretches));
    for (size_t k = 0; k < kStretches; ++k) {
        const size_t first = path.size() * k / kStretches, last = path.size() * (k + 1) / kStretches - 1;
        size_t low = first, high = first;
        for (size_t i = first; i <= last; ++i) {
            if (path[i].y() < path[low].y())
                low = i;
            if (path[i].y() > path[high].y())
                high = i;
        }
        keep(path[first]);
        keep(path[std::min(low, high)]);
        keep(path[std::max(low, high)]);
        keep(path[last]);
    }
    return points;
}

} // namespace

// Made with its chart: a chart view made without one makes a chart of its own, which a later
// setChart releases and nothing deletes.
TPreviewPlot::TPreviewPlot(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName("chartPreview");
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    timeAxis_ = new QValueAxis(chart);
    positionAxis_ = new QValueAxis(chart);
    timeAxis_->setLabelFormat("%g");
    positionAxis_->setLabelFormat("%g");
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->addAxis(timeAxis_, Qt::AlignBottom);
    chart->addAxis(positionAxis_, Qt::AlignLeft);
    setMinimumSize(320, 220);
}

void TPreviewPlot::Show(const Preview::TListPreview& preview, const TPreviewUnits& units,
                        const TTravelLimits& travel, const TTexts& texts) {
    QChart* c = chart();
    c->removeAllSeries();
    timeAxis_->setTitleText(texts.timeAxis);
    positionAxis_->setTitleText(texts.positionAxis);
    const double perUnit = units.steps ? 1.0 : units.scale;

    // The points and the ranges first: each series then lays itself out once, when added, and
    // not again at every change of an axis.
    struct TLine {
        QString name;
        QPen pen;
        QList<QPointF> points;
        bool inLegend = true;
    };
    std::vector<TLine> lines;
    double lastTime = 0, low = 0, high = 0;
    for (const Preview::TProgram& program : preview.programs) {
        TLine line{texts.series.arg(program.channel), QPen(ChannelColour(program.channel), 2),
                   Thinned(program.path, perUnit)};
        for (const QPointF& p : line.points) {
            lastTime = std::max(lastTime, p.x());
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        lines.push_back(std::move(line));
    }
    const double end = lastTime > 0 ? lastTime : 1;
    std::array<bool, 4> shown{};
    for (const Preview::TProgram& program : preview.programs) {
        const TTravelLimit& t = travel[size_t(program.channel)];
        if (!t.on || shown[size_t(program.channel)])
            continue;
        shown[size_t(program.channel)] = true;
        for (const qint64 limit : {t.low, t.high}) {
            const double y = double(limit) / perUnit;
            // One legend entry for the pair.
            lines.push_back({texts.travel.arg(program.channel),
                             QPen(ChannelColour(program.channel).lighter(130), 1, Qt::DashLine),
                             {QPointF(0, y), QPointF(end, y)},
                             limit == t.low});
            low = std::min(low, y);
            high = std::max(high, y);
        }
    }
    // A little room above and below, and never an empty range.
    const double margin = std::max((high - low) * 0.05, 1.0 / perUnit);
    timeAxis_->setRange(0, end);
    positionAxis_->setRange(low - margin, high + margin);
    timeAxis_->applyNiceNumbers();
    positionAxis_->applyNiceNumbers();

    for (TLine& line : lines) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        series->setPen(line.pen);
        c->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(positionAxis_);
        series->replace(line.points); // laid out once, on its axes
        if (!line.inLegend) {
            for (auto* marker : c->legend()->markers(series))
                marker->setVisible(false);
        }
    }
}

QLineSeries* TPreviewPlot::Series(const QString& name) const {
    for (QAbstractSeries* s : chart()->series()) {
        if (s->name() == name)
            return qobject_cast<QLineSeries*>(s);
    }
    return nullptr;
}
