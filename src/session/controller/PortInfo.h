#pragma once

#include <QString>
#include <QStringList>

// The one-line description of an open port for the status panel: port number, data bits, stop
// bits and parity, in the words of the message list. A piece whose value is out of its range is
// left out; the baud rate is not part of it.
QString ComposePortInfo(quint32 portNumber, quint8 dataBitsIndex, quint8 stopBits, quint8 parity,
                        const QStringList& messages);

class ILine;
class TLang;
// Why `line` could not be opened, in the words of `lang`.
QString LineFailureText(const TLang& lang, const ILine& line);
