#include "UnitCoord.h"

#include "Unit1.h"
#include "core/UnitCommonDatas.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormCoord::TFormCoord(TForm1& form) : QDialog(&form), form_(form) {
    setObjectName("TFormCoord");
    setWindowTitle(QString::fromUtf8("Текущие координаты"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel("Channels:", this));
    auto* row = new QHBoxLayout;
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3};
    const TCommonDatas& d = form.Session().Datas();
    for (int channel = 1; channel <= 3; ++channel) {
        auto* box = new QCheckBox(QString::number(channel), this);
        box->setObjectName(QString("CheckBox%1").arg(channel));
        box->setChecked(d.CoordActive[size_t(channel)]);
        row->addWidget(box);
        *boxes[channel - 1] = box;
    }
    column->addLayout(row);
    btnOk = new QPushButton("OK", this);
    btnOk->setObjectName("btnOk");
    column->addWidget(btnOk);
    connect(btnOk, &QPushButton::clicked, this, &TFormCoord::btnOkClick);
}

TFormCoord::~TFormCoord() {
    form_.CoordClosed(this);
}

void TFormCoord::btnOkClick() {
    TCommonDatas& d = form_.Session().Datas();
    d.SetCoordActive(1, CheckBox1->isChecked());
    d.SetCoordActive(2, CheckBox2->isChecked());
    d.SetCoordActive(3, CheckBox3->isChecked());
    close();
}
