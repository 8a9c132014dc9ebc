#include "CrashReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <csignal>
#include <cstring>
#include <exception>

#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

namespace CrashReport {

namespace {

// Made before any crash: a handler may not allocate.
std::array<char, 4096> gPath{};
std::array<char, 64 * 1024> gAltStack{};
constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

void Put(int fd, const char* text) {
    [[maybe_unused]] const ssize_t n = ::write(fd, text, std::strlen(text));
}

void PutNumber(int fd, long value) {
    char digits[24];
    int i = sizeof digits;
    digits[--i] = '\0';
    const bool negative = value < 0;
    unsigned long v = negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        digits[--i] = char('0' + v % 10);
        v /= 10;
    } while (v != 0 && i > 1);
    if (negative)
        digits[--i] = '-';
    Put(fd, digits + i);
}

// Opens the file, writes the cause line and the stack, closes it. Async-signal-safe.
void Write(const char* cause, const char* detail) {
    const int fd = ::open(gPath.data(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    Put(fd, cause);
    if (detail && *detail) {
        Put(fd, ": ");
        Put(fd, detail);
    }
    Put(fd, "\nprocess ");
    PutNumber(fd, long(::getpid()));
    Put(fd, ", at ");
    PutNumber(fd, long(::time(nullptr)));
    Put(fd, " s since 1970\n\n");
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, count, fd);
    ::close(fd);
}

void OnSignal(int signal) {
    Write("fatal signal", ::sigabbrev_np(signal));
    // As the signal would have ended it (SA_RESETHAND has put the default back).
    ::raise(signal);
}

void OnTerminate() {
    const char* what = "an exception nothing caught";
    try {
        if (const std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
    }
    Write("uncaught exception", what);
    std::signal(SIGABRT, SIG_DFL); // its abort ends it; the file says why already
    std::abort();
}

} // namespace

void Install(const QString& logFolder) {
    const QByteArray path = QFile::encodeName(QDir(logFolder).filePath("crash.txt"));
    if (path.size() >= qsizetype(gPath.size()))
        return;
    std::memcpy(gPath.data(), path.constData(), size_t(path.size()) + 1);
    // The first call of backtrace may load what it needs: done now, not inside a handler.
    void* frame;
    ::backtrace(&frame, 1);
    // A stack overflow leaves no stack for the handler: it runs on a stack of its own.
    stack_t alternate{};
    alternate.ss_sp = gAltStack.data();
    alternate.ss_size = gAltStack.size();
    ::sigaltstack(&alternate, nullptr);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
    std::set_terminate(OnTerminate);
}

std::optional<TLast> TakeLast(const QString& logFolder) {
    const QString file = QDir(logFolder).filePath("crash.txt");
    const QFileInfo info(file);
    if (!info.isFile() || info.isSymLink())
        return std::nullopt;
    TLast last;
    last.written = info.lastModified();
    QFile in(file);
    if (in.open(QIODevice::ReadOnly))
        last.cause = QString::fromLocal8Bit(in.readLine(512)).trimmed();
    in.close();
    // Kept under its own time, so that it is said once and a later crash does not replace it.
    last.file = QDir(logFolder).filePath("crash-" + last.written.toString("yyyy-MM-dd_HH-mm-ss") + ".txt");
    if (!QFile::rename(file, last.file))
        last.file = file;
    return last;
}

} // namespace CrashReport
