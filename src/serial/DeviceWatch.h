#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>

// Watches for a device to be there again (a USB adapter plugged back in) without polling: it
// watches the folders that name it (the folder of a link such as ports/COM1, and the nearest
// existing folder of what the link names, such as /dev/serial/by-id, which itself comes and
// goes) and checks the device at each change of them.
class TDeviceWatch : public QObject {
    Q_OBJECT
public:
    explicit TDeviceWatch(QObject* parent = nullptr);

    // Starts watching for `device` (a path, a link followed); a watch before ends.
    void Watch(const QString& device);
    void Stop();
    const QString& Device() const { return device_; }
    bool Watching() const { return !device_.isEmpty(); }

    // The folders watched now (for tests).
    QStringList Folders() const { return watcher_.directories(); }

signals:
    // The device watched is there again; the watch has ended.
    void Returned(const QString& device);

private:
    void Check();
    void Arm();
    QFileSystemWatcher watcher_;
    QString device_;
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
