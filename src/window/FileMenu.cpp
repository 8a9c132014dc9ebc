#include "FileMenu.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/OperatorSettings.h"
#include "session/controller/Sending.h"
#include "settings/RecentFileLabels.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
// Runs `action`; what makes it fail is shown to the operator. False when it failed.
template <typename Action> bool Reported(Action&& action) {
    try {
        action();
        return true;
    } catch (const EAppError& error) {
        ReportError(error);
        return false;
    }
}

// A damaged file is taken only when the operator wants it all the same.
bool TakeDamaged(const QStringList& damage, const TLang& lang) {
    return damage.isEmpty() || Dialogs().Confirm(lang.ExtraText(Ext::LoadDamaged).arg(damage.join(' ')));
}
} // namespace

TFileMenu::TFileMenu(const TActions& actions, TProgramDocument& document, TOperatorSettings& options,
                     const TSending& sending, QObject* parent)
    : QObject(parent), actions_(actions), document_(document), options_(options), sending_(sending) {
    connect(actions_.open, &QAction::triggered, this, &TFileMenu::Open);
    connect(actions_.saveToFile, &QAction::triggered, this, &TFileMenu::SaveToFile);
    connect(actions_.save, &QAction::triggered, this, &TFileMenu::Save);
    connect(actions_.saveAs, &QAction::triggered, this, &TFileMenu::SaveAs);
    connect(actions_.import, &QAction::triggered, this, &TFileMenu::Import);
    connect(actions_.exportText, &QAction::triggered, this, &TFileMenu::Export);
    UpdateRecent();
}

bool TFileMenu::MayDiscard() {
    if (!document_.Unsaved())
        return true;
    // Cancel is the box's default: Return, Space or Esc never write a file.
    switch (Dialogs().AskSave(options_.Lang().ExtraText(Ext::AskSaveChanges))) {
    case IDialogs::SaveChoice::Discard:
        return true;
    case IDialogs::SaveChoice::Cancel:
        return false;
    case IDialogs::SaveChoice::Save:
        break;
    }
    // The operator's work: its own file when the list belongs to one, else a name the operator
    // confirms (never the file the list once came from, unasked).
    const TProgramDocument::TText work = document_.Work();
    const QString own = document_.SaveTarget();
    return own.isEmpty() ? SaveWithDialog(document_.ProposedName(TProgramDocument::Proposal::Free), work)
                         : SaveTo(own, work);
}

bool TFileMenu::SaveTo(const QString& fileName, const TProgramDocument::TText& text) {
    if (!Reported([&] { document_.Save(fileName, text); }))
        return false;
    UpdateRecent();
    return true;
}

bool TFileMenu::SaveWithDialog(const QString& proposed, const TProgramDocument::TText& text) {
    for (;;) {
        const QString fileName = Dialogs().SaveFileName(options_.FileDialogFolder(), proposed,
                                                        options_.Lang().ExtraText(Ext::DialogTitleSave));
        if (fileName.isEmpty())
            return false;
        if (ProgramFiles::HasProgramExtension(fileName))
            return SaveTo(fileName, text);
        Dialogs().ShowError(options_.Lang().Message(Msg::FileNameIncorrect));
    }
}

void TFileMenu::SaveToFile() {
    SaveWithDialog(document_.ProposedName(TProgramDocument::Proposal::Free), document_.List());
}

void TFileMenu::Save() {
    // The list's own file when it has one; else as "Save as...".
    const QString own = document_.SaveTarget();
    if (own.isEmpty())
        SaveAs();
    else
        SaveTo(own, document_.List());
}

void TFileMenu::SaveAs() {
    SaveWithDialog(document_.ProposedName(TProgramDocument::Proposal::Own), document_.List());
}

bool TFileMenu::Sending() const {
    if (!sending_.IsSending())
        return false;
    Dialogs().ShowError(options_.Lang().ExtraText(Ext::LoadWhileSending));
    return true;
}

