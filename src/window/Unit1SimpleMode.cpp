// The main window's two control modes: the simple single-motion panel and the extended command
// list editor, and the switch between them.
#include "Unit1.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "operations/SimpleModeLists.h"
#include "session/Session.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"

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
    TCommonDatas& datas = Session().Datas();
    datas.ControlMode =
        quint8(rgrSingl_Mult->ItemIndex() == 0 ? TCommonDatas::SimpleMode : TCommonDatas::ExtendedMode);
    btnAllClearClick();
    ApplyModeLayout();
}

void TForm1::ApplyModeLayout() {
    const TCommonDatas& datas = Session().Datas();
    const bool simple = datas.ControlMode == TCommonDatas::SimpleMode;
    mmFileSave->setEnabled(!simple);
    mmFileOpen->setEnabled(!simple);

    EnableWithChildren(PanelSingeC, simple);
    for (QGroupBox* group : {grbSteps, grbSpeed, grbAccel})
        EnableWithChildren(group, simple);
    EnableWithChildren(PanelMultC, !simple);
    btnStopSending->setEnabled(!simple && Session().Transmitting());
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
    panelLoadAns->setVisible(datas.ShowLoadLog);
    panelLoadAns->setFixedWidth(datas.ShowLoadLog ? 105 : 0);
    panelPortAns->setVisible(datas.ShowPortLog);
    panelPortAns->setFixedWidth(datas.ShowPortLog ? 105 : 0);
    const int multWidth = panelLoadAns->width() + panelPortAns->width() + 384;
    // The list may grow when the operator widens the window; this is its width at the switch.
    PanelMultC->setMinimumWidth(multWidth);
    PanelMultC->show();
    resize(PanelSingeC->width() + multWidth + 10, height());
}

void TForm1::btnCoord123Click() {
    Session().Datas().SetCoordsActive(ChboxCoord1->isChecked(), chboxCoord2->isChecked(),
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

template <typename Build> void TForm1::SendSimpleList(Build build) {
    TSession& session = Session();
    session.CommandList().Clear();
    TSimpleModeLists lists(session.Commands(), session.Datas(), session.CommandList());
    build(lists);
    btnRunTRClick();
}

void TForm1::btnLoadClick() {
    SendSimpleList([&](TSimpleModeLists& lists) { lists.BuildWriteList(CurrentMotion()); });
}

void TForm1::btnStartClick() {
    SendSimpleList([](TSimpleModeLists& lists) { lists.BuildStartList(); });
}

void TForm1::btnStopClick() {
    Session().Datas().ProgramRunning = true;
    SendSimpleList([](TSimpleModeLists& lists) { lists.BuildStopList(); });
}

void TForm1::btnPuskClick() {
    Session().ReplyEvent().Reset();
    SendSimpleList([&](TSimpleModeLists& lists) {
        lists.BuildWriteList(CurrentMotion());
        lists.BuildStartList();
    });
}
