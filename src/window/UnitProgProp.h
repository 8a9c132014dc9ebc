#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TForm1;
class TRadioGroup;

// "Program settings": what the main window shows, which files are saved on close, the editor's
// two automatisms, the rounding of user units and the unit name. OK applies them to the shared
// state and lays the window out again; closing it otherwise changes nothing. Modal; released when
// closed.
class TFormProgProp : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormProgProp(TForm1& form);
    ~TFormProgProp() override;

    void FormCreate();
    void ApplyLanguage();
    void btnOKClick();

    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QCheckBox* chboxPortLogs;
    QCheckBox* chboxLoadLogs;
    QCheckBox* chBoxLogs;
    QCheckBox* chBoxSavePortLogs;
    QCheckBox* chBoxSaveLogs;
    QCheckBox* chBoxSavePortProp;
    QCheckBox* chboxSaveProgProp;
    QCheckBox* chBoxSaveErrProp;
    QCheckBox* chboxUnitsSave;
    QCheckBox* ChboxUnitsName;
    QCheckBox* ChboxUnitsScale;
    QCheckBox* chBoxAddENAutomatic;
    QCheckBox* chboxAddBGAutomatic;
    TRadioGroup* RgrTrunc;
    TRadioGroup* rgrUnitsName;
    QLineEdit* EditUnitsName;
    QPushButton* btnOK;

private:
    TForm1& form_;
};