void TFileMenu::Open() {
    if (Sending() || !MayDiscard())
        return;
    for (;;) {
        const QString fileName = Dialogs().OpenFileName(options_.FileDialogFolder(), "*.kvt",
                                                        options_.Lang().ExtraText(Ext::DialogTitleOpen));
        if (fileName.isEmpty())
            return;
        if (ProgramFiles::HasProgramExtension(fileName))
            return LoadNow(fileName);
        Dialogs().ShowError(options_.Lang().Message(Msg::FileNameIncorrect));
    }
}

void TFileMenu::Load(const QString& fileName, bool asked) {
    if (!ProgramFiles::HasProgramExtension(fileName))
        Dialogs().ShowError(options_.Lang().Message(Msg::FileNameIncorrect));
    else if (!Sending() && (asked || MayDiscard()))
        LoadNow(fileName);
}

void TFileMenu::OpenRecent(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) {
        Dialogs().ShowError(options_.Lang().ExtraText(Ext::RecentFileMissing).arg(fileName));
        options_.ForgetRecentFile(fileName);
        UpdateRecent();
        return;
    }
    if (!Sending() && MayDiscard())
        LoadNow(fileName);
}

void TFileMenu::LoadNow(const QString& fileName) {
    // Both files are read before anything changes: a file that cannot be read leaves the list,
    // and so does a damaged one unless the operator wants it all the same.
    ProgramFiles::TLoaded loaded;
    if (!Reported([&] { loaded = document_.Read(fileName); }) || !TakeDamaged(loaded.damage, options_.Lang()))
        return;
    document_.Take(fileName, loaded);
    UpdateRecent();
}

void TFileMenu::Export() {
    const QString fileName = Dialogs().SaveFileName(options_.FileDialogFolder(),
                                                    document_.ProposedName(TProgramDocument::Proposal::Text),
                                                    options_.Lang().ExtraText(Ext::DialogTitleExport));
    if (!fileName.isEmpty())
        Reported([&] { document_.Export(fileName); });
}

bool ShowImportRefusals(const PlainTextProgram::TImported& imported, const QString& name, const TLang& lang) {
    constexpr int shown = 10; // refused lines named in one box
    if (!imported.refusals.isEmpty()) {
        QStringList text{lang.ExtraText(Ext::ImportRefused).arg(name)};
        for (qsizetype i = 0; i < imported.refusals.size() && i < shown; ++i) {
            const auto& r = imported.refusals[i];
            text << lang.ExtraText(Ext::ImportRefusedLine).arg(r.line).arg(Shown(r.text), Shown(r.reason));
        }
        if (imported.refusals.size() > shown)
            text << lang.ExtraText(Ext::PreviewFindingsMore).arg(imported.refusals.size() - shown);
        Dialogs().ShowError(text.join('\n'));
    }
    if (imported.lines.isEmpty())
        Dialogs().ShowError(lang.ExtraText(Ext::NoCommandsImported).arg(name));
    return !imported.lines.isEmpty();
}

void TFileMenu::Import() {
    if (Sending() || !MayDiscard())
        return;
    const QString fileName = Dialogs().OpenFileName(options_.FileDialogFolder(), "*.txt",
                                                    options_.Lang().ExtraText(Ext::DialogTitleImport));
    if (fileName.isEmpty())
        return;
    const TLang& lang = options_.Lang();
    PlainTextProgram::TImported imported;
    if (!Reported([&] { imported = document_.Import(fileName); }) || !TakeDamaged(imported.damage, lang))
        return;
    if (ShowImportRefusals(imported, fileName, lang))
        document_.TakeImported(fileName, imported);
}

void TFileMenu::UpdateRecent() {
    QMenu* menu = actions_.recent;
    menu->clear();
    const QStringList& recent = options_.Settings().RecentFiles;
    const QStringList labels = RecentFileLabels(recent);
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString file = recent[i];
        QAction* action = menu->addAction(QString("&%1 %2").arg(i + 1).arg(labels[i]));
        action->setObjectName(QString("mmRecent%1").arg(i + 1));
        action->setToolTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenRecent(file); });
    }
    menu->setEnabled(!recent.isEmpty() && actions_.open->isEnabled());
}
