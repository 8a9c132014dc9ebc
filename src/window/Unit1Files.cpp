// The main window's program files: "Save to file" and "Load from file".
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/Session.h"

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
            ProgramFiles::Save(fileName, {list.Lines(), list.Descriptions()}, session.Lang());
        } catch (const EFileError& error) {
            ReportError(error);
        }
        return;
    }
}

void TForm1::mmFileOpenClick() {
    const TLang& lang = Session().Lang();
    QString fileName;
    for (;;) {
        fileName = Dialogs().OpenFileName(Session().Paths.UsersFolder(), "*.kvt");
        if (fileName.isEmpty())
            return;
        if (ProgramFiles::HasProgramExtension(fileName))
            break;
        Dialogs().ShowMessage(lang.Message(Msg::FileNameIncorrect));
    }
    const QString companion = ProgramFiles::CompanionName(fileName);
    if (!ProgramFiles::CompanionExists(fileName)) {
        Dialogs().ShowMessage(lang.Message(Msg::FilePrefix) + companion +
                              lang.Message(Msg::NotFoundOrDamaged));
        return;
    }
    // Both files are read before anything changes: a file that cannot be read leaves the list,
    // and so does a damaged one unless the operator wants it all the same.
    ProgramFiles::TLoaded loaded;
    try {
        loaded = ProgramFiles::Load(fileName, lang);
    } catch (const EFileError& error) {
        ReportError(error);
        return;
    }
    if (!loaded.damage.isEmpty() &&
        !Dialogs().Confirm(lang.ExtraText(Ext::LoadDamaged).arg(loaded.damage.join(' '))))
        return;
    Session().SetProgram(loaded.program.lines, loaded.program.descriptions);
}
