#pragma once

#include <QString>
#include <QStringList>

class TCommandList;
struct TSettings;
class TKVTCommands;

// What a read of the controller's stored program gave: the commands it lists, and whether one of
// them was not a command of the vocabulary.
struct TReadBack {
    // Whose program it is: channel 1 to 3, or the buffer (0).
    int channel = 1;
    // Each command as the controller holds it, in steps (AL with its sign), for comparing.
    QStringList commands;
    bool wrongCommand = false;
    // The program's end (ED) came: the read is whole.
    bool endSeen = false;
    // Set when a value ended the parse (a whole number was wanted): the token, and the reason.
    QString stoppedAt;
    QString stopReason;
    // The commands left out, their value beyond what the controller takes: where each stood
    // among the read's commands (from 1), as it came, and its table index.
    struct TBeyond {
        int position = 0;
        QString command;
        int index = 0;
    };
    QList<TBeyond> beyond;
    // Those, in the operator's words, for the caller to show (the session words them).
    QStringList refusals;
};

// Turns the collected reply text (the lines of MemoChan, read as one stream of characters: a
// token may continue across a line break) into commands of `list`: the request echo (RD, RB) and
// the final ED are not listed; a '*' never starts a token and two in a row give no empty token;
// AL above 32768 is the negative acceleration 32768 - value. A value is what the controller
// holds, in steps: the list line keeps it, the description shows it in the operator's units. A
// token with fewer than two characters before its '*', an unknown code, or an AL argument that is
// not a whole number gives the row of an incorrect command and the wrong-command flag. A value
// beyond what the controller takes leaves the command out (kept in `beyond`); one that is not
// whole ends the parse there, keeping the rows before it.
TReadBack ParseReadBack(const QStringList& lines, const TKVTCommands& commands, const TSettings& settings,
                        TCommandList& list);

// How the commands of a read (as the controller holds them) compare with the program of the command
// list: in each, the commands after the recording command (LD) up to ED, codes and values in steps,
// a '+' before a value ignored. In the list, the program of `channel` (its LD <channel>), or with
// 0 its first program.
struct TComparison {
    bool same = false;
    int count = 0;            // the commands compared when they are the same
    int firstDifference = -1; // else the position (from 0) where they differ first
    QString read;             // and what each holds there (empty: nothing)
    QString listed;
};
TComparison CompareWithList(const QStringList& readLines, const QStringList& listLines, int channel = 0);
// The channels (1 to 3) a list of lines writes a program into (its LD n), each once, in order.
QList<int> ChannelsWritten(const QStringList& listLines);
