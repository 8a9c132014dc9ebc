#include "SimpleModePanel.h"

#include "core/Settings.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"
#include "session/OperatorSettings.h"

#include "widgets/Design.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Design;

namespace {

QGridLayout* GroupGrid(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    return grid;
}
} // namespace

TSimpleModePanel::TSimpleModePanel(QWidget* parent) : TPanel("PanelSingeC", parent) {
    setFrameShadow(QFrame::Sunken);
    setFixedWidth(361);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(2);

    grbSteps = Named(new QGroupBox("Motion", this), "grbSteps");
    auto* steps = GroupGrid(grbSteps);
    StTStepsNum = Label("StTStepsNum", "movement", grbSteps);
    EditStepsNum = Edit("EditStepsNum", "200", 8, grbSteps);
    chbStepsConst = Named(new QCheckBox("permanent motion", grbSteps), "chbStepsConst");
    steps->addWidget(StTStepsNum, 0, 0);
    steps->addWidget(EditStepsNum, 0, 1);
    steps->addWidget(chbStepsConst, 1, 0, 1, 3);
    steps->setColumnStretch(2, 1);

    grbSpeed = Named(new QGroupBox("Velocity", this), "grbSpeed");
    auto* speed = GroupGrid(grbSpeed);
    StTSpeed = Label("StTSpeed", "Maximum speed", grbSpeed);
    EditSpeed = Edit("EditSpeed", "200", 5, grbSpeed);
    StTBeginSpeed = Label("StTBeginSpeed", "Start speed", grbSpeed);
    EditBeginSpeed = Edit("EditBeginSpeed", "200", 0, grbSpeed);
    speed->addWidget(StTSpeed, 0, 0);
    speed->addWidget(EditSpeed, 0, 1);
    speed->addWidget(StTBeginSpeed, 1, 0);
    speed->addWidget(EditBeginSpeed, 1, 1);
    speed->setColumnStretch(2, 1);

    grbAccel = Named(new QGroupBox("Acceleration/Deceleration", this), "grbAccel");
    auto* accel = new QHBoxLayout(grbAccel);
    accel->setContentsMargins(6, 2, 6, 2);
    rbtnAccel = Named(new QRadioButton("Acceleration:", grbAccel), "rbtnAccel");
    EditAccel = Edit("EditAccel", "0", 4, grbAccel);
    rbtnNonAccel = Named(new QRadioButton("No acceleration", grbAccel), "rbtnNonAccel");
    rbtnNonAccel->setChecked(true);
    accel->addWidget(rbtnAccel);
    accel->addWidget(EditAccel);
    accel->addSpacing(8);
    accel->addWidget(rbtnNonAccel, 1);

    const int editWidth = EditWidthFor("10000000");
    for (QLineEdit* edit : {EditStepsNum, EditSpeed, EditBeginSpeed, EditAccel})
        edit->setFixedWidth(editWidth);

    rgrDirect = new TRadioGroup("rgrDirect", "Direction", {"Forward", "Backward"}, 2, this);
    rgrDirect->SetItemIndex(0);

    btnLoad = Button("btnLoad", "Write", this);
    btnStart = Button("btnStart", "Start", this);
    btnStop = Button("btnStop", "Stop", this);
    btnPusk = Button("btnPusk", "Write and Start", this);
    btnPusk->setToolTip(QString::fromUtf8("Записать программу в контроллер и запустить"));
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(btnLoad, 0, 0);
    buttons->addWidget(btnStart, 0, 1);
    buttons->addWidget(btnStop, 1, 0);
    buttons->addWidget(btnPusk, 1, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{grbSteps, grbSpeed, grbAccel, rgrDirect})
        column->addWidget(w);
    column->addLayout(buttons);
    column->addStretch();
}

TMotion TSimpleModePanel::CurrentMotion() const {
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

void TSimpleModePanel::EnableAll(bool on) {
    EnableWithChildren(this, on);
    for (QGroupBox* group : {grbSteps, grbSpeed, grbAccel})
        EnableWithChildren(group, on);
}

void TSimpleModePanel::EnableButtons(bool write, bool start, bool stop, bool writeAndStart) {
    btnLoad->setEnabled(write);
    btnStart->setEnabled(start);
    btnStop->setEnabled(stop);
    btnPusk->setEnabled(writeAndStart);
}

void TSimpleModePanel::ApplyTexts(const TLang& lang) {
    btnPusk->setToolTip(lang.ExtraText(Ext::HintPusk));
}

void TSimpleModePanel::FollowRanges(const TOperatorSettings& options, const TKVTCommands& commands) {
    connect(&options, &TOperatorSettings::ShownValuesChanged, this,
            [this, &options, &commands] { ShowRanges(options, commands); });
    ShowRanges(options, commands);
}

void TSimpleModePanel::ShowRanges(const TOperatorSettings& options, const TKVTCommands& commands) {
    const TLang& lang = options.Lang();
    const TSettings& settings = options.Settings();
    const QString unit =
        settings.UnitsMode == TSettings::OtherUnits ? settings.UnitsName : lang.ExtraText(Ext::UnitStepsWord);
    const struct {
        QLineEdit* edit;
        int command;
        QString unit;
    } fields[] = {{EditStepsNum, TKVTCommands::MV, unit},
                  {EditSpeed, TKVTCommands::SD, lang.ExtraText(Ext::UnitPerSecond).arg(unit)},
                  {EditBeginSpeed, TKVTCommands::SS, lang.ExtraText(Ext::UnitPerSecond).arg(unit)},
                  {EditAccel, TKVTCommands::AL, lang.ExtraText(Ext::UnitPerSecondSquared).arg(unit)}};
    for (const auto& f : fields) {
        const TCommandEntry& entry = commands.Entry(f.command);
        f.edit->setToolTip(lang.ExtraText(Ext::SimpleFieldRange).arg(entry.MinText, entry.MaxText, f.unit));
    }
}
