#pragma once

#include <QString>
#include <QStringList>

class TCommonDatas;
class TKVTCommands;

// A program as plain text, for version control and for scripts: one list line per line (MV250,
// in steps, as it is sent), UTF-8, lines ended by LF. Import takes the lines back into a command
// list: each gets its description anew, in the operator's units, as if typed; a line that is no
// command, or whose argument the command refuses, is left out with the reason.
namespace PlainTextProgram {

// Writes `lines` to `fileName`, replacing it atomically. Throws EFileError.
void Export(const QString& fileName, const QStringList& lines);

struct TImported {
    QStringList lines, descriptions;
    struct TRefusal {
        int line = 0;   // 1-based, in the file
        QString text;   // the line as the file has it
        QString reason; // the command's range message, or why it is no command
    };
    QList<TRefusal> refusals;
};
// Reads `fileName` (at most as much as a program file may hold); blank lines are skipped.
// Throws EFileError when it can't be read.
TImported Import(const QString& fileName, const TKVTCommands& commands, TCommonDatas& datas);

} // namespace PlainTextProgram
