#include "SpoolFile.h"

#include "Folders.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

TSpoolFile::~TSpoolFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool TSpoolFile::Open() {
    if (fd_ >= 0)
        return true;
    Folders::Make(folder_);
    const QByteArray folder = QFile::encodeName(folder_);
    fd_ = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // A file system without unnamed files: a named one, removed at once.
        QByteArray name = folder + "/.kvt-spool-XXXXXX";
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd_ >= 0)
            ::unlink(name.constData());
    }
    return fd_ >= 0;
}

bool TSpoolFile::Append(const char* bytes, qsizetype count) {
    if (failed_ || !Open()) {
        failed_ = true;
        return false;
    }
    qsizetype done = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(fd_, bytes + done, size_t(count - done), size_ + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        done += n;
    }
    size_ += count;
    return true;
}

bool TSpoolFile::CopyTo(const std::function<void(const char*, qsizetype)>& sink) const {
    char block[1 << 16];
    for (qint64 at = 0; at < size_;) {
        const ssize_t n = ::pread(fd_, block, size_t(std::min<qint64>(sizeof block, size_ - at)), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sink(block, n);
        at += n;
    }
    return true;
}

void TSpoolFile::Clear() {
    if (fd_ >= 0) [[maybe_unused]]
        const int ignored = ::ftruncate(fd_, 0);
    size_ = 0;
}
