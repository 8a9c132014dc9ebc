#pragma once

#include "TranslatedDialog.h"
#include "core/Settings.h"

#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TRadioGroup;

// "Program settings": what the main window shows, which files are saved on close, the editor's
// two automatisms, the rounding of user units and the unit name. OK applies them through the
// session and tells the main window to lay itself out again; closing it otherwise changes
// nothing. Modal; released when closed.
class TFormProgProp : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormProgProp(TOperatorSettings& options, QWidget* parent);

    void btnOKClick();

    QCheckBox* chboxPortLogs;
    QCheckBox* chboxLoadLogs;
    QCheckBox* chBoxLogs;
    QCheckBox* chBoxSavePortLogs;
    QCheckBox* chBoxSaveLogs;
    QCheckBox* chbLogTimes;    // the time before each log line
    QCheckBox* chbShowCodes;   // column 1 of the command lists shows the lines
    QCheckBox* chbJournal;     // the run journal kept
    QCheckBox* chbSessionLogs; // a copy of both logs per session
    QSpinBox* spinSessionLogs; // how many sessions' copies are kept
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

protected:
    void Fill() override;

signals:
    // The settings of what the window shows were applied: its layout follows.
    void LayoutChanged();

private:
    // Each check box and the setting it shows.
    struct TBinding {
        QCheckBox* box;
        bool TSettings::*setting;
    };
    std::vector<TBinding> Bindings() const;
};
