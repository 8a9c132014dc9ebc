#include "PortControls.h"

#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/controller/Connection.h"
#include "widgets/Panel.h"

#include <QAction>
#include <QPushButton>

TPortControls::TPortControls(const TControls& controls, TConnection& connection, const TLang& lang,
                             QObject* parent)
    : QObject(parent), controls_(controls), connection_(connection), lang_(lang) {
    connect(controls_.open, &QPushButton::clicked, this, &TPortControls::Open);
    connect(controls_.close, &QPushButton::clicked, this, &TPortControls::Close);
    connect(&connection_, &TConnection::Lost, this, &TPortControls::ClearStatus);
    connect(&connection_, &TConnection::DeviceReturned, this, &TPortControls::DeviceReturned);
    // A connection being made: said in the status line, "Close port" gives it up.
    connect(&connection_, &TConnection::Opening, this, [this](const QString& device) {
        controls_.status->SetCaption(lang_.ExtraText(Ext::NetworkConnecting).arg(device));
        UpdateControls();
    });
    connect(&connection_, &TConnection::OpenDone, this, &TPortControls::OpenDone);
    UpdateControls();
}

void TPortControls::Open() {
    connection_.BeginOpen();
}

void TPortControls::OpenDone(bool opened) {
    if (opened) {
        // The description, composed when the port opens; the device and the baud rate, which
        // the description leaves out, in the tooltip.
        controls_.status->SetCaption(lang_.Message(Msg::PortPrefix) + connection_.Description());
        ShowTooltip();
    } else {
        controls_.status->SetCaption(QString());
        // The described message, then which port and why, and where to choose another (a
        // connection given up is no failure).
        if (!connection_.OpenFailure().isEmpty())
            Dialogs().ShowError(lang_.Message(Msg::ErrorOpeningPort) + "\n\n" + connection_.OpenFailure() +
                                "\n\n" + lang_.ExtraText(Ext::PortWhatToDo));
    }
    UpdateControls();
}

void TPortControls::Close() {
    if (connection_.IsOpening())
        return connection_.CancelOpen();
    connection_.Close();
    ClearStatus();
}

void TPortControls::ClearStatus() {
    controls_.status->SetCaption(QString());
    ShowTooltip();
    UpdateControls();
}

void TPortControls::ShowTooltip() {
    controls_.status->setToolTip(connection_.IsOpen()
                                     ? connection_.Choice().Device() + "  " +
                                           lang_.ExtraText(Ext::PortBaud).arg(connection_.BaudRate())
                                     : QString());
}

void TPortControls::UpdateControls() {
    const bool open = connection_.IsOpen(), opening = connection_.IsOpening();
    controls_.close->setEnabled(open || opening);
    controls_.open->setEnabled(!open && !opening);
    controls_.settings->setEnabled(open);
    emit ControlsUpdated();
}

void TPortControls::DeviceReturned(const QString& device) {
    // Asked, never done on its own: the controller may have been running all along.
    const QString question =
        lang_.ExtraText(Ext::ReopenPort).arg(device).arg(connection_.Choice().PortNumber());
    if (!connection_.IsOpen() && Dialogs().Confirm(question, false) && !connection_.IsOpen() &&
        !connection_.IsOpening())
        Open();
}
