#pragma once

#include "OperationLog.h"

#include <QColor>
#include <QString>

// What the shared state needs of the main window: each of its setters brings the window's
// indicators, captions and buttons into line at once through this narrow interface. The main
// window implements it; tests give the shared state a fake.
class ICommonDatasView : public virtual IOperationLog {
public:
    // Fill colour of the indicator of channel 1, 2 or 3.
    virtual void PaintIndicator(int channel, const QColor& colour) = 0;
    // Caption of PanelCoordinates and the three channel check boxes.
    virtual void ShowCoordinatesActive(const QString& caption, bool channel1, bool channel2,
                                       bool channel3) = 0;
    // Enabled state of the simple-mode buttons "Write and Start", "Stop", "Start" and "Write".
    virtual void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) = 0;
    // Whether the mode selector shows "Simple control mode".
    virtual bool SimpleModeSelected() const = 0;
    // The scale as text (lblScale and EditStepsToUnits), the caption of the scale group box,
    // and the "1 <unit> =" label.
    virtual void ShowScale(const QString& scaleText, const QString& groupCaption,
                           const QString& unitLabel) = 0;
    // The rounding label lblTrunc.
    virtual void ShowRounding(const QString& text) = 0;
    // The scale changed: whatever depends on it (the command table) must follow.
    virtual void ScaleChanged() = 0;
};
