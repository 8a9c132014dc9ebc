#include "FileHandOver.h"

#include "core/PrivatePlace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// What the running program answers once it has the file.
constexpr char kTaken[] = "taken\n";
// Longer paths do not fit a local socket's address.
constexpr int kMaxSocketPath = 100;

bool Fits(const QString& path) {
    return !path.isEmpty() && QFile::encodeName(path).size() <= kMaxSocketPath;
}

// A socket of this user's at `path` (not a link, not another user's).
bool OwnSocket(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISSOCK(status.st_mode) &&
           status.st_uid == ::getuid();
}
} // namespace

QString TFileHandOver::SocketName(const QString& programFolder) {
    const QString inFolder = QDir(programFolder).absoluteFilePath(".kvt-program.socket");
    if (Fits(inFolder))
        return inFolder;
    const QString place = PrivatePlace::Folder();
    if (place.isEmpty())
        return {};
    const QString inPlace =
        place + "/handover-" +
        QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(24);
    return Fits(inPlace) ? inPlace : QString();
}

TFileHandOver::TFileHandOver(const QString& programFolder, QObject* parent)
    : QObject(parent), name_(SocketName(programFolder)), server_(new QLocalServer(this)) {
    // Only this user reaches it.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(MaxClients);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            if (findChildren<QLocalSocket*>().size() > MaxClients) {
                client->abort(); // a flood of connections holds nothing
                continue;
            }
            client->setReadBufferSize(MaxMessage);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine()) {
                    if (client->bytesAvailable() >= MaxMessage)
                        client->abort(); // no line within the bound: no message
                    return;
                }
                const QString file = QString::fromUtf8(client->readLine(MaxMessage)).trimmed();
                client->write(kTaken);
                client->flush();
                client->disconnectFromServer();
                if (!file.isEmpty())
                    Hold(file);
            });
        }
    });
}

TFileHandOver::~TFileHandOver() {
    server_->close();
}

bool TFileHandOver::Listen() {
    if (name_.isEmpty())
        return false;
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void TFileHandOver::Hold(const QString& file) {
    waiting_.append(file);
    emit FileHanded(file);
    TakeNext();
}

void TFileHandOver::SetTaker(std::function<void(const QString&)> take, std::function<bool()> busy) {
    take_ = std::move(take);
    busy_ = std::move(busy);
    TakeNext();
}

void TFileHandOver::TakeNext() {
    // One at a time: a question the window asks about one runs its own loop, in which the next
    // may come; it waits for its turn.
    if (taking_ || waiting_.isEmpty() || !take_ || (busy_ && busy_()))
        return;
    taking_ = true;
    const QPointer<TFileHandOver> self(this);
    take_(waiting_.takeFirst());
    if (!self)
        return;
    taking_ = false;
    if (!waiting_.isEmpty())
        QTimer::singleShot(0, this, &TFileHandOver::TakeNext);
}

TFileHandOver::Handed TFileHandOver::HandTo(const QString& programFolder, const QString& file,
                                            int timeoutMs) {
    if (file.contains('\n') || file.contains('\r') || file.toUtf8().size() >= MaxMessage)
        return Handed::BadName;
    const QString name = SocketName(programFolder);
    // Never to a socket another user could have put in its place.
    if (!OwnSocket(name))
        return Handed::NoListener;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return Handed::NoListener;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return Handed::NoListener;
    // The answer comes at once; the running program loads the file when it can.
    return socket.waitForReadyRead(timeoutMs) && socket.readLine(64).startsWith("taken") ? Handed::Taken
                                                                                         : Handed::NoListener;
}
