#include "UnitCoord.h"

#include "core/UnitCommonDatas.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormCoord::TFormCoord(TSession& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName("TFormCoord");
    setWindowTitle(QString::fromUtf8("Текущие координаты"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel("Channels:", this));
    auto* row = new QHBoxLayout;
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3};
    const TCommonDatas& d = session.Datas();
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

void TFormCoord::btnOkClick() {
    session_.SetChannelsActive(CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked());
    close();
}
