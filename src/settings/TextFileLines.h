#pragma once

#include <QString>
#include <QStringList>

// A small text file of the program's own (UTF-8, any line ends), read whole: its lines, or why
// it cannot be taken as such. A file that is not there is no fault of its own.
struct TTextFileLines {
    enum class Fault { None, Missing, NotAFile, TooLarge, Unreadable, NotText };
    Fault fault = Fault::None;
    QStringList lines;

    static TTextFileLines Read(const QString& fileName, qint64 maxBytes);
};
