#pragma once

#include "TranslatedDialog.h"

class QLabel;
class QPushButton;
class TChannels;
class TRadioGroup;
class TShape;

// "Coordinates mode": the legend of the indicator colours and, for each channel, the state the
// program believes it in, which the operator may set by hand (to release a channel still believed
// busy). OK sets every channel's state, state 0 to 3 and within each channels 1 to 3, so that the
// last channel set decides the simple-mode buttons. Modal; the close button changes nothing.
class TFormColorIndicators : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormColorIndicators(TOperatorSettings& options, TChannels& channels, QWidget* parent);

    void btnOKClick();
    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QLabel* lblMode;
    QLabel* LabelGreen;
    QLabel* LabelRed;
    QLabel* LabelYellow;
    QLabel* LabelBlack;
    TRadioGroup* rgr1;
    TRadioGroup* rgr2;
    TRadioGroup* rgr3;
    QPushButton* btnOK;

protected:
    void Fill() override;

private:
    TChannels& channels_;
};
