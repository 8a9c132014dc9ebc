#include "DeviceWatch.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {

// `path` itself when it is an existing folder, else its nearest existing parent folder.
QString ExistingFolder(QString path) {
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
    return path;
}

void WatchOnly(QFileSystemWatcher& watcher, const QStringList& folders) {
    const QStringList now = watcher.directories();
    for (const QString& folder : now) {
        if (!folders.contains(folder))
            watcher.removePath(folder);
    }
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && !watcher.directories().contains(folder))
            watcher.addPath(folder);
    }
}

// How long a burst of changes of a device folder is let settle before it is looked at.
constexpr int settleMs = 250;

} // namespace

TDeviceWatch::TDeviceWatch(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TDeviceWatch::Check);
}

void TDeviceWatch::Watch(const QString& device) {
    device_ = device;
    Arm();
}

void TDeviceWatch::Stop() {
    device_.clear();
    WatchOnly(watcher_, {});
}

void TDeviceWatch::Arm() {
    QStringList folders;
    const QFileInfo info(device_);
    folders << ExistingFolder(info.absolutePath());
    // A link's target may be missing: its folder (or the nearest one there) tells when it comes.
    if (info.isSymLink())
        folders << ExistingFolder(QFileInfo(info.symLinkTarget()).absolutePath());
    folders.removeDuplicates();
    WatchOnly(watcher_, folders);
}

void TDeviceWatch::Check() {
    if (device_.isEmpty())
        return;
    if (!QFileInfo::exists(device_)) {
        Arm(); // a folder on the way may have appeared: watch nearer
        return;
    }
    const QString device = device_;
    Stop();
    emit Returned(device);
}

TDeviceFolderWatch::TDeviceFolderWatch(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (pending_)
            return;
        pending_ = true;
        QTimer::singleShot(settleMs, this, [this] {
            pending_ = false;
            Arm(); // a folder watched from its parent may be there now
            emit Changed();
        });
    });
}

void TDeviceFolderWatch::SetFolders(const QStringList& folders) {
    folders_ = folders;
    Arm();
}

void TDeviceFolderWatch::Arm() {
    QStringList existing;
    for (const QString& folder : folders_)
        existing << ExistingFolder(folder);
    existing.removeDuplicates();
    WatchOnly(watcher_, existing);
}
