#include "PortInfo.h"

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
