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

// The first name KVT-Prog-<n>.kvt (n = 1, 2, ...) that does not exist in `folder`.
QString FreeDefaultName(const QString& folder);
// Whether the part of the file name from its last dot is exactly ".kvt".
bool HasProgramExtension(const QString& fileName);
// The same name with its extension replaced by "._kvt".
QString CompanionName(const QString& fileName);

// Writes both files, each replaced atomically only once both are written in full: a failure
// leaves the earlier program whole. Throws EFileError.
void Save(const QString& fileName, const TProgram& program);
// Reads both files, the companion's existence already checked by the caller. Nothing is
// returned unless both were read. Throws EFileError, with its reason in the words of `lang`.
TProgram Load(const QString& fileName, const TLang& lang);

// Largest program file read: far beyond any real program, small enough to load quickly.
constexpr qint64 MaxFileSize = 16 << 20;

} // namespace ProgramFiles
