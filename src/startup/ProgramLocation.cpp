#include "ProgramLocation.h"

#include "core/AppError.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

namespace ProgramLocation {

TChoice Choose(const TFacts& facts) {
    if (!facts.explicitFolder.isEmpty())
        return {QDir::cleanPath(QDir(facts.explicitFolder).absolutePath()), true};
    if (facts.appDirWritable && facts.appDirHasLanguages)
        return {facts.appDir, false};
    return {QDir::cleanPath(facts.userDataDir + "/KVT_Program"), true};
}

QString NameToShow(const TFacts& facts) {
    TFacts byItself = facts;
    byItself.explicitFolder.clear();
    const QString chosen = Choose(facts).folder, own = Choose(byItself).folder;
    // The same folder under another name (a link, a relative path) is no other folder.
    const bool same = chosen == own || (QFileInfo::exists(chosen) && QFileInfo(chosen).canonicalFilePath() ==
                                                                         QFileInfo(own).canonicalFilePath());
    return same ? QString() : QDir(chosen).dirName();
}

TFacts Gather(const QString& explicitFolder, const QString& appDir) {
    TFacts facts;
    facts.explicitFolder = explicitFolder;
    facts.appDir = appDir;
    facts.appDirWritable = QFileInfo(appDir).isWritable();
    facts.appDirHasLanguages = QFileInfo(appDir + "/lang").isDir();
    facts.userDataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return facts;
}

QString ShippedLanguages(const QString& appDir) {
    for (const QString& candidate : {appDir + "/../share/kvt-program/lang", appDir + "/lang"}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return {};
}

namespace {

bool MakeFolder(const QString& path, QString* error) {
    int code = 0;
    if (Folders::Make(path, &code))
        return true;
    *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

// Whether a file can be made in `folder`: the one sure test, also for root and on a read-only
// file system.
bool CanWrite(const QString& folder, QString* error) {
    QTemporaryFile probe(folder + "/.kvt-probe-XXXXXX");
    if (probe.open())
        return true;
    *error = probe.errorString();
    return false;
}

void CopyMissingLanguages(const QString& from, const QString& to) {
    if (from.isEmpty())
        return;
    const QDir source(from);
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + '/' + source.relativeFilePath(file);
        if (QFileInfo::exists(target))
            continue;
        Folders::Make(QFileInfo(target).path());
        // A copy is writable by its operator, whatever the shipped file's mode.
        if (QFile::copy(file, target))
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
}

} // namespace

bool Prepare(const QString& folder, const QString& languages, QString* error) {
    if (!MakeFolder(folder, error) || !CanWrite(folder, error))
        return false;
    const TProgramPaths paths(folder);
    const bool firstStart = !QFileInfo(paths.DataFolder()).isDir();
    for (const QString& sub : {paths.DataFolder(), paths.LogFolder(), paths.UsersFolder(),
                               paths.PortsFolder(), paths.LangFolder()}) {
        if (!MakeFolder(sub, error))
            return false;
    }
    if (firstStart) {
        try {
            TSettingsFiles::WriteMissingDefaults(paths);
        } catch (const EFileError& e) {
            *error = e.Text();
            return false;
        }
    }
    CopyMissingLanguages(languages, paths.LangFolder());
    return true;
}

} // namespace ProgramLocation
