#pragma once

#include "operations/SimpleModeLists.h"
#include "widgets/Panel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TKVTCommands;
class TLang;
class TOperatorSettings;
class TRadioGroup;

// PanelSingeC, the simple control mode: one motion (steps or a permanent motion, maximum and
// start speed, acceleration, direction) and the four buttons that write it into the selected
// channels, start them, stop them, or write and start at once.
class TSimpleModePanel : public TPanel {
    Q_OBJECT
public:
    explicit TSimpleModePanel(QWidget* parent = nullptr);

    // The motion the panel shows.
    TMotion CurrentMotion() const;
    // Enables or disables the panel with every control on it (the mode switch).
    void EnableAll(bool on);
    void EnableButtons(bool write, bool start, bool stop, bool writeAndStart);
    // The hints this program adds, in the language in use.
    void ApplyTexts(const TLang& lang);
    // Each field's hint names the range it takes and its unit, as the command table gives them
    // (the operator's unit and scale), now and whenever they change.
    void FollowRanges(const TOperatorSettings& options, const TKVTCommands& commands);

    QPushButton* btnStart;
    QPushButton* btnStop;
    QPushButton* btnLoad;
    QPushButton* btnPusk;

private:
    QGroupBox* grbSteps;
    QLabel* StTStepsNum;
    QLineEdit* EditStepsNum;
    QCheckBox* chbStepsConst;
    QGroupBox* grbSpeed;
    QLabel* StTSpeed;
    QLineEdit* EditSpeed;
    QLabel* StTBeginSpeed;
    QLineEdit* EditBeginSpeed;
    QGroupBox* grbAccel;
    QRadioButton* rbtnAccel;
    QLineEdit* EditAccel;
    QRadioButton* rbtnNonAccel;
    TRadioGroup* rgrDirect;

    void ShowRanges(const TOperatorSettings& options, const TKVTCommands& commands);
};
