#pragma once

#include "core/Settings.h"
#include "preview/PreviewReport.h"
#include "preview/ProgramPreview.h"

#include <QChartView>

class QLineSeries;
class QValueAxis;

// The plot of a program preview: position against estimated time, a line per program, in the
// operator's units, with each channel's travel limits (when on) as dashed lines in its colour.
class TPreviewPlot : public QChartView {
    Q_OBJECT
public:
    explicit TPreviewPlot(QWidget* parent = nullptr);

    struct TTexts {
        QString timeAxis, positionAxis; // "Time, s", "Position, mm"
        QString series, travel;         // "Channel %1", "Travel of channel %1"
    };
    void Show(const Preview::TListPreview& preview, const TPreviewUnits& units, const TTravelLimits& travel,
              const TTexts& texts);

    // What is drawn, for the tests: the series by name.
    QLineSeries* Series(const QString& name) const;

private:
    QValueAxis* timeAxis_;
    QValueAxis* positionAxis_;
};
