#include "UnitErrores.h"

#include "Unit1.h"
#include "UnitErrNastr.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"
#include "session/Session.h"
#include "widgets/Captions.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr TCaptionSlot kSlots[] = {
    {39, "TFormErrores", -1}, {40, "StaticText1", -1}, {41, "StaticText2", -1}, {42, "btnAllOk", -1}};
constexpr int kHighestEntry = 42;

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}
} // namespace

TFormErrores::TFormErrores(TForm1& form, TFormErrNastr& owner) : QDialog(&owner), form_(form), owner_(owner) {
    setObjectName("TFormErrores");
    setWindowTitle("Error recovering");
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
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

TFormErrores::~TFormErrores() {
    owner_.ErroresClosed(this);
}

void TFormErrores::FormCreate() {
    ApplyLanguage();
    const TCommonDatas& d = form_.Session().Datas();
    chboxED->setChecked(d.RecoveryBreakComm);
    chboxSettsClear->setChecked(d.RecoveryClearMarks);
}

void TFormErrores::ApplyLanguage() {
    form_.Session().Lang().ApplyDialogLanguage(*this, kSlots, kHighestEntry);
}

void TFormErrores::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}

void TFormErrores::chboxEDClick() {
    form_.Session().Datas().RecoveryBreakComm = chboxED->isChecked();
}

void TFormErrores::chboxSettsClearClick() {
    form_.Session().Datas().RecoveryClearMarks = chboxSettsClear->isChecked();
}

void TFormErrores::btnEDClick() {
    form_.Session().Replies().BreakCommunication();
}

void TFormErrores::btnSettsClearClick() {
    form_.Session().Replies().ClearReadinessMarks();
}

void TFormErrores::btnAllOkClick() {
    form_.Session().Replies().RunErrorRecovery();
}
