#include "UnitErrores.h"

#include "core/Settings.h"
#include "session/OperatorSettings.h"
#include "session/controller/Channels.h"
#include "widgets/Design.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr TCaptionSlot kUnitErroresSlots[] = {
    {39, "TFormErrores", -1}, {40, "StaticText1", -1}, {41, "StaticText2", -1}, {42, "btnAllOk", -1}};

} // namespace

using Design::Named;

TFormErrores::TFormErrores(TOperatorSettings& options, TChannels& channels, QWidget* parent)
    : TTranslatedDialog(options, {"TFormErrores", "Error recovering", kUnitErroresSlots, 42, true}, parent),
      channels_(channels) {
    auto* column = new QVBoxLayout(this);
    const auto step = [&](QFrame*& panel, const char* panelName, QCheckBox*& box, const char* boxName,
                          QLabel*& text, const char* textName, const QString& caption, QPushButton*& button,
                          const char* buttonName) {
        panel = Named(new QFrame(this), panelName);
        panel->setFrameShape(QFrame::StyledPanel);
        auto* row = new QHBoxLayout(panel);
        box = Named(new QCheckBox(panel), boxName);
        box->setChecked(true);
        text = Named(new QLabel(caption, panel), textName);
        button = Named(new QPushButton("OK!", panel), buttonName);
        row->addWidget(box);
        row->addWidget(text, 1);
        row->addWidget(button);
        column->addWidget(panel);
    };
    step(pnlED, "pnlED", chboxED, "chboxED", StaticText1, "StaticText1", "Break up communication:", btnED,
         "btnED");
    step(pnlSettsClear, "pnlSettsClear", chboxSettsClear, "chboxSettsClear", StaticText2, "StaticText2",
         "Clear comand receiving  readiness marks:", btnSettsClear, "btnSettsClear");
    btnAllOk = Named(new QPushButton("Start sequence", this), "btnAllOk");
    column->addWidget(btnAllOk, 0, Qt::AlignHCenter);
    connect(chboxED, &QCheckBox::clicked, this, &TFormErrores::chboxEDClick);
    connect(chboxSettsClear, &QCheckBox::clicked, this, &TFormErrores::chboxSettsClearClick);
    connect(btnED, &QPushButton::clicked, this, &TFormErrores::btnEDClick);
    connect(btnSettsClear, &QPushButton::clicked, this, &TFormErrores::btnSettsClearClick);
    connect(btnAllOk, &QPushButton::clicked, this, &TFormErrores::btnAllOkClick);
    FormCreate();
}

void TFormErrores::Fill() {
    chboxED->setChecked(Options().Settings().RecoveryBreakComm);
    chboxSettsClear->setChecked(Options().Settings().RecoveryClearMarks);
}

void TFormErrores::chboxEDClick() {
    TSettings s = Options().Settings();
    s.RecoveryBreakComm = chboxED->isChecked();
    Options().Apply(s);
}

void TFormErrores::chboxSettsClearClick() {
    TSettings s = Options().Settings();
    s.RecoveryClearMarks = chboxSettsClear->isChecked();
    Options().Apply(s);
}

void TFormErrores::btnEDClick() {
    channels_.Recover(TChannels::Recovery::EndCommunication);
}

void TFormErrores::btnSettsClearClick() {
    channels_.Recover(TChannels::Recovery::ClearReadiness);
}

void TFormErrores::btnAllOkClick() {
    channels_.Recover(TChannels::Recovery::RunAll);
}
