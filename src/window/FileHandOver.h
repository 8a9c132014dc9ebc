#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One window per program folder for files opened from the file manager: the program that holds
// the folder listens on a local socket in it (QLocalServer), and a second start given a program
// file hands the file over and ends, instead of opening a second, read-only copy. The running
// program loads the file as "Load from file" does, asking first about unsaved work.
class TFileHandOver : public QObject {
    Q_OBJECT
public:
    explicit TFileHandOver(const QString& programFolder, QObject* parent = nullptr);
    ~TFileHandOver() override;

    // The running program's side: listens (a socket a killed program left is replaced: the
    // caller holds the folder). False when it cannot.
    bool Listen();
    // A second start's side: true when the running program took `file` within `timeoutMs`.
    static bool HandTo(const QString& programFolder, const QString& file, int timeoutMs = 3000);
    // The socket's name for a folder: a file in it, or (a path too long for a socket) a name
    // made from the folder's path.
    static QString SocketName(const QString& programFolder);

signals:
    void FileHanded(const QString& file);

private:
    QString name_;
    QLocalServer* server_;
};
