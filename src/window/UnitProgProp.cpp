#include "UnitProgProp.h"

#include "core/Settings.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/OperatorSettings.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr TCaptionSlot kUnitProgPropSlots[] = {{43, "TFormProgProp", -1},
                                               {44, "chboxPortLogs", -1},
                                               {45, "chboxLoadLogs", -1},
                                               {46, "chBoxSavePortLogs", -1},
                                               {47, "chBoxSaveLogs", -1},
                                               {48, "chBoxSavePortProp", -1},
                                               {49, "chboxSaveProgProp", -1},
                                               {50, "chBoxSaveErrProp", -1},
                                               {51, "chboxUnitsSave", -1},
                                               {52, "ChboxUnitsName", -1},
                                               {53, "ChboxUnitsScale", -1},
                                               {54, "chBoxAddENAutomatic", -1},
                                               {55, "chboxAddBGAutomatic", -1},
                                               {56, "RgrTrunc", -1},
                                               {57, "RgrTrunc", 0},
                                               {58, "RgrTrunc", 1},
                                               {59, "RgrTrunc", 2},
                                               {60, "rgrUnitsName", -1},
                                               {61, "chBoxLogs", -1}};

QCheckBox* Box(const char* name, const QString& caption, QWidget* parent, QLayout* layout) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

QFrame* Panel(const char* name, QWidget* parent, QLayout* into) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    into->addWidget(panel);
    return panel;
}

} // namespace

TFormProgProp::TFormProgProp(TOperatorSettings& options, QWidget* parent)
    : TTranslatedDialog(options, {"TFormProgProp", "Program main settings", kUnitProgPropSlots, 61, true},
                        parent) {
    auto* column = new QVBoxLayout(this);

    auto* show = new QVBoxLayout(Panel("Panel1", this, column));
    chboxPortLogs = Box("chboxPortLogs", "Show port replies log (extended control mode only)", this, show);
    chboxLoadLogs =
        Box("chboxLoadLogs", "Show algorithm recording process (extended control mode only)", this, show);
    chBoxLogs = Box("chBoxLogs", "Show operation log", this, show);
    auto* logs = new QVBoxLayout(Panel("Panel2", this, column));
    chBoxSavePortLogs = Box("chBoxSavePortLogs", "Save port replies log", this, logs);
    chBoxSaveLogs = Box("chBoxSaveLogs", "Save operation log", this, logs);
    chbLogTimes = Box("chbLogTimes", "Time before each log line", this, logs);
    chbShowCodes = Box("chbShowCodes", "Show each command's line in the command list", this, logs);
    chbJournal = Box("chbJournal", "Keep a run journal (what ran, when, and how it ended)", this, logs);
    auto* copies = new QHBoxLayout;
    logs->addLayout(copies);
    chbSessionLogs = new QCheckBox("Keep the logs of each session, at most:", this);
    chbSessionLogs->setObjectName("chbSessionLogs");
    spinSessionLogs = new QSpinBox(this);
    spinSessionLogs->setObjectName("spinSessionLogs");
    spinSessionLogs->setRange(1, 9999);
    copies->addWidget(chbSessionLogs);
    copies->addWidget(spinSessionLogs);
    copies->addStretch(1);
    connect(chbSessionLogs, &QCheckBox::toggled, spinSessionLogs, &QWidget::setEnabled);
    auto* settings = new QVBoxLayout(Panel("Panel3", this, column));
    chBoxSavePortProp = Box("chBoxSavePortProp", "Save port properties", this, settings);
    chboxSaveProgProp = Box("chboxSaveProgProp", "Save program settings", this, settings);
    chBoxSaveErrProp = Box("chBoxSaveErrProp", "Save error handling settings", this, settings);
    auto* units = new QVBoxLayout(Panel("Panel6", this, column));
    chboxUnitsSave = Box("chboxUnitsSave", "Save unit of measurement", this, units);
    ChboxUnitsName = Box("ChboxUnitsName", "Save unit measurement name", this, units);
    ChboxUnitsScale = Box("ChboxUnitsScale", "Save unit measurement scale", this, units);
    auto* automatisms = new QVBoxLayout(Panel("Panel4", this, column));
    chBoxAddENAutomatic =
        Box("chBoxAddENAutomatic", "Automatically add command  \"Set enable\" to the command list", this,
            automatisms);
    chboxAddBGAutomatic =
        Box("chboxAddBGAutomatic", "Automatically add command  \"Program begin\" to the command list", this,
            automatisms);
    auto* rounding = new QHBoxLayout(Panel("Panel5", this, column));
    RgrTrunc =
        new TRadioGroup("RgrTrunc", "Units rounding:", {"Decreasing", "Increasing", "Mathematic"}, 1, this);
    rounding->addWidget(RgrTrunc);
    rgrUnitsName = new TRadioGroup("rgrUnitsName", "Units name", {}, 1, this);
    EditUnitsName = new QLineEdit(rgrUnitsName);
    EditUnitsName->setObjectName("EditUnitsName");
    rgrUnitsName->layout()->addWidget(EditUnitsName);
    rounding->addWidget(rgrUnitsName);
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    column->addSpacing(10);
    column->addWidget(btnOK, 0, Qt::AlignHCenter);
    connect(btnOK, &QPushButton::clicked, this, &TFormProgProp::btnOKClick);
    FormCreate();
}

