#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TLang;

// The file a kvtctl call names: a program file pair, or with --plain a text file of list lines
// ("-": standard input, read to its end). Read whole before anything is sent, bounded as the
// window bounds a file; a damaged file, plain text given as a pair and (with `commandsOnly`) a
// line that is no command of the controller refuse it.
struct TCliFile {
    QStringList lines;
    QList<int> fileLineNumbers; // --plain: each list line's number in its file (blank lines skipped)
    QString refusal;            // why the file can't be used; empty when it can

    static TCliFile Read(const QString& name, bool plain, bool commandsOnly, const TLang& lang);
    // The number, in the file, of list line `index` (0-based).
    int FileLine(int index) const { return fileLineNumbers.value(index, index + 1); }
};
