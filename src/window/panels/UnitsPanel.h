#pragma once

#include "widgets/Panel.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TOperatorSettings;
class TRadioGroup;

// PanelUnits: steps or a unit of the operator's own, and the scale between them with its
// rounding. The scale controls are enabled in other units only.
class TUnitsPanel : public TPanel {
    Q_OBJECT
public:
    explicit TUnitsPanel(QWidget* parent = nullptr);

    void ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel);
    void ShowRounding(const QString& text);
    void EnableScale(bool on);
    QString ScaleText() const;
    // The selector shows the units mode of `options` whenever it changes (an undo brings back
    // the units with the lines).
    void FollowUnitsMode(const TOperatorSettings& options);

    TRadioGroup* rgrUnits;
    QPushButton* btnScaleChange;

private:
    QGroupBox* GrBoxStepsToUnits;
    QLabel* Label3;
    QLineEdit* EditStepsToUnits;
    QLabel* lblScale;
    QLabel* lblSteps;
    QLabel* lblTrunc;
};
