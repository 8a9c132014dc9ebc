#include "ProgramDocument.h"

#include "OperatorSettings.h"
#include "ProgramEditor.h"
#include "core/AppError.h"
#include "core/SettingsView.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"

#include <QDir>
#include <QFileInfo>

TProgramDocument::TProgramDocument(TProgramEditor& editor, TOperatorSettings& settings,
                                   const ISettingsView& datas, const TKVTCommands& commands,
                                   const TLang& lang)
    : QObject(nullptr), editor_(editor), settings_(settings), datas_(datas), commands_(commands),
      lang_(lang) {
    connect(&editor_, &TProgramEditor::OperatorChanged, this, [this](bool noFile) {
        if (noFile)
            tie_.Detach();
        else
            tie_.OperatorChanged(List());
        emit Changed();
    });
    connect(&editor_, &TProgramEditor::ProgramReplacing, this, [this] {
        tie_.ProgramReplaces(List());
        emit Changed();
    });
    // Any change of the list may change the mark.
    const TCommandList* list = &editor_.List();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(list, signal, this, &TProgramDocument::Changed);
    connect(list, &QAbstractItemModel::rowsMoved, this, &TProgramDocument::Changed);
    connect(list, &QAbstractItemModel::modelReset, this, &TProgramDocument::Changed);
    connect(list, &QAbstractItemModel::dataChanged, this, &TProgramDocument::Changed);
}

bool TProgramDocument::Unsaved() const {
    return tie_.Unsaved(List());
}

TProgramDocument::TText TProgramDocument::List() const {
    return {editor_.List().Lines(), editor_.List().Descriptions()};
}

TProgramDocument::TText TProgramDocument::Work() const {
    return tie_.Work(List());
}

QString TProgramDocument::Title(const QString& described) const {
    const bool unsaved = Unsaved();
    if (tie_.File().isEmpty() && !unsaved)
        return described;
    const QString name = tie_.File().isEmpty() ? lang_.ExtraText(Ext::Untitled) : tie_.ShownName();
    return described + " - " + name + (unsaved ? " *" : "");
}

QString TProgramDocument::SaveTarget() const {
    const QString file = tie_.File();
    return !file.isEmpty() && QFileInfo(file).absoluteDir().exists() ? file : QString();
}

QString TProgramDocument::ProposedName(Proposal kind) const {
    const QString own = tie_.ShownName();
    switch (kind) {
    case Proposal::Own:
        if (!own.isEmpty())
            return own;
        break;
    case Proposal::Text:
        return (own.isEmpty() ? QString("KVT-Prog") : QFileInfo(own).completeBaseName()) + ".txt";
    case Proposal::Free:
        break;
    }
    return ProgramFiles::FreeDefaultName(settings_.FileDialogFolder());
}

ProgramFiles::TLoaded TProgramDocument::Read(const QString& fileName) const {
    if (!ProgramFiles::CompanionExists(fileName))
        throw EFileError(lang_.Message(Msg::FilePrefix) + ProgramFiles::CompanionName(fileName) +
                         lang_.Message(Msg::NotFoundOrDamaged));
    return ProgramFiles::Load(fileName, lang_);
}

void TProgramDocument::Take(const QString& fileName, const ProgramFiles::TLoaded& loaded) {
    editor_.Replace(loaded.program.lines, loaded.program.descriptions, TProgramEditor::Source::Load);
    tie_.SetSaved(fileName, List());
    settings_.NoteFileUsed(fileName, true);
    emit Changed();
}

void TProgramDocument::Save(const QString& fileName, const TText& text) {
    ProgramFiles::Save(fileName, {text.lines, text.descriptions}, lang_);
    tie_.SetSaved(fileName, text);
    settings_.NoteFileUsed(fileName, true);
    emit Changed();
}

PlainTextProgram::TImported TProgramDocument::Import(const QString& fileName) const {
    return PlainTextProgram::Import(fileName, commands_, datas_.Settings(), lang_);
}

void TProgramDocument::TakeImported(const QString& fileName, const PlainTextProgram::TImported& imported) {
    settings_.NoteFileUsed(fileName, false);
    // An imported list is new work: it has no program file of its own yet.
    editor_.Replace(imported.lines, imported.descriptions, TProgramEditor::Source::Import);
}

void TProgramDocument::Export(const QString& fileName) const {
    PlainTextProgram::Export(fileName, editor_.List().Lines(), lang_);
    settings_.NoteFileUsed(fileName, false);
}
