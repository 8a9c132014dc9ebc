#include "Startup.h"

#include "FolderClaim.h"
#include "QtDialogs.h"
#include "Unit1.h"
#include "UnitLang.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/Session.h"
#include "session/SessionLogs.h"
#include "session/controller/Controller.h"
#include "session/controller/Sending.h"
#include "settings/LogFiles.h"
#include "startup/CommandLine.h"
#include "startup/CrashReport.h"
#include "startup/FirstStartLink.h"
#include "startup/ProgramLocation.h"
#include "startup/TerminationWatch.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

TProgram::~TProgram() {
    FormLang.reset();
    Form1.reset();
}

std::unique_ptr<TProgram> StartProgram(const QString& programFolder, quint32 portForThisStart,
                                       const QString& deviceForThisStart) {
    auto program = std::make_unique<TProgram>();
    program->Form1 = std::make_unique<TForm1>(programFolder, portForThisStart, deviceForThisStart);
    // Made hidden and kept until the end: it reports missing dialog texts at once.
    program->FormLang = std::make_unique<TFormLang>(program->Form1->Session().Options());
    program->FormLang->setAttribute(Qt::WA_DeleteOnClose, false);
    return program;
}

int RunProgram(const TCommandLine& line, const QString& appDir, TTerminationWatch& watch) {
    TQtDialogs dialogs;
    SetDialogs(&dialogs);
    struct TRestore {
        ~TRestore() { SetDialogs(nullptr); }
    } restore;
    // A request to end answers every box (those of the start included) and closes every window,
    // the main window as its close button does. Connected before the first box can open.
    bool endRequested = false;
    const QMetaObject::Connection ending = QObject::connect(&watch, &TTerminationWatch::Requested, [&] {
        endRequested = true;
        dialogs.Terminate();
        QApplication::closeAllWindows();
    });
    struct TDisconnect {
        QMetaObject::Connection connection;
        ~TDisconnect() { QObject::disconnect(connection); }
    } disconnect{ending};

    const auto choice = ProgramLocation::Choose(ProgramLocation::Gather(line.folder, appDir));
    // The very first start of the folder: its settings are not there yet.
    const bool firstStart = !QFileInfo::exists(choice.folder + "/Data");
    // An end by a crash writes what the program was doing to its log folder.
    CrashReport::Install(TProgramPaths(choice.folder).LogFolder());
    // One program per folder, claimed before anything else is done in it: a second start (a file
    // opened from the file manager while this one starts) finds it held and hands its file over.
    TFolderClaim claim(choice.folder);
    const bool held = (!choice.ownFolder || Folders::Make(choice.folder)) && claim.Claim();
    QString error;
    if (choice.ownFolder &&
        !ProgramLocation::Prepare(choice.folder, ProgramLocation::ShippedLanguages(appDir), &error)) {
        const QString text = TCommandLine::FolderUnusableText(choice.folder, error);
        std::fputs((text + '\n').toLocal8Bit().constData(), stderr);
        Dialogs().ShowError(text);
        return 1;
    }
    // A second program on the folder may run without saving anything of it, or not at all.
    bool readOnly = false;
    if (!held) {
        // A file opened from the file manager goes to the window that has the folder.
        const TFileHandOver::Handed handed =
            line.file.isEmpty()
                ? TFileHandOver::Handed::NoListener
                : TFileHandOver::HandTo(choice.folder, QFileInfo(line.file).absoluteFilePath());
        if (handed != TFileHandOver::Handed::NoListener) {
            const bool taken = handed == TFileHandOver::Handed::Taken;
            const QString said =
                FolderLanguageText(choice.folder, taken ? Ext::FileHandedOver : Ext::HandOverBadName)
                    .arg(line.file.left(200));
            std::fputs((said + '\n').toLocal8Bit().constData(), taken ? stdout : stderr);
            return taken ? 0 : 2;
        }
        const QString text = FolderLanguageText(choice.folder, Ext::FolderInUse)
                                 .arg(choice.folder)
                                 .arg(claim.Lock().HolderPid())
                                 .arg(claim.Lock().HolderHost());
        std::fputs((text + '\n').toLocal8Bit().constData(), stderr);
        if (endRequested || !Dialogs().Confirm(text, false))
            return 1;
        readOnly = true;
    }
    if (endRequested)
        return 0;
    // Files handed over wait until the window is ready: a file opened while it is being made is
    // no reason for a second, read-only window.
    TFileHandOver& handOver = claim.HandOver();
    // What a save killed in its middle left behind is the program's own to remove, once the
    // folder is its alone.
    if (!readOnly)
        LogFiles::RemoveLeftovers(TProgramPaths(choice.folder));

    // A controller plugged in before the first start is found, when it is the only one.
    const QString adapter =
        firstStart && !readOnly
            ? FirstStartLink::LinkSingleAdapter(TProgramPaths(choice.folder).PortsFolder(),
                                                FirstStartLink::ByIdFolder())
            : QString();
    const auto program = StartProgram(choice.folder, line.port, line.device);
    TSession& session = program->Form1->Session();
    if (!adapter.isEmpty())
        session.Logs().Log(session.Lang().ExtraText(Ext::FirstStartLink).arg(adapter));
    if (const auto crashed = readOnly ? std::nullopt : CrashReport::TakeLast(session.Paths.LogFolder())) {
        session.Logs().Log(session.Lang()
                               .ExtraText(Ext::CrashedLastTime)
                               .arg(QLocale().toString(crashed->written, QLocale::ShortFormat),
                                    crashed->cause, crashed->file),
                           true);
    }
    session.SetReadOnly(readOnly);
    program->Form1->ShowFolderName(ProgramLocation::NameToShow(ProgramLocation::Gather(line.folder, appDir)));
    if (endRequested) {
        program->Form1->close();
        return 0;
    }
    program->Form1->show();
    if (!line.file.isEmpty())
        program->Form1->LoadAtStart(QFileInfo(line.file).absoluteFilePath());
    // One at a time, and never while a list is being sent: the list shown is the one sent.
    TForm1* form = program->Form1.get();
    TSending& sending = session.Controller().Sending();
    QObject::connect(&sending, &TSending::Ended, &handOver, &TFileHandOver::TakeNext);
    handOver.SetTaker(
        [form](const QString& file) {
            form->raise();
            form->activateWindow();
            form->LoadAtStart(file);
        },
        [&sending] { return sending.IsSending(); });
    return QApplication::exec();
}
