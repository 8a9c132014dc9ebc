#include "ProgramFiles.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QFileInfo>

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

void Save(const QString& fileName, const TProgram& program) {
    const QByteArray lines = JoinLinesForFile(program.lines);
    const QByteArray descriptions = JoinLinesForFile(program.descriptions);
    const QString companion = CompanionName(fileName);
    TEncodedStream programFile(fileName, TEncodedStream::fmCreate, true);
    TEncodedStream companionFile(companion, TEncodedStream::fmCreate, true);
    programFile.Write(lines.constData(), lines.size());
    companionFile.Write(descriptions.constData(), descriptions.size());
    programFile.Commit();
    companionFile.Commit();
}

namespace {
QStringList ReadLines(const QString& fileName, const TLang& lang) {
    if (QFileInfo(fileName).size() > MaxFileSize)
        throw EFileError::CannotOpen(fileName, lang.ExtraText(Ext::FileTooLarge));
    return LoadLinesFromFile(fileName, true);
}
} // namespace

TProgram Load(const QString& fileName, const TLang& lang) {
    TProgram program;
    program.lines = ReadLines(fileName, lang);
    program.descriptions = ReadLines(CompanionName(fileName), lang);
    return program;
}

} // namespace ProgramFiles
