#pragma once

#include "TranslatedDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TDeviceFolderWatch;
class TSpinEdit;
class TConnection;
class TRadioGroup;

// "Chose port": the port number, 1 to 4 or another from 5 to 255. It also shows which device
// the chosen number opens (a link in ports/ or the system's /dev/ttyS<n-1>) and whether it is
// there and may be opened, and lists the serial devices of the machine (again on "Refresh", and
// by itself while devices are plugged in or out), so that one choice links
// the number to a device (ports/COM<n>, inside the program folder), or to the address of a
// controller on the network typed in. OK sets the number and tells
// the main window (PortChosen), which opens the port on it. Modal; released when closed.
class TFormPortName : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormPortName(TOperatorSettings& options, TConnection& connection, QWidget* parent);

    void rgrPortNameClick();
    void ButtonOKClick();
    // Links the selected port number to the device selected in the list.
    void btnLinkClick();
    // Links the selected port number to the network address typed (tcp://, rfc2217://).
    void btnLinkAddressClick();
    // The number the dialog's selection names, 0 for none (or a number typed out of 5..255).
    quint32 SelectedNumber() const;
    // Shows the device of the selected number and the devices of the machine.
    void ShowDevices();

    TRadioGroup* rgrPortName;
    TSpinEdit* SpinEditPortName;
    QPushButton* ButtonOK;
    QLabel* lblDevice;
    QLabel* lblDevices;
    QListWidget* lbDevices;
    QPushButton* btnLink;
    QPushButton* btnRefresh;
    QLabel* lblAddress;
    QLineEdit* EditAddress;
    QPushButton* btnLinkAddress;

    // Where the device list comes from (tests stand pseudo-terminals in for devices).
    QString ByIdFolder = "/dev/serial/by-id";
    QString DevFolder = "/dev";

protected:
    void Fill() override;

private:
    // Links port n to `target` (a device or an address), or says why it could not.
    void LinkTo(quint32 n, const QString& target);
    TConnection& connection_;
    TDeviceFolderWatch* devicesWatch_;

signals:
    // The port number was set (or kept): the port is to be opened on it.
    void PortChosen();
};
