#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TForm1;
class TFormErrNastr;

// "Error recovering": the two recovery steps, each with the check box that says whether an
// automatic recovery takes it (stored at once) and a button that runs it now, and "Start
// sequence", which runs the recovery as the boxes say. None of the buttons closes the dialog;
// the steps' pauses never hold the window. Modal over the error handling dialog.
class TFormErrores : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    TFormErrores(TForm1& form, TFormErrNastr& owner);
    ~TFormErrores() override;

    void FormCreate();
    void ApplyLanguage();
    void chboxEDClick();
    void chboxSettsClearClick();
    void btnEDClick();
    void btnSettsClearClick();
    void btnAllOkClick();

    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QFrame* pnlED;
    QCheckBox* chboxED;
    QLabel* StaticText1;
    QPushButton* btnED;
    QFrame* pnlSettsClear;
    QCheckBox* chboxSettsClear;
    QLabel* StaticText2;
    QPushButton* btnSettsClear;
    QPushButton* btnAllOk;

private:
    TForm1& form_;
    TFormErrNastr& owner_;
};
