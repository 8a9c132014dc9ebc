// The main window's units panel: steps or a unit of the operator's own, the scale between them,
// and the re-scaling of the command list when the scale changes.
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/Rescale.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/Session.h"
#include "widgets/RadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TForm1::rgrUnitsClick() {
    TCommonDatas& datas = Session().Datas();
    const bool steps = rgrUnits->ItemIndex() == 0;
    datas.SetUnitsMode(steps ? TCommonDatas::StepsUnits : TCommonDatas::OtherUnits);
    for (QWidget* w : std::initializer_list<QWidget*>{GrBoxStepsToUnits, Label3, EditStepsToUnits, lblSteps,
                                                      lblTrunc, btnScaleChange, lblScale})
        w->setEnabled(!steps);
    if (steps)
        datas.SetScale(1);
    else
        btnScaleChangeClick();
    if (const auto scale = ParseScaleText(EditStepsToUnits->text())) {
        datas.SetScale(*scale);
    } else {
        Dialogs().ShowMessage(Session().Lang().Message(Msg::ScaleIncorrect));
        EditStepsToUnits->setText("1");
    }
}

void TForm1::btnScaleChangeClick() {
    TSession& session = Session();
    TCommonDatas& datas = session.Datas();
    const double old = datas.Scale;
    // A point and a comma both separate the decimals, whatever the system's separator.
    if (const auto scale = ParseScaleText(EditStepsToUnits->text())) {
        datas.SetScale(*scale);
    } else {
        Dialogs().ShowMessage(session.Lang().Message(Msg::ScaleIncorrect));
        datas.SetScale(1);
    }
    TCommandList& list = session.CommandList();
    if (list.IsEmpty())
        return;
    const TRescaleResult result = RescaleCommandList(list, datas.Scale / old, datas);
    for (int line : result.saturated) {
        AddLogLine(session.Lang()
                       .ExtraText(Ext::RescaleLimited)
                       .arg(line + 1)
                       .arg(list.Line(line).left(2), list.Line(line).mid(2)),
                   true);
    }
    if (!result.complete)
        ReportError(EConvertError::NotAnInteger(result.badArgument));
}
