// The main window's program files: "Save to file", "Save as...", "Load from file", the recent
// files, plain text import and export; the program's file and unsaved changes in the title, and
// the question before unsaved changes would be lost.
#include "ListHistory.h"
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/ShownText.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/PlainTextProgram.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/Session.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
// How many refused lines an import names; the rest are counted.
constexpr int shownRefusals = 10;
} // namespace

void TForm1::ConnectFileHandlers() {
    connect(mmFileSave, &QAction::triggered, this, &TForm1::mmFileSaveClick);
    connect(mmFileSaveProgram, &QAction::triggered, this, &TForm1::mmFileSaveProgramClick);
    connect(mmFileSaveAs, &QAction::triggered, this, &TForm1::mmFileSaveAsClick);
    connect(mmFileOpen, &QAction::triggered, this, &TForm1::mmFileOpenClick);
    connect(mmFileImport, &QAction::triggered, this, &TForm1::mmFileImportClick);
    connect(mmFileExport, &QAction::triggered, this, &TForm1::mmFileExportClick);
    // Any change of the list may change the title's mark.
    const TCommandList* list = &Session().CommandList();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(list, signal, this, &TForm1::UpdateTitle);
    connect(list, &QAbstractItemModel::rowsMoved, this, &TForm1::UpdateTitle);
    connect(list, &QAbstractItemModel::modelReset, this, &TForm1::UpdateTitle);
    connect(list, &QAbstractItemModel::dataChanged, this, &TForm1::UpdateTitle);
    UpdateRecentMenu();
}

TProgramDocument::TText TForm1::ListText() const {
    const TCommandList& list = Session().CommandList();
    return {list.Lines(), list.Descriptions()};
}

bool TForm1::ProgramModified() const {
    return document_.Unsaved(ListText());
}

void TForm1::OperatorChangedList() {
    document_.OperatorChanged(ListText());
    UpdateTitle();
}

void TForm1::ProgramReplacesList() {
    document_.ProgramReplaces(ListText());
}

void TForm1::UpdateTitle() {
    const bool modified = ProgramModified();
    QString title = title_;
    if (!document_.File().isEmpty() || modified) {
        const QString name =
            document_.File().isEmpty() ? Session().Lang().ExtraText(Ext::Untitled) : document_.ShownName();
        title += " - " + name + (modified ? " *" : "");
    }
    if (windowTitle() != title)
        setWindowTitle(title);
}

bool TForm1::MayDiscardProgram() {
    if (!ProgramModified())
        return true;
    // Cancel is the box's default: Return, Space or Esc never write a file.
    switch (Dialogs().AskSave(Session().Lang().ExtraText(Ext::AskSaveChanges))) {
    case IDialogs::SaveChoice::Discard:
        return true;
    case IDialogs::SaveChoice::Cancel:
        return false;
    case IDialogs::SaveChoice::Save:
        break;
    }
    // The operator's work: its own file when the list is tied to one, else a name the operator
    // confirms (never the file the list once came from, unasked).
    const TProgramDocument::TText work = document_.Work(ListText());
    const QString file = document_.File();
    if (!file.isEmpty() && QFileInfo(file).absoluteDir().exists())
        return SaveProgramTo(file, work);
    return SaveProgramWithDialog(ProgramFiles::FreeDefaultName(Session().FileDialogFolder()), work);
}

bool TForm1::SaveProgramTo(const QString& fileName, const TProgramDocument::TText& text) {
    try {
        ProgramFiles::Save(fileName, {text.lines, text.descriptions}, Session().Lang());
    } catch (const EFileError& error) {
        ReportError(error);
        return false;
    }
    document_.SetSaved(fileName, text);
    Session().NoteFileUsed(fileName, true);
    UpdateRecentMenu();
    UpdateTitle();
    return true;
}

bool TForm1::SaveProgramWithDialog(const QString& proposed, const TProgramDocument::TText& text) {
    for (;;) {
        const QString fileName = Dialogs().SaveFileName(Session().FileDialogFolder(), proposed);
        if (fileName.isEmpty())
            return false;
        if (ProgramFiles::HasProgramExtension(fileName))
            return SaveProgramTo(fileName, text);
        Dialogs().ShowMessage(Session().Lang().Message(Msg::FileNameIncorrect));
    }
}

void TForm1::mmFileSaveClick() {
    SaveProgramWithDialog(ProgramFiles::FreeDefaultName(Session().FileDialogFolder()), ListText());
}

void TForm1::mmFileSaveProgramClick() {
    // The list's own file when it has one; else as "Save as...".
    const QString file = document_.File();
    if (!file.isEmpty() && QFileInfo(file).absoluteDir().exists())
        SaveProgramTo(file, ListText());
    else
        mmFileSaveAsClick();
}

