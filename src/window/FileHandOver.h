#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;

// One window per program folder for files opened from the file manager: the program that holds
// the folder listens on a local socket (QLocalServer) as soon as it holds it, and a second start
// given a program file hands the file over and ends, instead of opening a second, read-only copy.
// The socket lies in the folder, or (a path too long for a socket name) in this user's private
// place, never in a shared folder; a second start hands over only to a socket of this user's.
//
// The files handed over wait in order until the window takes them, one at a time: while the
// window is not ready yet, asks a question about an earlier one, or sends a list, the next waits.
// A message is one line of at most MaxMessage bytes; at most MaxClients connections are held.
class TFileHandOver : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxMessage = 8192;
    static constexpr int MaxClients = 8;

    explicit TFileHandOver(const QString& programFolder, QObject* parent = nullptr);
    ~TFileHandOver() override;

    // The running program's side: listens (a socket a killed program left is replaced: the
    // caller holds the folder). False when it cannot.
    bool Listen();
    // Who takes the files (the window, once ready), and whether it is busy now; files waiting
    // are taken at once if it is not.
    void SetTaker(std::function<void(const QString&)> take, std::function<bool()> busy);
    // The taker may be free again (a sending ended): the next file waiting is taken.
    void TakeNext();
    const QStringList& Waiting() const { return waiting_; }

    // A second start's side.
    enum class Handed { Taken, NoListener, BadName };
    // Taken when the running program took `file` within `timeoutMs`; BadName for a name that
    // cannot travel in one line (a line break in it).
    static Handed HandTo(const QString& programFolder, const QString& file, int timeoutMs = 3000);
    // The socket's name for a folder: a file in it, or a file in this user's private place; empty
    // when neither fits a socket's name.
    static QString SocketName(const QString& programFolder);

signals:
    void FileHanded(const QString& file);

private:
    void Hold(const QString& file);

    QString name_;
    QLocalServer* server_;
    QStringList waiting_;
    std::function<void(const QString&)> take_;
    std::function<bool()> busy_;
    bool taking_ = false;
};
