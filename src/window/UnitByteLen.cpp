#include "UnitByteLen.h"

#include "serial/ComPort.h"
#include "session/OperatorSettings.h"
#include "session/controller/Connection.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr TCaptionSlot kUnitByteLenSlots[] = {
    {3, "TFormByteLen", -1}, {4, "rgrDataLen", -1},  {5, "rgrStopBits", -1},
    {6, "rgrParity", -1},    {7, "lblBaudRate", -1}, {8, "rgrParity", 0},
    {9, "rgrParity", 1},     {10, "rgrParity", 2},   {11, "btnCancel", -1}};
} // namespace

TFormByteLen::TFormByteLen(TOperatorSettings& options, TConnection& connection, QWidget* parent)
    : TTranslatedDialog(options, {"TFormByteLen", "Port properties", kUnitByteLenSlots, 11, false}, parent),
      connection_(connection) {
    auto* grid = new QGridLayout(this);
    rgrDataLen = new TRadioGroup("rgrDataLen", "Data bits:", {"5", "6", "7", "8"}, 2, this);
    rgrDataLen->SetItemIndex(3);
    rgrStopBits = new TRadioGroup("rgrStopBits", "Stop-bits:", {"1", "2 (1,5)"}, 1, this);
    rgrStopBits->SetItemIndex(0);
    rgrParity = new TRadioGroup("rgrParity", "Parity:", {"None", "Odd", "Even", " 1", " 0"}, 1, this);
    rgrParity->SetItemIndex(0);
    lblBaudRate = new QLabel("Baud rate:", this);
    lblBaudRate->setObjectName("lblBaudRate");
    cbPortSpeed = new QComboBox(this);
    cbPortSpeed->setObjectName("cbPortSpeed");
    for (const qint32 rate : TComPort::BaudRates)
        cbPortSpeed->addItem(QString::number(rate));
    cbPortSpeed->setCurrentIndex(6);
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    grid->addWidget(rgrDataLen, 0, 0);
    grid->addWidget(rgrStopBits, 1, 0);
    grid->addWidget(rgrParity, 0, 1, 2, 1);
    grid->addWidget(lblBaudRate, 2, 0);
    grid->addWidget(cbPortSpeed, 2, 1);
    grid->addWidget(btnOK, 3, 0);
    grid->addWidget(btnCancel, 3, 1);
    connect(btnOK, &QPushButton::clicked, this, &TFormByteLen::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFormByteLen::btnCancelClick);
    FormCreate();
}

void TFormByteLen::Fill() {
    const TComPort::TLineChoice line = connection_.LineSettings();
    rgrDataLen->SetItemIndex(line.dataBitsIndex);
    rgrParity->SetItemIndex(line.parity);
    rgrStopBits->SetItemIndex(line.stopBits == 0 ? 0 : 1);
    cbPortSpeed->setCurrentIndex(line.baudIndex);
}

void TFormByteLen::btnOKClick() {
    TComPort::TLineChoice line = connection_.LineSettings();
    if (rgrDataLen->ItemIndex() >= 0)
        line.dataBitsIndex = quint8(rgrDataLen->ItemIndex());
    // "2 (1,5)": one and a half stop bits with five data bits, two otherwise.
    line.stopBits = rgrStopBits->ItemIndex() == 0 ? 0 : (rgrDataLen->ItemIndex() == 0 ? 1 : 2);
    if (rgrParity->ItemIndex() >= 0)
        line.parity = quint8(rgrParity->ItemIndex());
    if (cbPortSpeed->currentIndex() >= 0)
        line.baudIndex = quint8(cbPortSpeed->currentIndex());
    connection_.SetLineSettings(line);
    emit LineSettingsApplied();
    close();
}

void TFormByteLen::btnCancelClick() {
    close();
}
