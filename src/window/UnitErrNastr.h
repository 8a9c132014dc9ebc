#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TForm1;
class TFormErrores;

// "Program settings - error handling": whether a communication error starts a recovery by
// itself, whether a command error or a command data error stops the list being sent, and how long
// a sender waits for a reply. OK applies them; the window's close button discards them. "Clear
// error" opens the recovery dialog. Modal; released when closed.
class TFormErrNastr : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormErrNastr(TForm1& form);
    ~TFormErrNastr() override;

    void FormCreate();
    void ApplyLanguage();
    void btnOkClick();
    void btnErrRunClick();
    // The recovery dialog while it is open.
    TFormErrores* FormErrores() const { return formErrores_; }
    void ErroresClosed(TFormErrores* dialog);

    void SetCaption(const QString& objectName, int item, const QString& text) override;

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
    QSpinBox* SpinEditTime;
    QPushButton* btnOk;

private:
    TForm1& form_;
    TFormErrores* formErrores_ = nullptr;
};
