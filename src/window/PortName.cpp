#include "PortName.h"

#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "serial/DeviceWatch.h"
#include "serial/NetworkAddress.h"
#include "serial/PortDevice.h"
#include "serial/SerialDevices.h"
#include "session/OperatorSettings.h"
#include "session/controller/Connection.h"
#include "widgets/Design.h"
#include "widgets/RadioGroup.h"
#include "widgets/SpinEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
constexpr TCaptionSlot kPortNameSlots[] = {{1, "TFormPortName", -1}, {2, "rgrPortName", 4}};
} // namespace

TFormPortName::TFormPortName(TOperatorSettings& options, TConnection& connection, QWidget* parent)
    : TTranslatedDialog(options, {"TFormPortName", "Chose port number", kPortNameSlots, 2, true}, parent),
      connection_(connection) {
    auto* grid = new QGridLayout(this);
    rgrPortName = new TRadioGroup("rgrPortName", QString(),
                                  {"Com 1", "Com 2", "Com 3", "Com 4", "Other (5 - 255):"}, 2, this);
    rgrPortName->SetItemIndex(-1);
    SpinEditPortName = new TSpinEdit("SpinEditPortName", 5, 255, 5, this);
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    lblDevice = new QLabel(this);
    lblDevice->setObjectName("lblDevice");
    lblDevice->setWordWrap(true);
    lblDevices = new QLabel(this);
    lblDevices->setObjectName("lblDevices");
    lbDevices = new QListWidget(this);
    lbDevices->setObjectName("lbDevices");
    btnLink = new QPushButton(this);
    btnLink->setObjectName("btnLink");
    btnRefresh = new QPushButton(this);
    btnRefresh->setObjectName("btnRefresh");
    lblAddress = Design::Label("lblAddress", {}, this);
    EditAddress = Design::Edit("EditAddress", {}, 200, this);
    EditAddress->setPlaceholderText("rfc2217://192.168.1.20:2000");
    lblAddress->setBuddy(EditAddress);
    btnLinkAddress = Design::Button("btnLinkAddress", {}, this);
    devicesWatch_ = new TDeviceFolderWatch(this);
    grid->addWidget(rgrPortName, 0, 0, 1, 2);
    grid->addWidget(SpinEditPortName, 1, 1);
    grid->addWidget(lblDevice, 2, 0, 1, 2);
    grid->addWidget(lblDevices, 3, 0, 1, 2);
    grid->addWidget(lbDevices, 4, 0, 1, 2);
    grid->addWidget(btnLink, 5, 0);
    grid->addWidget(btnRefresh, 5, 1);
    grid->addWidget(lblAddress, 6, 0, 1, 2);
    grid->addWidget(EditAddress, 7, 0);
    grid->addWidget(btnLinkAddress, 7, 1);
    grid->addWidget(ButtonOK, 8, 1);
    connect(rgrPortName, &TRadioGroup::Clicked, this, &TFormPortName::rgrPortNameClick);
    connect(SpinEditPortName, &TSpinEdit::valueChanged, this, &TFormPortName::ShowDevices);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormPortName::ButtonOKClick);
    connect(btnLink, &QPushButton::clicked, this, &TFormPortName::btnLinkClick);
    connect(btnRefresh, &QPushButton::clicked, this, &TFormPortName::ShowDevices);
    connect(btnLinkAddress, &QPushButton::clicked, this, &TFormPortName::btnLinkAddressClick);
    connect(EditAddress, &QLineEdit::returnPressed, this, &TFormPortName::btnLinkAddressClick);
    connect(devicesWatch_, &TDeviceFolderWatch::Changed, this, &TFormPortName::ShowDevices);
    connect(lbDevices, &QListWidget::currentRowChanged, this,
            [this] { btnLink->setEnabled(SelectedNumber() != 0 && lbDevices->currentItem()); });
    FormCreate();
}

void TFormPortName::Fill() {
    const TLang& lang = Lang();
    lblDevices->setText(lang.ExtraText(Ext::DevicesPresent));
    btnLink->setText(lang.ExtraText(Ext::LinkDevice));
    btnRefresh->setText(lang.ExtraText(Ext::RefreshDevices));
    lblAddress->setText(lang.ExtraText(Ext::NetworkAddressLabel));
    btnLinkAddress->setText(lang.ExtraText(Ext::NetworkLinkAddress));
    EditAddress->setToolTip(lang.ExtraText(Ext::NetworkAddressHint));
    btnLinkAddress->setToolTip(lang.ExtraText(Ext::NetworkAddressHint));
    const quint32 n = connection_.Choice().PortNumber();
    if (n >= 1 && n <= 4) {
        rgrPortName->SetItemIndex(int(n) - 1);
        SpinEditPortName->setEnabled(false);
    } else if (n >= 5 && n <= 255) {
        rgrPortName->SetItemIndex(4);
        SpinEditPortName->setEnabled(true);
        SpinEditPortName->setValue(int(n));
    }
    ShowDevices();
}

