#pragma once

#include <QObject>

class QAction;
class QPushButton;
class TConnection;
class TLang;
class TPanel;

// The port's controls: "Open Port" and "Close port", the port settings entry that an open port
// enables, and the status line's description of the open port (its device and baud rate in the
// tooltip). A device lost clears the description; a device back is reopened when the operator
// says so, never on its own.
class TPortControls : public QObject {
    Q_OBJECT
public:
    struct TControls {
        QPushButton *open, *close;
        QAction* settings;
        TPanel* status;
    };
    TPortControls(const TControls& controls, TConnection& connection, const TLang& lang, QObject* parent);

    // "Open Port": the port opened again (a connection over the network begun, the window live
    // meanwhile); why it could not be, in a message box.
    void Open();
    // "Close port".
    void Close();
    // The device and the line's baud rate in the status line's tooltip (none while closed).
    void ShowTooltip();

signals:
    // The buttons were brought into line with the port.
    void ControlsUpdated();

private:
    void OpenDone(bool opened);
    void UpdateControls();
    void ClearStatus();
    void DeviceReturned(const QString& device);

    TControls controls_;
    TConnection& connection_;
    const TLang& lang_;
};
