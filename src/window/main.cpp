#include "QtDialogs.h"
#include "Startup.h"
#include "TerminationWatch.h"
#include "Unit1.h"
#include "core/Dialogs.h"
#include "startup/CommandLine.h"
#include "startup/ProgramLocation.h"

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

    QApplication app(argc, argv);
    app.setApplicationName("KVT_Program");
    app.setApplicationVersion(QStringLiteral(KVT_VERSION));
    // The desktop finds the menu entry, and its icon, for the window.
    QGuiApplication::setDesktopFileName("kvt-program");
    TQtDialogs dialogs;
    SetDialogs(&dialogs);
    TTerminationWatch termination;

    const QString appDir = QCoreApplication::applicationDirPath();
    const auto choice = ProgramLocation::Choose(ProgramLocation::Gather(line.folder, appDir));
    QString error;
    if (choice.ownFolder &&
        !ProgramLocation::Prepare(choice.folder, ProgramLocation::ShippedLanguages(appDir), &error)) {
        const QString text = TCommandLine::FolderUnusableText(choice.folder, error);
        Print(stderr, text + '\n');
        Dialogs().ShowMessage(text);
        SetDialogs(nullptr);
        return 1;
    }

    // A request to end closes every window, the message boxes of the start included, and the
    // main window as its close button does.
    bool endRequested = false;
    QObject::connect(&termination, &TTerminationWatch::Requested, [&endRequested] {
        endRequested = true;
        QApplication::closeAllWindows();
    });
    const auto program = StartProgram(choice.folder, line.port);
    int result = 0;
    if (endRequested)
        program->Form1->close();
    else {
        program->Form1->show();
        result = app.exec();
    }
    SetDialogs(nullptr);
    return result;
}