std::vector<TFormProgProp::TBinding> TFormProgProp::Bindings() const {
    // clang-format off
    return {{chboxPortLogs, &TSettings::ShowPortLog},           {chboxLoadLogs, &TSettings::ShowLoadLog},
            {chBoxLogs, &TSettings::ShowOperationLog},          {chBoxSavePortLogs, &TSettings::SavePortLog},
            {chBoxSaveLogs, &TSettings::SaveOperationLog},      {chbLogTimes, &TSettings::LogTimes},
            {chbSessionLogs, &TSettings::KeepSessionLogs},      {chBoxSavePortProp, &TSettings::SavePortSettings},
            {chbShowCodes, &TSettings::ShowCodes},              {chbJournal, &TSettings::KeepJournal},
            {chboxSaveProgProp, &TSettings::SaveProgramSettings}, {chBoxSaveErrProp, &TSettings::SaveErrorSettings},
            {chboxUnitsSave, &TSettings::SaveUnits},            {ChboxUnitsName, &TSettings::SaveUnitsName},
            {ChboxUnitsScale, &TSettings::SaveUnitsScale},      {chBoxAddENAutomatic, &TSettings::AutoAddEN},
            {chboxAddBGAutomatic, &TSettings::AutoAddBG}};
    // clang-format on
}

void TFormProgProp::Fill() {
    const TSettings& d = Options().Settings();
    for (const TBinding& b : Bindings())
        b.box->setChecked(d.*b.setting);
    chbLogTimes->setText(Lang().ExtraText(Ext::LogTimesOption));
    chbShowCodes->setText(Lang().ExtraText(Ext::ShowCodesOption));
    chbJournal->setText(Lang().ExtraText(Ext::JournalOption));
    chbSessionLogs->setText(Lang().ExtraText(Ext::SessionLogsOption));
    spinSessionLogs->setValue(int(std::clamp<quint32>(d.SessionLogCopies, 1, 9999)));
    spinSessionLogs->setEnabled(d.KeepSessionLogs);
    RgrTrunc->SetItemIndex(d.RoundingMode);
    EditUnitsName->setText(d.UnitsName);
}

void TFormProgProp::btnOKClick() {
    TSettings d = Options().Settings();
    for (const TBinding& b : Bindings())
        d.*b.setting = b.box->isChecked();
    d.UnitsName = EditUnitsName->text();
    d.SessionLogCopies = quint32(spinSessionLogs->value());
    if (RgrTrunc->ItemIndex() >= 0)
        d.RoundingMode = quint8(RgrTrunc->ItemIndex());
    Options().Apply(d);   // the scale texts show the new unit name
    emit LayoutChanged(); // the command list stays
    close();
}
