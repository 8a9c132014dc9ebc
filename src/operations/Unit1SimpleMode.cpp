// The main window's two control modes: the simple single-motion panel and the extended command
// list editor, and the switch between them.
#include "SimpleModeLists.h"
#include "core/Unit1.h"
#include "core/UnitCommonDatas.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/Panel.h"
#include "core/widgets/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
// Enables or disables a panel and every control placed directly on it.
void EnableWithChildren(QWidget* panel, bool on) {
    panel->setEnabled(on);
    for (QWidget* child : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(on);
}
} // namespace

void TForm1::rgrSingl_MultClick() {
    btnAllClearClick();
    const bool simple = rgrSingl_Mult->ItemIndex() == 0;
    mmFileSave->setEnabled(!simple);
    mmFileOpen->setEnabled(!simple);

    EnableWithChildren(PanelSingeC, simple);
    for (QGroupBox* group : {grbSteps, grbSpeed, grbAccel})
        EnableWithChildren(group, simple);
    EnableWithChildren(PanelMultC, !simple);
    for (QCheckBox* box : {ChboxCoord1, chboxCoord2, chboxCoord3})
        box->setVisible(simple);

    if (simple) {
        PanelMultC->hide();
        PanelSingeC->setFixedWidth(361);
        PanelSingeC->show();
        resize(370, height());
        return;
    }
    PanelSingeC->hide();
    PanelSingeC->setFixedWidth(0);
    panelLoadAns->setVisible(CommonDatas->ShowLoadLog);
    panelLoadAns->setFixedWidth(CommonDatas->ShowLoadLog ? 105 : 0);
    panelPortAns->setVisible(CommonDatas->ShowPortLog);
    panelPortAns->setFixedWidth(CommonDatas->ShowPortLog ? 105 : 0);
    const int multWidth = panelLoadAns->width() + panelPortAns->width() + 384;
    // The list may grow when the operator widens the window; this is its width at the switch.
    PanelMultC->setMinimumWidth(multWidth);
    PanelMultC->show();
    resize(PanelSingeC->width() + multWidth + 10, height());
}

void TForm1::btnCoord123Click() {
    CommonDatas->SetCoordsActive(ChboxCoord1->isChecked(), chboxCoord2->isChecked(),
                                 chboxCoord3->isChecked());
}

TMotion TForm1::CurrentMotion() const {
    TMotion motion;
    motion.steps = EditStepsNum->text();
    motion.permanent = chbStepsConst->isChecked();
    motion.speed = EditSpeed->text();
    motion.startSpeed = EditBeginSpeed->text();
    motion.accelerate = !rbtnNonAccel->isChecked();
    motion.acceleration = EditAccel->text();
    motion.backward = rgrDirect->ItemIndex() == 1;
    return motion;
}

void TForm1::btnLoadClick() {
    MemoSend->Lines.clear();
    TSimpleModeLists(*KVTCommands, *CommonDatas, MemoSend->Lines).BuildWriteList(CurrentMotion());
    btnRunTRClick();
}

void TForm1::btnStartClick() {
    MemoSend->Lines.clear();
    TSimpleModeLists(*KVTCommands, *CommonDatas, MemoSend->Lines).BuildStartList();
    btnRunTRClick();
}

void TForm1::btnStopClick() {
    CommonDatas->ProgramRunning = true;
    MemoSend->Lines.clear();
    TSimpleModeLists(*KVTCommands, *CommonDatas, MemoSend->Lines).BuildStopList();
    btnRunTRClick();
}

void TForm1::btnPuskClick() {
    EventPortString->Reset();
    MemoSend->Lines.clear();
    TSimpleModeLists lists(*KVTCommands, *CommonDatas, MemoSend->Lines);
    lists.BuildWriteList(CurrentMotion());
    lists.BuildStartList();
    btnRunTRClick();
}
