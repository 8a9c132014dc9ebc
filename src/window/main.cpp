#include "Startup.h"
#include "core/GuardedApplication.h"
#include "startup/CommandLine.h"
#include "startup/TerminationWatch.h"
#include "widgets/ProgramIcon.h"

#include <QApplication>

#include <cstdio>

namespace {
void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}
} // namespace

int main(int argc, char* argv[]) {
    // The command line is read before the window system is reached: --help, --version and a
    // refusal need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine line = TCommandLine::Parse(arguments);
    switch (line.action) {
    case TCommandLine::Action::Help:
        Print(stdout, TCommandLine::HelpText(arguments.first()));
        return 0;
    case TCommandLine::Action::Version:
        Print(stdout, TCommandLine::VersionText());
        return 0;
    case TCommandLine::Action::Error:
        Print(stderr, line.ErrorText(arguments.first()));
        return 2;
    case TCommandLine::Action::Run:
        break;
    }

    TGuardedApplication<QApplication> app(argc, argv);
    app.setApplicationName("KVT_Program");
    app.setApplicationVersion(QStringLiteral(KVT_VERSION));
    // The desktop finds the menu entry, and its icon, for the window.
    QGuiApplication::setDesktopFileName("kvt-program");
    // Every window of the program shows its icon (a window manager of X11 reads it from there).
    QApplication::setWindowIcon(ProgramIcon());
    TTerminationWatch termination;
    try {
        return RunProgram(line, QCoreApplication::applicationDirPath(), termination);
    } catch (const std::exception& error) {
        // Whatever went wrong at the start is said, never an abort.
        Print(stderr, QString::fromLocal8Bit(error.what()) + '\n');
        return 1;
    }
}
