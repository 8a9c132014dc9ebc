// kvtctl: the command-line companion of KVT_Program, for scripts and test rigs.
#include "CliOptions.h"
#include "CliRun.h"
#include "core/GuardedApplication.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
    // A closed standard output (kvtctl ... | head) is told by the write that fails, and ends the
    // call as a stop does, never by a signal that would kill it inside a recording.
    std::signal(SIGPIPE, SIG_IGN);
    TGuardedApplication<QCoreApplication> app(argc, argv);
    app.setApplicationName("kvtctl");
    const TCliOptions options = TCliOptions::Parse(QCoreApplication::arguments());
    if (options.version) {
        std::fputs(TCliOptions::VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.help) {
        std::fputs(TCliOptions::HelpText(options.command).toLocal8Bit().constData(), stdout);
        return 0;
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
