#pragma once

#include <QString>

#include <optional>

// A controller on the network, named where a device may be named:
//
//   tcp://HOST:PORT       the bytes as they are (a device server's or ser2net's raw TCP port)
//   rfc2217://HOST:PORT   Telnet with the COM port control option: the line settings reach the
//                         remote serial port
//
// HOST is a name, an IPv4 address or an IPv6 address in brackets ([::1]).
struct TNetworkAddress {
    enum class Kind { Raw, Rfc2217 };
    Kind kind = Kind::Raw;
    QString host;
    quint16 port = 0;

    // The address `text` names, when it is one.
    static std::optional<TNetworkAddress> Parse(const QString& text);
    // Whether `text` begins as an address does (a device path never does); Parse then says
    // whether the rest is sound.
    static bool LooksLikeAddress(const QString& text);
    // The address a device name stands for: the name itself, or the target of a link under
    // ports/ that was made to an address. Empty when it stands for a device.
    static QString Behind(const QString& deviceOrLink);
};
