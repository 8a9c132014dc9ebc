#pragma once

#include "core/Settings.h"
#include "preview/PreviewReport.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;

// The travel limits of the three channels, in the operator's units: for each a check box that
// turns its check on and the lowest and highest position. An edit is taken when it is finished
// (Enter, or the focus leaving); numbers that can't be read, or a lowest above the highest, are
// refused with a line saying so, and the limits stay as they were.
class TTravelLimitsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TTravelLimitsPanel(QWidget* parent = nullptr);

    struct TTexts {
        QString title;   // "Travel limits, mm"
        QString channel; // "Channel %1"
        QString from, to, bad;
    };
    // Shows `limits` (in steps) in `units`.
    void Show(const TTravelLimits& limits, const TPreviewUnits& units, const TTexts& texts);

    std::array<QCheckBox*, 4> chbTravel{};
    std::array<QLineEdit*, 4> edtTravelLow{};
    std::array<QLineEdit*, 4> edtTravelHigh{};
    QLabel* lblTravelProblem;

signals:
    // The operator changed the limits; in steps.
    void Edited(const TTravelLimits& limits);

private:
    void Take();
    std::array<QLabel*, 4> fromLabels_{}, toLabels_{};
    TTravelLimits shown_{};
    TPreviewUnits units_;
    bool filling_ = false;
    bool valuesShown_ = false;
};
