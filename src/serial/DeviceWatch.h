#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>

// Watches for a device to be there again (a USB adapter plugged back in) without polling: it
// watches the folders that name it (the folder of a link such as ports/COM1, and the nearest
// existing folder of what the link names, such as /dev/serial/by-id, which itself comes and
// goes) and checks the device at each change of them. The device counts as back once it was
// seen missing, or when its name or what it opens was made anew since it was lost (a node that
// outlives its hang-up is not taken for a return).
class TDeviceWatch : public QObject {
    Q_OBJECT
public:
    explicit TDeviceWatch(QObject* parent = nullptr);

    // Starts watching for `device` (a path, a link followed); a watch before ends.
    void Watch(const QString& device);
    void Stop();
    bool Watching() const { return !device_.isEmpty(); }

    // The folders watched now (for tests).
    QStringList Folders() const { return watcher_.directories(); }

    // What a name opened: the node and the name itself, with when each was made or changed.
    struct TNode {
        quint64 node = 0, fileSystem = 0;
        qint64 nodeChanged = 0;
        quint64 name = 0;
        qint64 nameChanged = 0;
        bool operator==(const TNode&) const = default;
    };

signals:
    // The device watched is there again; the watch has ended.
    void Returned(const QString& device);

private:
    void Check();
    void Arm();
    QFileSystemWatcher watcher_;
    QString device_;
    bool seenMissing_ = false;
    TNode lost_; // what the name opened when it was lost
};

// Watches folders of devices (/dev, /dev/serial/by-id) and says when what they hold changed,
// once for a burst of changes (a device plugged in makes several names appear one after
// another).
class TDeviceFolderWatch : public QObject {
    Q_OBJECT
public:
    explicit TDeviceFolderWatch(QObject* parent = nullptr);
    // The folders to watch; one that is missing is watched from its nearest existing parent.
    void SetFolders(const QStringList& folders);

signals:
    void Changed();

private:
    void Arm();
    QFileSystemWatcher watcher_;
    QStringList folders_;
    bool pending_ = false;
};
