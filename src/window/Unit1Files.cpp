// The main window's program files: "Save to file" and "Load from file".
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/Session.h"
#include "widgets/LogView.h"

#include <QFileInfo>

void TForm1::mmFileSaveClick() {
    const TSession& session = Session();
    for (;;) {
        const QString folder = session.Paths.UsersFolder();
        const QString fileName = Dialogs().SaveFileName(folder, ProgramFiles::FreeDefaultName(folder));
        if (fileName.isEmpty())
            return;
        if (!ProgramFiles::HasProgramExtension(fileName)) {
            Dialogs().ShowMessage(session.Lang().Message(Msg::FileNameIncorrect));
            continue;
        }
        const TCommandList& list = session.CommandList();
        try {
            ProgramFiles::Save(fileName, {list.Lines(), list.Descriptions()});
        } catch (const EFileError& error) {
            ReportError(error);
        }
        return;
    }
}

void TForm1::mmFileOpenClick() {
    const TSession& session = Session();
    const TLang& lang = session.Lang();
    QString fileName;
    for (;;) {
        fileName = Dialogs().OpenFileName(session.Paths.UsersFolder(), "*.kvt");
        if (fileName.isEmpty())
            return;
        if (ProgramFiles::HasProgramExtension(fileName))
            break;
        Dialogs().ShowMessage(lang.Message(Msg::FileNameIncorrect));
    }
    const QString companion = ProgramFiles::CompanionName(fileName);
    if (!QFileInfo::exists(companion)) {
        Dialogs().ShowMessage(lang.Message(Msg::FilePrefix) + companion +
                              lang.Message(Msg::NotFoundOrDamaged));
        return;
    }
    // Both files are read before anything changes: a file that cannot be read leaves the list.
    ProgramFiles::TProgram program;
    try {
        program = ProgramFiles::Load(fileName, lang);
    } catch (const EFileError& error) {
        ReportError(error);
        return;
    }

    TCommandList& list = session.CommandList();
    list.SetProgram(program.lines, program.descriptions);
    // From the first faulty line on, every line adds the warning once.
    const int faulty = list.FirstFaultyLine();
    SetListFaulty(faulty >= 0);
    if (faulty >= 0)
        MemoLog->AddLines(QStringList(list.Count() - faulty, lang.Message(Msg::WrongCommandInList)), true);
}
