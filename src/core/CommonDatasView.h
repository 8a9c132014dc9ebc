#pragma once

#include "OperationLog.h"

#include <QString>

// A colour as 0xRRGGBB; the window turns it into a colour of its toolkit.
using TRgb = quint32;

// What any face of the program shows of a session: the operation log and the recording list
// "Loading:". A program without a window (kvtctl) implements this alone.
class ILogView : public virtual IOperationLog {
public:
    // Adds a line to the recording list "Loading:".
    virtual void AddRecordingLine(const QString& text) = 0;
};

// What the shared state shows of itself in a window: each of its setters brings the window's
// indicators, captions and buttons into line at once through this narrow interface.
class IStateView {
public:
    virtual ~IStateView() = default;
    // Fill colour of the indicator of channel 1, 2 or 3.
    virtual void PaintIndicator(int channel, TRgb colour) = 0;
    // Caption of PanelCoordinates and the three channel check boxes.
    virtual void ShowCoordinatesActive(const QString& caption, bool channel1, bool channel2,
                                       bool channel3) = 0;
    // Enabled state of the simple-mode buttons "Write and Start", "Stop", "Start" and "Write".
    virtual void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) = 0;
    // The scale as text (lblScale and EditStepsToUnits), the caption of the scale group box,
    // and the "1 <unit> =" label.
    virtual void ShowScale(const QString& scaleText, const QString& groupCaption,
                           const QString& unitLabel) = 0;
    // The rounding label lblTrunc.
    virtual void ShowRounding(const QString& text) = 0;
};

// The main window as the shared state sees it: the logs and the state. Tests give a fake.
class ICommonDatasView : public ILogView, public IStateView {};
