// The main window's units panel: steps or a unit of the operator's own, the scale between them,
// and the re-scaling of the command list when the scale changes.
#include "Rescale.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Unit1.h"
#include "core/UnitCommonDatas.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/RadioGroup.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TForm1::rgrUnitsClick() {
    const bool steps = rgrUnits->ItemIndex() == 0;
    for (QWidget* w : std::initializer_list<QWidget*>{GrBoxStepsToUnits, Label3, EditStepsToUnits, lblSteps,
                                                      lblTrunc, btnScaleChange, lblScale})
        w->setEnabled(!steps);
    if (steps)
        CommonDatas->SetScale(1);
    else
        btnScaleChangeClick();
    if (const auto scale = ParseScaleText(EditStepsToUnits->text())) {
        CommonDatas->SetScale(*scale);
    } else {
        Dialogs().ShowMessage(Lang->Message(Msg::ScaleIncorrect));
        EditStepsToUnits->setText("1");
    }
}

void TForm1::btnScaleChangeClick() {
    const double old = CommonDatas->Scale;
    // A point and a comma both separate the decimals, whatever the system's separator.
    if (const auto scale = ParseScaleText(EditStepsToUnits->text())) {
        CommonDatas->SetScale(*scale);
    } else {
        Dialogs().ShowMessage(Lang->Message(Msg::ScaleIncorrect));
        CommonDatas->SetScale(1);
    }
    if (MemoSend->Lines.isEmpty())
        return;
    const TRescaleResult result = RescaleList(MemoSend->Lines, CommonDatas->Scale / old, *CommonDatas);
    for (int line : result.saturated) {
        AddLogLine(QString("Line %1 (%2): the re-scaled value does not fit the controller's numbers and was "
                           "limited to %3.")
                       .arg(line + 1)
                       .arg(MemoSend->Lines[line].left(2), MemoSend->Lines[line].mid(2)),
                   true);
    }
    if (!result.complete)
        ReportError(EConvertError::NotAnInteger(result.badArgument));
}
