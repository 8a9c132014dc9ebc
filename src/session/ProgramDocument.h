#pragma once

#include "editor/FileTie.h"
#include "editor/PlainTextProgram.h"
#include "editor/ProgramFiles.h"

#include <QObject>

class ISettingsView;
class TKVTCommands;
class TLang;
class TOperatorSettings;
class TProgramEditor;

// The operator's program as a document: the program file the command list belongs to, what of
// it no file holds yet (the title's mark, the question before it would be lost), and the files
// it is loaded from, saved to, imported from and exported to. Whoever asks the operator (the
// window) asks; this says what there is to ask about and does what the answer says.
class TProgramDocument : public QObject {
    Q_OBJECT
public:
    using TText = TFileTie::TText;

    TProgramDocument(TProgramEditor& editor, TOperatorSettings& settings, const ISettingsView& datas,
                     const TKVTCommands& commands, const TLang& lang);

    // Where "Save" writes: the file the list belongs to, while its folder is there (else empty:
    // a name is to be asked for).
    QString SaveTarget() const;
    // Whether the operator's work is held by no file; the list as it stands; the operator's
    // work (the list, or the operator's list a list of the program's replaced).
    bool Unsaved() const;
    TText List() const;
    TText Work() const;
    // The title: `described`, then the file's name (or "untitled") and " *" while unsaved.
    QString Title(const QString& described) const;
    // The program file the list belongs to (empty: none).
    QString File() const { return tie_.File(); }
    // The name a save dialog proposes: the first free KVT-Prog-<n>.kvt of the folder the dialogs
    // open in (Free); the list's own, when it has one (Own); the list's own name, or KVT-Prog,
    // as a text file (Text).
    enum class Proposal { Free, Own, Text };
    QString ProposedName(Proposal kind) const;

    // A program pair read for a load, with the damage found; nothing changes yet. Throws
    // EFileError (a missing companion in the described words).
    ProgramFiles::TLoaded Read(const QString& fileName) const;
    // The list becomes what was read from `fileName`, as one step, and belongs to that file.
    void Take(const QString& fileName, const ProgramFiles::TLoaded& loaded);
    // Writes `text` (the list, or the work) as a program pair; the list then belongs to that
    // file. Throws EFileError.
    void Save(const QString& fileName, const TText& text);
    // A text file's lines as commands (nothing changes yet), and the list made of them (one
    // step; the list belongs to no file). Throws EFileError.
    PlainTextProgram::TImported Import(const QString& fileName) const;
    void TakeImported(const QString& fileName, const PlainTextProgram::TImported& imported);
    // The list as text, one list line per line. Throws EFileError.
    void Export(const QString& fileName) const;

signals:
    // The file, or what of the list is unsaved, may have changed: the title follows.
    void Changed();

private:
    TProgramEditor& editor_;
    TOperatorSettings& settings_;
    const ISettingsView& datas_;
    const TKVTCommands& commands_;
    const TLang& lang_;
    TFileTie tie_;
};