void TFormPortName::rgrPortNameClick() {
    SpinEditPortName->setEnabled(rgrPortName->ItemIndex() == 4);
    ShowDevices();
}

quint32 TFormPortName::SelectedNumber() const {
    const int item = rgrPortName->ItemIndex();
    if (item >= 0 && item < 4)
        return quint32(item + 1);
    const int typed = SpinEditPortName->value();
    if (item == 4 && typed >= 5 && typed <= 255)
        return quint32(typed);
    return 0;
}

void TFormPortName::ShowDevices() {
    const TLang& lang = Lang();
    const quint32 n = SelectedNumber();
    if (n == 0) {
        lblDevice->clear();
    } else {
        const QString device = connection_.Choice().DeviceForPort(n);
        if (const QString address = TNetworkAddress::Behind(device); !address.isEmpty()) {
            lblDevice->setText(lang.ExtraText(Ext::NetworkAddressOpens).arg(n).arg(address));
            if (EditAddress->text().isEmpty())
                EditAddress->setText(address);
        }
        const SerialDevices::TDeviceState state = SerialDevices::Inspect(device);
        const int how = !state.exists       ? Ext::DeviceMissing
                        : !state.accessible ? Ext::DeviceNoAccess
                                            : Ext::DeviceReady;
        if (TNetworkAddress::Behind(device).isEmpty())
            lblDevice->setText(lang.ExtraText(Ext::PortOpens).arg(n).arg(device, lang.ExtraText(how)));
    }
    const QString selected = lbDevices->currentItem() ? lbDevices->currentItem()->text() : QString();
    lbDevices->clear();
    const QStringList devices = SerialDevices::List(ByIdFolder, DevFolder);
    devicesWatch_->SetFolders({ByIdFolder, DevFolder});
    lbDevices->addItems(devices);
    if (devices.isEmpty())
        lbDevices->addItem(lang.ExtraText(Ext::NoDevices));
    lbDevices->setEnabled(!devices.isEmpty());
    const auto found = lbDevices->findItems(selected, Qt::MatchExactly);
    if (!found.isEmpty())
        lbDevices->setCurrentItem(found.first());
    btnLink->setEnabled(n != 0 && !devices.isEmpty() && lbDevices->currentItem());
}

void TFormPortName::btnLinkClick() {
    const quint32 n = SelectedNumber();
    if (n == 0 || !lbDevices->isEnabled() || !lbDevices->currentItem())
        return;
    LinkTo(n, lbDevices->currentItem()->text());
}

void TFormPortName::LinkTo(quint32 n, const QString& target) {
    const TLang& lang = Lang();
    const SerialDevices::TLinkResult result =
        SerialDevices::LinkPort(connection_.Choice().PortsFolder(), n, target);
    if (!result.linked)
        Dialogs().ShowError(
            lang.ExtraText(Ext::LinkFailed)
                .arg(n)
                .arg(target, result.portsIsLink ? lang.ExtraText(Ext::PortsFolderIsLink) : result.reason));
    ShowDevices();
}

void TFormPortName::btnLinkAddressClick() {
    const quint32 n = SelectedNumber();
    const QString address = EditAddress->text().trimmed();
    if (n == 0 || address.isEmpty())
        return;
    if (TNetworkAddress::Parse(address))
        LinkTo(n, address);
    else
        Dialogs().ShowError(
            Lang().ExtraText(Ext::LinkFailed).arg(n).arg(address, Lang().ExtraText(Ext::NetworkBadAddress)));
}

void TFormPortName::ButtonOKClick() {
    const int item = rgrPortName->ItemIndex();
    if (item >= 0 && item < 4) {
        connection_.ChoosePort(quint32(item + 1));
    } else if (item == 4) {
        // Any number may be typed; text that is no number counts as 5.
        const int n = SpinEditPortName->value();
        if (n >= 5 && n <= 255)
            connection_.ChoosePort(quint32(n));
        else
            Dialogs().ShowError(Lang().Message(Msg::SetCorrectPort));
    }
    emit PortChosen();
    close();
}
