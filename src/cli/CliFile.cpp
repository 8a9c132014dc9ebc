#include "CliFile.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/ShownText.h"
#include "editor/AddCommand.h"
#include "editor/PlainTextProgram.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// Standard input to its end, at most one byte beyond what a program file may hold.
QByteArray ReadStandardInput() {
    QByteArray bytes;
    char block[65536];
    while (bytes.size() <= ProgramFiles::MaxFileSize) {
        const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(block, n);
    }
    return bytes;
}

// Whether the file's own bytes, unscrambled, are command lines: plain text given as a pair.
bool LooksLikePlainText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = SplitFileLines(file.read(4096));
    return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.trimmed().isEmpty() || IsCommandLine(line.trimmed());
    });
}

QString PlainAsPair(const QString& name) {
    return QString("%1 is plain text, not a program file pair: give --plain to send it.").arg(name);
}

TCliFile Refused(const QString& why) {
    TCliFile file;
    file.refusal = why;
    return file;
}

TCliFile ReadPlain(const QString& name, const TLang& lang) {
    TFileText text;
    try {
        text = name == "-" ? PlainTextProgram::FromBytes(ReadStandardInput(), "-", lang)
                           : PlainTextProgram::Read(name, lang);
    } catch (const EFileError& error) {
        return Refused(error.Text());
    }
    const QStringList damage = PlainTextProgram::Damage(text, name, lang);
    if (!damage.isEmpty())
        return Refused(damage.join(' ') + " Nothing was sent.");
    TCliFile file;
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        if (text.lines[i].trimmed().isEmpty())
            continue; // blank lines are no list lines; the others keep their file's number
        file.lines << text.lines[i].trimmed();
        file.fileLineNumbers << int(i + 1);
    }
    return file;
}

TCliFile ReadPair(const QString& name, bool commandsOnly, const TLang& lang) {
    if (!QFileInfo::exists(name))
        return Refused(EFileError::CannotOpen(name, lang.ExtraText(Ext::NoSuchFile)).Text());
    TCliFile file;
    try {
        if (!ProgramFiles::CompanionExists(name)) {
            if (LooksLikePlainText(name))
                return Refused(PlainAsPair(name));
            throw EFileError::CannotOpen(ProgramFiles::CompanionName(name), lang.ExtraText(Ext::NoSuchFile));
        }
        const ProgramFiles::TLoaded loaded = ProgramFiles::Load(name, lang);
        // The window asks before it loads a damaged pair; a script is refused.
        if (!loaded.damage.isEmpty())
            return Refused(loaded.damage.join(' ') + " Nothing was sent.");
        file.lines = loaded.program.lines;
    } catch (const EFileError& error) {
        return Refused(error.Text());
    }
    // A pair's bytes that decode into no command lines are no program of ours.
    if (commandsOnly && LooksLikePlainText(name))
        return Refused(PlainAsPair(name));
    return file;
}

} // namespace

TCliFile TCliFile::Read(const QString& name, bool plain, bool commandsOnly, const TLang& lang) {
    TCliFile file = plain ? ReadPlain(name, lang) : ReadPair(name, commandsOnly, lang);
    for (qsizetype i = 0; commandsOnly && file.refusal.isEmpty() && i < file.lines.size(); ++i) {
        if (!IsCommandLine(file.lines[i])) {
            file.refusal = QString("%1, line %2: \"%3\" is no command of the controller.")
                               .arg(name)
                               .arg(file.FileLine(int(i)))
                               .arg(Shown(file.lines[i]));
        }
    }
    return file;
}
