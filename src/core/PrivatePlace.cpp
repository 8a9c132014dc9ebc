#include "PrivatePlace.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivatePlace {

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// The user's home: $HOME, or the password database's (a service may run without HOME).
QString Home() {
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

// `folder`, made for this user alone when it is missing (its parent must exist).
bool MakePrivate(const QString& folder) {
    if (::mkdir(Native(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(folder);
}

} // namespace

bool IsPrivateFolder(const QString& folder) {
    struct stat status {};
    if (folder.isEmpty() || ::lstat(Native(folder).constData(), &status) != 0)
        return false;
    return S_ISDIR(status.st_mode) && status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

QString Folder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        return runtime;
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !cache.startsWith('/')) {
        const QString home = Home();
        if (home.isEmpty())
            return {};
        cache = home + "/.cache";
    }
    ::mkdir(Native(cache).constData(), 0700); // as any program of the user's would make it
    const QString folder = cache + "/kvt-program";
    return MakePrivate(folder) ? folder : QString();
}

std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid() &&
        (status.st_mode & 077) == 0) {
        QByteArray read(qsizetype(std::min<qint64>(maxBytes, status.st_size)), '\0');
        const ssize_t n = ::read(fd, read.data(), size_t(read.size()));
        if (n >= 0) {
            read.truncate(qsizetype(n));
            bytes = read;
        }
    }
    ::close(fd);
    return bytes;
}

bool WriteOwnFile(const QString& path, const QByteArray& bytes) {
    QByteArray temporary = Native(path) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC); // a new file, 0600, never an old one
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    ::close(fd);
    if (written && ::rename(temporary.constData(), Native(path).constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

} // namespace PrivatePlace
