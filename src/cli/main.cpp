// kvtctl: the command-line companion of KVT_Program, for scripts and test rigs.
#include "CliOptions.h"
#include "CliRun.h"
#include "core/GuardedApplication.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {
// A descriptor the program was started without: /dev/null takes its number, so that no file
// opened later is taken for it; true when it was closed.
bool Closed(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
        return false;
    const int held = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (held >= 0 && held != fd) {
        ::dup2(held, fd);
        ::close(held);
    }
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    const bool inputClosed = Closed(STDIN_FILENO), outputClosed = Closed(STDOUT_FILENO);
    // A closed standard output (kvtctl ... | head) is told by the write that fails, and ends the
    // call as a stop does, never by a signal that would kill it inside a recording.
    std::signal(SIGPIPE, SIG_IGN);
    TGuardedApplication<QCoreApplication> app(argc, argv);
    app.setApplicationName("kvtctl");
    TCliOptions options = TCliOptions::Parse(QCoreApplication::arguments());
    options.inputClosed = inputClosed;
    options.outputClosed = outputClosed;
    if (options.version || options.help) {
        const QString text =
            options.version ? TCliOptions::VersionText() : TCliOptions::HelpText(options.command);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        // Not written (a full disk, a closed output): no success.
        return std::fflush(stdout) == 0 && !std::ferror(stdout) && !outputClosed ? 0 : TCliRun::FileFailed;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "kvtctl: %s\nTry \"kvtctl --help\" for the commands and options.\n",
                     options.error.toLocal8Bit().constData());
        return TCliRun::BadArgument;
    }
    try {
        TCliRun run(options);
        return run.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvtctl: %s\n", error.what());
        return TCliRun::Refused;
    }
}
