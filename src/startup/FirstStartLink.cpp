#include "FirstStartLink.h"

#include "serial/SerialDevices.h"

#include <QDir>
#include <QFileInfo>

namespace FirstStartLink {

QString ByIdFolder() {
    const QString standIn = qEnvironmentVariable("KVT_SERIAL_BY_ID");
    return standIn.isEmpty() ? QStringLiteral("/dev/serial/by-id") : standIn;
}

QString LinkSingleAdapter(const QString& portsFolder, const QString& byIdFolder) {
    if (QFileInfo(portsFolder + "/COM1").exists() || QFileInfo(portsFolder + "/COM1").isSymLink())
        return {};
    const QStringList adapters =
        QDir(byIdFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (adapters.size() != 1)
        return {};
    const QString adapter = QDir(byIdFolder).filePath(adapters.first());
    return SerialDevices::LinkPort(portsFolder, 1, adapter).linked ? adapter : QString();
}

} // namespace FirstStartLink
