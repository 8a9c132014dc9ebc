#include "ProgramFiles.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ProgramFiles {

QString FreeDefaultName(const QString& folder) {
    for (int n = 1;; ++n) {
        const QString name = "KVT-Prog-" + QString::number(n) + ".kvt";
        if (!QFileInfo::exists(folder + '/' + name))
            return name;
    }
}

bool HasProgramExtension(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return dot >= 0 && name.mid(dot) == ".kvt";
}

QString CompanionName(const QString& fileName) {
    const qsizetype slash = fileName.lastIndexOf('/');
    const qsizetype dot = fileName.lastIndexOf('.');
    const QString stem = dot > slash ? fileName.left(dot) : fileName;
    return stem + "._kvt";
}

namespace {

QByteArray Path(const QString& fileName) {
    return QFile::encodeName(fileName);
}

// The earlier program file, kept while a save replaces the pair.
QString BackupName(const QString& fileName) {
    return TEncodedStream::HelperName(fileName, "old");
}

} // namespace

void FinishInterruptedSave(const QString& fileName) {
    const QString companion = CompanionName(fileName);
    const QString programNew = TEncodedStream::TemporaryName(fileName);
    const QString companionNew = TEncodedStream::TemporaryName(companion);
    // Both temporary files are synced before the program file is replaced; so a companion's
    // temporary file without the program's means the save stopped between the two renames.
    if (QFileInfo::exists(companionNew) && !QFileInfo::exists(programNew))
        ::rename(Path(companionNew).constData(), Path(companion).constData());
    ::unlink(Path(programNew).constData());
    ::unlink(Path(companionNew).constData());
    ::unlink(Path(BackupName(fileName)).constData());
}

bool CompanionExists(const QString& fileName) {
    FinishInterruptedSave(fileName);
    return QFileInfo::exists(CompanionName(fileName));
}

void Save(const QString& fileName, const TProgram& program, const TLang& lang) {
    const QString companion = CompanionName(fileName);
    // A link, a pipe or a device named like a program is never turned into a file.
    for (const QString& name : {fileName, companion}) {
        if (!TEncodedStream::MayReplace(name))
            throw EFileError::CannotCreate(name, lang.ExtraText(Ext::NotARegularFile));
    }
    FinishInterruptedSave(fileName);
    const QByteArray lines = JoinLinesForFile(program.lines);
    const QByteArray descriptions = JoinLinesForFile(program.descriptions);
    TEncodedStream programFile(fileName, TEncodedStream::fmCreate, true);
    TEncodedStream companionFile(companion, TEncodedStream::fmCreate, true);
    programFile.Write(lines.constData(), lines.size());
    companionFile.Write(descriptions.constData(), descriptions.size());
    programFile.Sync();
    companionFile.Sync();

    // The earlier program file stays reachable (a second name for it) until both are replaced.
    const QString backup = BackupName(fileName);
    const bool hadEarlier = ::link(Path(fileName).constData(), Path(backup).constData()) == 0;
    programFile.Replace();
    try {
        companionFile.Replace();
    } catch (const EFileError& error) {
        const bool restored = hadEarlier ? ::rename(Path(backup).constData(), Path(fileName).constData()) == 0
                                         : ::unlink(Path(fileName).constData()) == 0;
        if (restored)
            throw EFileError(error.Text() + ' ' + lang.ExtraText(Ext::SaveUndone).arg(fileName));
        throw EFileError(error.Text() + ' ' + lang.ExtraText(Ext::SaveHalfDone).arg(fileName, companion));
    }
    ::unlink(Path(backup).constData());
}

namespace {

TFileText ReadProgramFile(const QString& fileName, const TLang& lang) {
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        throw EFileError::CannotOpen(fileName, lang.ExtraText(Ext::NotARegularFile));
    if (info.size() > MaxFileSize)
        throw EFileError::CannotOpen(fileName, lang.ExtraText(Ext::FileTooLarge));
    TFileText text = LoadFileText(fileName, true, MaxLines);
    if (text.tooManyLines)
        throw EFileError::CannotOpen(fileName,
                                     lang.ExtraText(Ext::TooManyLines).arg(text.lineCount).arg(MaxLines));
    return text;
}

// What the operator should know of one file before it replaces the list.
void Describe(const QString& fileName, const TFileText& text, const TLang& lang, QStringList& damage) {
    if (text.lastLineUnended)
        damage.append(lang.ExtraText(Ext::FileCutShort).arg(fileName));
    if (text.zeroByte)
        damage.append(lang.ExtraText(Ext::FileZeroByte).arg(fileName));
    if (text.MixedEncodings())
        damage.append(
            lang.ExtraText(Ext::FileMixedEncodings).arg(fileName).arg(text.guessedLines.first() + 1));
}

} // namespace

TLoaded Load(const QString& fileName, const TLang& lang) {
    FinishInterruptedSave(fileName);
    TLoaded loaded;
    const TFileText lines = ReadProgramFile(fileName, lang);
    const QString companion = CompanionName(fileName);
    const TFileText descriptions = ReadProgramFile(companion, lang);
    loaded.program = {lines.lines, descriptions.lines};
    Describe(fileName, lines, lang, loaded.damage);
    Describe(companion, descriptions, lang, loaded.damage);
    return loaded;
}

} // namespace ProgramFiles
