#pragma once

#include "TranslatedDialog.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TChannels;

// "Error recovering": the two recovery steps, each with the check box that says whether an
// automatic recovery takes it (stored at once) and a button that runs it now, and "Start
// sequence", which runs the recovery as the boxes say. None of the buttons closes the dialog;
// the steps' pauses never hold the window. Modal over the error handling dialog.
class TFormErrores : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormErrores(TOperatorSettings& options, TChannels& channels, QWidget* parent);

    void chboxEDClick();
    void chboxSettsClearClick();
    void btnEDClick();
    void btnSettsClearClick();
    void btnAllOkClick();

    QFrame* pnlED;
    QCheckBox* chboxED;
    QLabel* StaticText1;
    QPushButton* btnED;
    QFrame* pnlSettsClear;
    QCheckBox* chboxSettsClear;
    QLabel* StaticText2;
    QPushButton* btnSettsClear;
    QPushButton* btnAllOk;

protected:
    void Fill() override;

private:
    TChannels& channels_;
};
