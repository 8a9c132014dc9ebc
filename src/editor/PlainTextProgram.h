#pragma once

#include <QString>
#include <QStringList>

struct TSettings;
class TKVTCommands;
class TLang;
struct TFileText;
struct TSettings;

// A program as plain text, for version control and for scripts: one list line per line (MV250,
// in steps, as it is sent), UTF-8, lines ended by LF. Import takes the lines back into a command
// list: each gets its description anew, in the operator's units, as if typed; a line that is no
// command, or whose argument the command refuses, is left out with the reason.
namespace PlainTextProgram {

// Writes `lines` to `fileName`, replacing it atomically; a name that is no regular file is
// refused. Throws EFileError (the reason in the words of `lang`).
void Export(const QString& fileName, const QStringList& lines, const TLang& lang);

// The text of a file of list lines, read whole: only a regular file, at most as large and as
// long as a program file may be. Throws EFileError (the reason in the words of `lang`).
TFileText Read(const QString& fileName, const TLang& lang);
// The same for bytes read from elsewhere (standard input), named `name` in a refusal.
TFileText FromBytes(const QByteArray& bytes, const QString& name, const TLang& lang);
// What the operator should hear before such a text is used: a zero byte, which ends the text.
QStringList Damage(const TFileText& text, const QString& name, const TLang& lang);

struct TImported {
    QStringList lines, descriptions;
    QStringList damage; // as Damage tells it
    struct TRefusal {
        int line = 0;   // 1-based, in the file
        QString text;   // the line as the file has it
        QString reason; // the command's range message, or why it is no command
    };
    QList<TRefusal> refusals;
};
// Reads `fileName` as Read does; blank lines are skipped. Throws EFileError when it can't be
// read.
TImported Import(const QString& fileName, const TKVTCommands& commands, const TSettings& settings,
                 const TLang& lang);
// The same for a text read already (the clipboard's), named `name` in what is said of it.
TImported ImportText(const TFileText& text, const QString& name, const TKVTCommands& commands,
                     const TSettings& settings, const TLang& lang);
// The argument of command `index` as the operator types it: `steps` in the operator's units
// where the command's value is scaled (MV, SD, SS, AL), else as it is.
QString TypedArgument(int index, qint64 steps, const TSettings& settings);

} // namespace PlainTextProgram
