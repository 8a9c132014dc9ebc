#include "Pty.h"

#include <QElapsedTimer>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        return;
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0)
        return;
    slave_ = QString::fromLocal8Bit(name);
    keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(keeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keeper_, TCSANOW, &tio);
}

Pty::~Pty() {
    HangUp();
}

void Pty::Write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray Pty::Read(int count, int timeoutMs) {
    QByteArray bytes;
    QElapsedTimer timer;
    timer.start();
    while (bytes.size() < count && timer.elapsed() < timeoutMs) {
        pollfd fd{master_, POLLIN, 0};
        if (::poll(&fd, 1, int(timeoutMs - timer.elapsed())) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

void Pty::HangUp() {
    if (master_ >= 0)
        ::close(master_);
    if (keeper_ >= 0)
        ::close(keeper_);
    master_ = keeper_ = -1;
}
