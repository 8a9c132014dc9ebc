#include "UnitErrNastr.h"

#include "UnitErrores.h"
#include "core/Settings.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/OperatorSettings.h"
#include "session/controller/Channels.h"
#include "widgets/Design.h"
#include "widgets/SpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr TCaptionSlot kUnitErrNastrSlots[] = {
    {28, "TFormErrNastr", -1}, {29, "StaticText1", -1}, {30, "chboxEr5", -1},
    {31, "btnErrRun", -1},     {32, "StaticText2", -1}, {33, "RbtnEr6_NoReact", -1},
    {34, "RbtnEr6_Esc", -1},   {35, "StaticText3", -1}, {36, "RbtnEr9_NoReact", -1},
    {37, "RbtnEr9_Esc", -1},   {38, "StaticText4", -1}};

} // namespace

using Design::Named;

TFormErrNastr::TFormErrNastr(TOperatorSettings& options, TChannels& channels, QWidget* parent)
    : TTranslatedDialog(options,
                        {"TFormErrNastr", "Program settings - error handling", kUnitErrNastrSlots, 38, true},
                        parent),
      channels_(channels) {
    auto* column = new QVBoxLayout(this);

    pnlEr5 = Design::Frame("pnlEr5", this);
    auto* er5 = new QGridLayout(pnlEr5);
    StaticText1 = Named(new QLabel("Communication errors handling:", pnlEr5), "StaticText1");
    chboxEr5 = Named(new QCheckBox("Automatically start error recovery", pnlEr5), "chboxEr5");
    chboxEr5->setChecked(true);
    btnErrRun = Named(new QPushButton("Clear error", pnlEr5), "btnErrRun");
    er5->addWidget(StaticText1, 0, 0, 1, 2);
    er5->addWidget(chboxEr5, 1, 0);
    er5->addWidget(btnErrRun, 1, 1);
    column->addWidget(pnlEr5);

    // Each pair of reactions is a group of its own.
    const auto reactions = [&](QFrame*& panel, const char* panelName, QLabel*& text, const char* textName,
                               const QString& caption, QRadioButton*& noReact, const char* noName,
                               QRadioButton*& esc, const char* escName) {
        panel = Design::Frame(panelName, this);
        auto* rows = new QVBoxLayout(panel);
        text = Named(new QLabel(caption, panel), textName);
        noReact = Named(new QRadioButton("Don't handle and continue commands transferring", panel), noName);
        esc = Named(new QRadioButton("Stop commands transferring (recommended)", panel), escName);
        auto* group = new QButtonGroup(panel);
        group->addButton(noReact);
        group->addButton(esc);
        esc->setChecked(true);
        rows->addWidget(text);
        rows->addWidget(noReact);
        rows->addWidget(esc);
        column->addWidget(panel);
    };
    reactions(pnlErr6, "pnlErr6", StaticText2, "StaticText2", "Command error handling:", RbtnEr6_NoReact,
              "RbtnEr6_NoReact", RbtnEr6_Esc, "RbtnEr6_Esc");
    reactions(PnlErr9, "PnlErr9", StaticText3, "StaticText3", "Command data error handling:", RbtnEr9_NoReact,
              "RbtnEr9_NoReact", RbtnEr9_Esc, "RbtnEr9_Esc");

    pnlTime = Design::Frame("pnlTime", this);
    auto* time = new QHBoxLayout(pnlTime);
    StaticText4 = Named(new QLabel("Allowed reply waiting time, ms", pnlTime), "StaticText4");
    SpinEditTime = new TSpinEdit("SpinEditTime", 1, 10000, 300, pnlTime);
    btnOk = Named(new QPushButton("OK", pnlTime), "btnOk");
    time->addWidget(StaticText4, 1);
    time->addWidget(SpinEditTime);
    time->addWidget(btnOk);
    column->addWidget(pnlTime);

    connect(btnOk, &QPushButton::clicked, this, &TFormErrNastr::btnOkClick);
    connect(btnErrRun, &QPushButton::clicked, this, &TFormErrNastr::btnErrRunClick);
    FormCreate();
}

void TFormErrNastr::Fill() {
    const TSettings& d = Options().Settings();
    chboxEr5->setChecked(d.AutoRecovery);
    if (d.Er6Reaction == 0)
        RbtnEr6_NoReact->setChecked(true);
    else if (d.Er6Reaction == 1)
        RbtnEr6_Esc->setChecked(true);
    if (d.Er9Reaction == 0)
        RbtnEr9_NoReact->setChecked(true);
    else if (d.Er9Reaction == 1)
        RbtnEr9_Esc->setChecked(true);
    SpinEditTime->setValue(int(std::clamp<quint32>(d.ReplyTime, 1, 10000)));
}

void TFormErrNastr::btnOkClick() {
    TSettings d = Options().Settings();
    d.AutoRecovery = chboxEr5->isChecked();
    d.Er6Reaction = RbtnEr6_NoReact->isChecked() ? 0 : 1;
    d.Er9Reaction = RbtnEr9_NoReact->isChecked() ? 0 : 1;
    // Any number may be typed: it is brought into 1..10000; text that is no number counts as 1.
    d.ReplyTime = quint32(std::clamp(SpinEditTime->value(), 1, 10000));
    Options().Apply(d);
    close();
}

void TFormErrNastr::btnErrRunClick() {
    channels_.Recover(TChannels::Recovery::Began);
    if (!formErrores_)
        formErrores_ = new TFormErrores(Options(), channels_, this);
    formErrores_->open();
}