void TForm1::mmFileSaveAsClick() {
    const QString own = document_.ShownName();
    SaveProgramWithDialog(own.isEmpty() ? ProgramFiles::FreeDefaultName(Session().FileDialogFolder()) : own,
                          ListText());
}

void TForm1::mmFileOpenClick() {
    if (!MayDiscardProgram())
        return;
    const TLang& lang = Session().Lang();
    QString fileName;
    for (;;) {
        fileName = Dialogs().OpenFileName(Session().FileDialogFolder(), "*.kvt");
        if (fileName.isEmpty())
            return;
        if (ProgramFiles::HasProgramExtension(fileName))
            break;
        Dialogs().ShowMessage(lang.Message(Msg::FileNameIncorrect));
    }
    LoadProgram(fileName);
}

void TForm1::LoadAtStart(const QString& fileName) {
    if (!ProgramFiles::HasProgramExtension(fileName)) {
        Dialogs().ShowMessage(Session().Lang().Message(Msg::FileNameIncorrect));
        return;
    }
    if (Session().Settings().ControlMode != TSettings::ExtendedMode)
        rgrSingl_Mult->Click(TSettings::ExtendedMode);
    LoadProgram(fileName);
}

void TForm1::OpenRecentFile(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) {
        Dialogs().ShowMessage(Session().Lang().ExtraText(Ext::RecentFileMissing).arg(fileName));
        Session().ForgetRecentFile(fileName);
        UpdateRecentMenu();
        return;
    }
    if (MayDiscardProgram())
        LoadProgram(fileName);
}

void TForm1::LoadProgram(const QString& fileName) {
    const TLang& lang = Session().Lang();
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
    history_->Record([&] { Session().SetProgram(loaded.program.lines, loaded.program.descriptions); });
    document_.OperatorChanged(ListText());
    document_.SetSaved(fileName, ListText());
    Session().NoteFileUsed(fileName, true);
    UpdateRecentMenu();
    UpdateTitle();
}

void TForm1::mmFileExportClick() {
    const QString own = document_.ShownName();
    const QString proposed =
        (own.isEmpty() ? QString("KVT-Prog") : QFileInfo(own).completeBaseName()) + ".txt";
    const QString fileName = Dialogs().SaveFileName(Session().FileDialogFolder(), proposed);
    if (fileName.isEmpty())
        return;
    try {
        PlainTextProgram::Export(fileName, Session().CommandList().Lines(), Session().Lang());
    } catch (const EFileError& error) {
        ReportError(error);
        return;
    }
    Session().NoteFileUsed(fileName, false);
}

void TForm1::mmFileImportClick() {
    if (!MayDiscardProgram())
        return;
    const QString fileName = Dialogs().OpenFileName(Session().FileDialogFolder(), "*.txt");
    if (fileName.isEmpty())
        return;
    const TLang& lang = Session().Lang();
    PlainTextProgram::TImported imported;
    try {
        imported = Session().ImportPlainText(fileName);
    } catch (const EFileError& error) {
        ReportError(error);
        return;
    } catch (const EAppError& error) {
        ReportError(error);
        return;
    }
    // A damaged text is taken only when the operator wants it all the same.
    if (!imported.damage.isEmpty() &&
        !Dialogs().Confirm(lang.ExtraText(Ext::LoadDamaged).arg(imported.damage.join(' '))))
        return;
    Session().NoteFileUsed(fileName, false);
    if (!imported.refusals.isEmpty()) {
        QStringList text{lang.ExtraText(Ext::ImportRefused).arg(fileName)};
        for (qsizetype i = 0; i < imported.refusals.size() && i < shownRefusals; ++i) {
            const auto& r = imported.refusals[i];
            text << lang.ExtraText(Ext::ImportRefusedLine).arg(r.line).arg(Shown(r.text), Shown(r.reason));
        }
        if (imported.refusals.size() > shownRefusals)
            text << lang.ExtraText(Ext::PreviewFindingsMore).arg(imported.refusals.size() - shownRefusals);
        Dialogs().ShowMessage(text.join('\n'));
    }
    if (imported.lines.isEmpty()) {
        Dialogs().ShowMessage(lang.ExtraText(Ext::NoCommandsImported).arg(fileName));
        return;
    }
    // An imported list is new work: it has no program file of its own yet.
    history_->Record([&] { Session().SetProgram(imported.lines, imported.descriptions); });
    document_.Detach();
    UpdateTitle();
}

void TForm1::UpdateRecentMenu() {
    mmRecent->clear();
    const QStringList& recent = Session().Settings().RecentFiles;
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString file = recent[i];
        QAction* action = mmRecent->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
        action->setObjectName(QString("mmRecent%1").arg(i + 1));
        action->setToolTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
    }
    mmRecent->setEnabled(!recent.isEmpty() && mmFileOpen->isEnabled());
}
