#pragma once

#include <QString>
#include <QStringList>

class TKVTCommands;
class TLang;

// A command as the operator types it on the command line or into a user button: its code in
// either case, spaces anywhere ("sd 300", "LD2", "st 3"), the argument after the code (none:
// "no"). Read, it is a vocabulary index and an argument, or the reason it is refused.
struct TTypedCommand {
    int index = 0;
    QString argument = "no";
    QString refusal; // empty: the command may be made (its argument's range is checked then)

    // The text read; `lang` words the refusals. An argument the code needs but lacks, or one it
    // takes none of, is refused here; RB and RD, which read a program back, are no program's.
    static TTypedCommand Read(const QString& text, const TKVTCommands& commands, const TLang& lang);
    // The codes that begin with what is typed so far (upper case), in the vocabulary's order.
    static QStringList Completions(const QString& text);
    // What is typed, in the operator's words: the description of the command with its argument
    // (in the units of the vocabulary), or the codes it may still become. Empty for nothing.
    static QString Describe(const QString& text, const TKVTCommands& commands, const TLang& lang);
    // A line as the controller takes it, in steps (a user button's line, a file's): empty when
    // the controller would take it, else the reason it would not.
    // A line as typed, as the controller's line: spaces left out, the code in upper case.
    static QString StepsLine(const QString& text);
    static QString CheckStepsLine(const QString& line, const TKVTCommands& commands, const TLang& lang);
};
