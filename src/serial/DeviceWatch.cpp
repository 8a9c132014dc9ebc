#include "DeviceWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <optional>

#include <sys/stat.h>

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

// What `path` names: the node it opens (a link followed) and the name itself, each with the time
// it was made or last changed, so that a node or link made anew counts as another even where
// its number is reused; nothing when the node is not there.
std::optional<TDeviceWatch::TNode> NodeOf(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat node {
    }, link{};
    if (::stat(name.constData(), &node) != 0 || ::lstat(name.constData(), &link) != 0)
        return std::nullopt;
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return TDeviceWatch::TNode{quint64(node.st_ino), quint64(node.st_dev), ns(node.st_ctim),
                               quint64(link.st_ino), ns(link.st_ctim)};
}

// How long a burst of changes of a device folder is let settle before it is looked at.
constexpr int settleMs = 250;

} // namespace

TDeviceWatch::TDeviceWatch(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TDeviceWatch::Check);
}

void TDeviceWatch::Watch(const QString& device) {
    device_ = device;
    const auto node = NodeOf(device);
    seenMissing_ = !node;
    lost_ = node.value_or(TNode{});
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
    const auto node = NodeOf(device_);
    if (!node)
        seenMissing_ = true;
    const bool back = node && (seenMissing_ || !(*node == lost_));
    if (!back) {
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
