#include "Folders.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace Folders {

bool Make(const QString& path, int* error) {
    const QByteArray bytes = QFile::encodeName(path);
    // Each folder from the top down: those there already stay as they are.
    for (qsizetype slash = bytes.indexOf('/', 1);; slash = bytes.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? bytes : bytes.left(slash);
        if (!part.isEmpty() && ::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = errno;
            return false;
        }
        if (slash < 0)
            break;
    }
    struct stat status {};
    if (::stat(bytes.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        if (error)
            *error = ENOTDIR;
        return false;
    }
    return true;
}

} // namespace Folders
