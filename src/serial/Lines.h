#pragma once

#include "Line.h"

#include <QString>

#include <array>
#include <memory>

class TComPort;
class TNetworkLine;

// The lines to the controller, made in one place: a serial device and a connection over the
// network, each made once (a sending may be writing to one from its thread while another is
// chosen) and chosen by what the device names: a terminal device, or an address (tcp://,
// rfc2217://, also behind a link under ports/). Whoever talks through them sees only ILine.
class TLines {
public:
    explicit TLines(const QString& portsFolder);
    ~TLines();

    // The line that opens port `portNumber` (its link under ports/, else <systemFolder>/ttyS<n-1>),
    // or `givenDevice` when one is given outright, set up to open it.
    ILine& For(quint32 portNumber, const QString& givenDevice, const QString& systemFolder);
    // Every line, for what all of them take (the receiver, the settings, the loss signal).
    std::array<ILine*, 2> All() const;

private:
    std::unique_ptr<TComPort> serial_;
    std::unique_ptr<TNetworkLine> network_;
};
