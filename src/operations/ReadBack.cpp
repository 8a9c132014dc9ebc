#include "ReadBack.h"

#include "core/AppError.h"
#include "core/Decimal.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "protocol/UnitKVTComands.h"

using K = TKVTCommands;

TReadBack ParseReadBack(const QStringList& lines, const TKVTCommands& commands, const TSettings& settings,
                        TCommandList& list) {
    TReadBack result;
    // The rows are gathered and put into the list at once: a program of 65,535 lines is one
    // change of the list, not 65,535.
    QStringList rows, descriptions;
    struct TPut {
        TCommandList& list;
        QStringList& rows;
        QStringList& descriptions;
        ~TPut() { list.SetProgram(rows, descriptions); }
    } put{list, rows, descriptions};
    QString token;
    for (const QString& line : lines) {
        for (const QChar c : line) {
            token += c;
            if (token.startsWith('*')) {
                token.clear(); // a '*' never starts a token
                continue;
            }
            if (c != '*')
                continue;
            const QString code = token.left(2);
            QString argument = token.mid(2, token.size() - 3);
            const bool tooShort = token.size() < 3;
            token.clear();
            if (argument.isEmpty())
                argument = "no";
            int index = tooShort ? 0 : K::CommandIndex(code);
            if (index == K::AL && argument != "no") {
                // The controller sends a negative acceleration -a as 32768 + a.
                const auto value = Decimal::ParseInteger(argument);
                if (!value)
                    index = 0;
                else if (*value > 32768)
                    argument = "-" + QString::number(*value - 32768);
            }
            if (index == K::ED)
                result.endSeen = true;
            if (index == K::ED || index == K::RB || index == K::RD)
                continue;
            const QString command = code + (argument == "no" ? QString() : argument);
            result.commands.append(command);
            try {
                const TStepsCommand made = MakeCommandInSteps(commands, settings, index, argument);
                if (made.command) {
                    rows.append(made.command->line);
                    descriptions.append(made.command->description);
                } else {
                    result.beyond.append({int(result.commands.size()), command, index});
                }
            } catch (const EAppError& error) {
                result.stoppedAt = code + (argument == "no" ? QString() : argument) + '*';
                result.stopReason = error.Text();
                return result;
            }
            if (index == 0)
                result.wrongCommand = true;
        }
    }
    return result;
}

namespace {
QString WithoutPlus(QString line) {
    return line.remove('+');
}

// The program a list of lines writes: from after its recording command (from its start, when it
// has none) up to its ED; with a channel, from after its LD <channel> (nothing, when it has none).
QStringList ProgramOf(const QStringList& lines, int channel = 0) {
    qsizetype first = channel == 0 ? 0 : lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (K::CommandIndex(lines[i]) == K::LD &&
            (channel == 0 || WithoutPlus(lines[i]).mid(2).toInt() == channel)) {
            first = i + 1;
            break;
        }
    }
    QStringList program;
    for (qsizetype i = first; i < lines.size() && K::CommandIndex(lines[i]) != K::ED; ++i)
        program.append(lines[i]);
    return program;
}

} // namespace

QList<int> ChannelsWritten(const QStringList& listLines) {
    QList<int> channels;
    for (const QString& line : listLines) {
        if (K::CommandIndex(line) != K::LD)
            continue;
        const int channel = WithoutPlus(line).mid(2).toInt();
        if (channel >= 1 && channel <= 3 && !channels.contains(channel))
            channels.append(channel);
    }
    return channels;
}

TComparison CompareWithList(const QStringList& readCommands, const QStringList& listLines, int channel) {
    const QStringList readLines = ProgramOf(readCommands);
    const QStringList program = ProgramOf(listLines, channel);
    TComparison comparison;
    const qsizetype n = std::max(readLines.size(), program.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QString read = readLines.value(i);
        const QString listed = program.value(i);
        if (i >= readLines.size() || i >= program.size() || WithoutPlus(read) != WithoutPlus(listed)) {
            comparison.firstDifference = int(i);
            comparison.read = read;
            comparison.listed = listed;
            return comparison;
        }
    }
    comparison.same = true;
    comparison.count = int(n);
    return comparison;
}
