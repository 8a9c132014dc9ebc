#include "FirstStartLink.h"

#include "serial/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace FirstStartLink {

QString ByIdFolder() {
    const QString standIn = qEnvironmentVariable("KVT_SERIAL_BY_ID");
    return standIn.isEmpty() ? QStringLiteral("/dev/serial/by-id") : standIn;
}

QString LinkSingleAdapter(const QString& portsFolder, const QString& byIdFolder) {
    if (QFileInfo(portsFolder + "/COM1").exists() || QFileInfo(portsFolder + "/COM1").isSymLink())
        return {};
    // Only a terminal device counts (a character device, through its link): a pipe, a file or
    // a folder that happens to lie there is no adapter.
    QStringList adapters;
    for (const QString& name :
         QDir(byIdFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = QDir(byIdFolder).filePath(name);
        struct stat status {};
        if (::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode))
            adapters << path;
    }
    if (adapters.size() != 1)
        return {};
    const QString adapter = adapters.first();
    return SerialDevices::LinkPort(portsFolder, 1, adapter).linked ? adapter : QString();
}

} // namespace FirstStartLink
