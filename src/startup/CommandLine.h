#pragma once

#include <QString>
#include <QStringList>

// The program's command line:
//
//   KVT_Program [--help] [--version] [--folder DIR] [--port N|DEVICE] [--device DEVICE] [FILE]
//
// A device path given to --port (one that starts with '/') is taken as --device. Options take
// their value as the next argument or after '=' (--port=3). The options of the
// window system (-platform offscreen, -style fusion, ...) are left to it. Texts are the
// built-in English ones: the language is known only once the program folder is.
struct TCommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString folder;   // the program folder asked for; empty: the program chooses
    quint32 port = 0; // the port of this start; 0: the stored number
    QString device;   // a device opened outright at this start; empty: the port's
    QString file;     // a program file to load at start
    QString error;    // why the command line was refused (Error)

    // `arguments` as main gets them, the program's own name first.
    static TCommandLine Parse(const QStringList& arguments);
    static QString HelpText(const QString& programName);
    static QString VersionText();
    // The refusal with the hint to --help.
    QString ErrorText(const QString& programName) const;
    // "Cannot use <folder> as the program folder: <reason>"
    static QString FolderUnusableText(const QString& folder, const QString& reason);
};
