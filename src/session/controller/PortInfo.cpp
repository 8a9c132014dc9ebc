#include "PortInfo.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "serial/Line.h"
#include "serial/NetworkLine.h"
#include "serial/PortDevice.h"

#include "lang/MessageIds.h"

QString ComposePortInfo(quint32 portNumber, quint8 dataBitsIndex, quint8 stopBits, quint8 parity,
                        const QStringList& messages) {
    const auto message = [&](int i) { return messages.value(i); };
    QString info;
    if (portNumber >= 1 && portNumber <= 255)
        info += "Com" + QString::number(portNumber) + ";  ";
    if (dataBitsIndex <= 3)
        info += QString::number(dataBitsIndex + 5) + " " + message(Msg::Bits);
    static const char* const stopTexts[] = {" 1;  ", " 1,5;  ", " 2;  "};
    if (stopBits <= 2)
        info += message(Msg::StopBits) + stopTexts[stopBits];
    if (parity <= 4)
        info += message(Msg::ParityNone + parity);
    return info;
}

// The words for why a line could not be opened.
QString LineFailureText(const TLang& lang, const ILine& line) {
    using F = TLineFailure;
    static const std::pair<F, int> words[] = {
        {F::NoSuchDevice, Ext::NoSuchDevice},
        {F::PermissionDenied, Ext::PermissionDenied},
        {F::Busy, Ext::PortBusy},
        {F::NotSerial, Ext::NotSerialDevice},
        {F::BadAddress, Ext::NetworkBadAddress},
        {F::NameNotFound, Ext::NetworkNameNotFound},
        {F::Refused, Ext::NetworkRefused},
        {F::Unreachable, Ext::NetworkUnreachable},
        {F::ClosedByServer, Ext::ServerClosedAtOnce},
    };
    const F failure = line.LastFailure();
    if (failure == F::TimedOut)
        return lang.ExtraText(Ext::NetworkTimedOut).arg(TNetworkLine::ConnectTimeoutMs / 1000);
    if (failure == F::NameServerSilent)
        return lang.ExtraText(Ext::NetworkNameServerSilent).arg(TNetworkLine::ResolveTimeoutMs / 1000);
    for (const auto& [kind, text] : words) {
        if (kind == failure)
            return lang.ExtraText(text);
    }
    return PortDevice::SystemErrorText(line.LastOpenError());
}
