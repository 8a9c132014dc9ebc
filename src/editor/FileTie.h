#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which file the command list belongs to, and what of it is the operator's work that no file
// holds yet (the title's mark, the question before it would be lost).
//
// The list is tied to a file only while it holds what was loaded from or saved to that file, or
// the operator's edits of it. A list the program makes by itself (the clear of a mode switch or
// of Direct Control, a direct command, the simple mode's lists) is never the operator's work:
// the operator's list it replaced is kept aside, and that is what the mark and the question
// speak of; the list is tied to no file any more, so that a save asks for a name instead of
// writing over the file the list once came from. An import and a read-back taken over are the
// operator's, but no file's.
class TFileTie {
public:
    struct TText {
        QStringList lines, descriptions;
        bool operator==(const TText&) const = default;
    };

    // The program was loaded from `file` or saved to it as `text`. While the list shown is the
    // program's own, only what a later undo may come back to is tied to the file.
    void SetSaved(const QString& file, const TText& text);
    // The operator changed the list (an edit, an undo, a redo): `list` is the operator's work
    // again; when it holds what the last file holds, it is tied to that file again.
    void OperatorChanged(const TText& list);
    // The list is the operator's new work, of no file (an import, a read-back taken over).
    void Detach();
    // The program is about to replace `list` by a list of its own: the operator's list is kept
    // aside (unless the list is the program's already) and the list is tied to no file.
    void ProgramReplaces(const TText& list);

    // The file the list is tied to, or empty; its name without the folder.
    QString File() const { return file_; }
    QString ShownName() const;
    // The operator's work: the list, or the operator's list that a list of the program replaced.
    TText Work(const TText& list) const { return kept_ ? *kept_ : list; }
    // Whether the operator's work is held by no file: a tied list that differs from its file, or
    // an untied one that holds something other than what was last loaded or saved.
    bool Unsaved(const TText& list) const;

private:
    QString file_;     // the file the list is tied to
    QString lastFile_; // the file last loaded or saved, and what it holds
    TText lastSaved_;
    std::optional<TText> kept_; // the operator's list while the list is the program's
};
