#pragma once

#include <QString>
#include <QStringList>

class TLang;

// A program is stored as two scrambled files side by side: <name>.kvt with the list lines, and
// its companion <name>._kvt with the description of each line as the grid showed it.
namespace ProgramFiles {

struct TProgram {
    QStringList lines;
    QStringList descriptions;
};

// A program as it was read, with what the operator should hear before it replaces the list:
// each entry one sentence (a file cut short, a zero byte, two encodings in one file).
struct TLoaded {
    TProgram program;
    QStringList damage;
};

// The first name KVT-Prog-<n>.kvt (n = 1, 2, ...) that does not exist in `folder`.
QString FreeDefaultName(const QString& folder);
// Whether the part of the file name from its last dot is exactly ".kvt".
bool HasProgramExtension(const QString& fileName);
// The same name with its extension replaced by "._kvt".
QString CompanionName(const QString& fileName);

// Writes both files in full to temporary files and puts both on the disk before either replaces
// its target, so that an interruption never leaves a new program beside old descriptions. When
// the companion cannot replace its target, the earlier program file is put back. Its helper
// files have hidden names of their own (TEncodedStream::HelperName): an operator's "p.kvt.old"
// or "p.kvt.new" is never touched. Throws
// EFileError, with its reason in the words of `lang`.
void Save(const QString& fileName, const TProgram& program, const TLang& lang);
// Reads both files, the companion's existence already checked by the caller. Nothing is
// returned unless both were read. Only regular files are opened; a file of more than MaxLines
// lines is refused. Throws EFileError, with its reason in the words of `lang`.
TLoaded Load(const QString& fileName, const TLang& lang);
// Whether the companion of `fileName` is there, once a save of the pair that was interrupted
// between its steps has been completed (it may be the companion's last step that was missing).
bool CompanionExists(const QString& fileName);
// Completes or undoes a save of `fileName` that was interrupted between its steps: when only
// the companion's temporary file is left, the program file was already replaced and the
// companion follows; any other temporary file is removed.
void FinishInterruptedSave(const QString& fileName);

// Largest program file read: far beyond any real program, small enough to load quickly.
constexpr qint64 MaxFileSize = 16 << 20;
// Most lines a program file may have: more than any controller program holds.
constexpr qsizetype MaxLines = 65535;

} // namespace ProgramFiles
