#include "UnitCoord.h"

#include "session/controller/Channels.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormCoord::TFormCoord(TChannels& channels, QWidget* parent) : QDialog(parent), channels_(channels) {
    setObjectName("TFormCoord");
    setWindowTitle(QString::fromUtf8("Текущие координаты"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel("Channels:", this));
    auto* row = new QHBoxLayout;
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3};
    const std::array<bool, 3> active = channels.Selected();
    for (int channel = 1; channel <= 3; ++channel) {
        auto* box = new QCheckBox(QString::number(channel), this);
        box->setObjectName(QString("CheckBox%1").arg(channel));
        box->setChecked(active[size_t(channel - 1)]);
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
    channels_.Select(CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked());
    close();
}
