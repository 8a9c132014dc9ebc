#pragma once

#include "TranslatedDialog.h"

#include <QPointer>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class TSpinEdit;
class TFormErrores;
class TChannels;

// "Program settings - error handling": whether a communication error starts a recovery by
// itself, whether a command error or a command data error stops the list being sent, and how long
// a sender waits for a reply. OK applies them; the window's close button discards them. "Clear
// error" opens the recovery dialog. Modal; released when closed.
class TFormErrNastr : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormErrNastr(TOperatorSettings& options, TChannels& channels, QWidget* parent);

    void btnOkClick();
    void btnErrRunClick();

    QFrame* pnlEr5;
    QLabel* StaticText1;
    QCheckBox* chboxEr5;
    QPushButton* btnErrRun;
    QFrame* pnlErr6;
    QLabel* StaticText2;
    QRadioButton* RbtnEr6_NoReact;
    QRadioButton* RbtnEr6_Esc;
    QFrame* PnlErr9;
    QLabel* StaticText3;
    QRadioButton* RbtnEr9_NoReact;
    QRadioButton* RbtnEr9_Esc;
    QFrame* pnlTime;
    QLabel* StaticText4;
    TSpinEdit* SpinEditTime;
    QPushButton* btnOk;

protected:
    void Fill() override;

private:
    TChannels& channels_;
    QPointer<TFormErrores> formErrores_;
};
