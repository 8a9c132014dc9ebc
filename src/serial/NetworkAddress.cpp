#include "NetworkAddress.h"

#include <QFile>

#include <climits>
#include <unistd.h>

std::optional<TNetworkAddress> TNetworkAddress::Parse(const QString& text) {
    TNetworkAddress address;
    QString rest;
    if (text.startsWith("tcp://")) {
        rest = text.mid(6);
    } else if (text.startsWith("rfc2217://")) {
        address.kind = Kind::Rfc2217;
        rest = text.mid(10);
    } else {
        return std::nullopt;
    }
    const qsizetype colon = rest.lastIndexOf(':');
    if (colon <= 0)
        return std::nullopt;
    QString host = rest.left(colon);
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint port = rest.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || host.isEmpty() || host.contains('/') || host.contains(' '))
        return std::nullopt;
    address.host = host;
    address.port = quint16(port);
    return address;
}

bool TNetworkAddress::LooksLikeAddress(const QString& text) {
    return text.startsWith("tcp://") || text.startsWith("rfc2217://");
}

QString TNetworkAddress::Behind(const QString& deviceOrLink) {
    if (LooksLikeAddress(deviceOrLink))
        return deviceOrLink;
    // A link to an address points nowhere on the disk: its target is read as it was written.
    char target[PATH_MAX];
    const QByteArray path = QFile::encodeName(deviceOrLink);
    const ssize_t n = ::readlink(path.constData(), target, sizeof target - 1);
    if (n <= 0)
        return {};
    const QString text = QFile::decodeName(QByteArray(target, qsizetype(n)));
    return LooksLikeAddress(text) ? text : QString();
}
