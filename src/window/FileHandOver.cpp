#include "FileHandOver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// What the running program answers once it has taken the file.
constexpr char kTaken[] = "taken\n";
// Longer paths do not fit a local socket's address.
constexpr int kMaxSocketPath = 100;
} // namespace

QString TFileHandOver::SocketName(const QString& programFolder) {
    const QString path = QDir(programFolder).absoluteFilePath(".kvt-program.socket");
    if (path.toLocal8Bit().size() <= kMaxSocketPath)
        return path;
    return "kvt-program-" +
           QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
               .toHex();
}

TFileHandOver::TFileHandOver(const QString& programFolder, QObject* parent)
    : QObject(parent), name_(SocketName(programFolder)), server_(new QLocalServer(this)) {
    // Only this user reaches it.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine())
                    return;
                const QString file = QString::fromUtf8(client->readLine(8192)).trimmed();
                client->write(kTaken);
                client->flush();
                client->disconnectFromServer();
                if (!file.isEmpty())
                    emit FileHanded(file);
            });
        }
    });
}

TFileHandOver::~TFileHandOver() {
    server_->close();
}

bool TFileHandOver::Listen() {
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

bool TFileHandOver::HandTo(const QString& programFolder, const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(SocketName(programFolder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The answer comes once the file is taken; the running program may be asking about unsaved
    // work meanwhile, which is no reason to open a second window.
    return socket.waitForReadyRead(timeoutMs) && socket.readLine(64).startsWith("taken");
}
