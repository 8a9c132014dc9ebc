#include "ProgramFolder.h"

#include "core/ProgramPaths.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef KVT_SOURCE_DIR
#error "KVT_SOURCE_DIR must name the source tree"
#endif

QString ShippedLanguageFolder() {
    return QStringLiteral(KVT_SOURCE_DIR) + "/lang";
}

ProgramFolder::ProgramFolder(Languages languages) {
    QDir root(dir_.path());
    for (const char* sub : {"Data", "Log", "Users", "ports", "lang"})
        root.mkpath(sub);
    // The settings files of a fresh installation, as the build lays them out.
    TSettingsFiles::WriteMissingDefaults(TProgramPaths(dir_.path()));
    if (languages == WithShippedLanguages) {
        const QString source = ShippedLanguageFolder();
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString relative = QDir(source).relativeFilePath(file);
            root.mkpath(QFileInfo("lang/" + relative).path());
            QFile::copy(file, root.filePath("lang/" + relative));
        }
    }
}

void ProgramFolder::Write(const QString& relative, const QByteArray& bytes) const {
    QDir(dir_.path()).mkpath(QFileInfo(relative).path());
    QFile file(File(relative));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void ProgramFolder::Remove(const QString& relative) const {
    QFile::remove(File(relative));
}

void ProgramFolder::LinkPort(int number, const QString& device) const {
    const QString link = File("ports/COM" + QString::number(number));
    QFile::remove(link);
    QFile::link(device, link);
}
