#pragma once

#include "ProgramEditor.h"
#include "editor/PlainTextProgram.h"

#include <QList>
#include <QString>

class ISettingsView;
class TKVTCommands;
class TLang;

// The command list as an editor of lines: rows copied and cut as plain text (the list lines,
// one per line, as an export writes them, so that a text editor takes them and gives them back),
// a text pasted before a row or at the end and checked as an import is, and a row's argument edited
// in place, checked and converted as the argument edits are. Each change is one undo step.
class TListEdits {
public:
    TListEdits(TProgramEditor& editor, const TKVTCommands& commands, const ISettingsView& datas,
               const TLang& lang);

    // The lines of the commands at `indices`, in the list's order.
    QString Copy(QList<int> indices) const;
    // Copy, then the commands removed (one step).
    QString Cut(const QList<int>& indices);
    // The commands of `text` added before command `before` (at the end when -1), as one step;
    // the refusals and damage to be told, as an import has them. Throws EFileError for a text
    // too large for a program.
    PlainTextProgram::TImported Paste(const QString& text, int before = -1);
    // The argument of command `index` as the operator types it (empty for none).
    QString Argument(int index) const;
    // The argument of command `index` made anew from `argument` (in the operator's units). An
    // argument that must be whole but is not throws EConvertError; nothing changes then.
    TProgramEditor::TAddOutcome EditArgument(int index, const QString& argument);

private:
    TProgramEditor& editor_;
    const TKVTCommands& commands_;
    const ISettingsView& datas_;
    const TLang& lang_;
};
