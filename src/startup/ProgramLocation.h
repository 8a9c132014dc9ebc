#pragma once

#include <QString>

// Where the program keeps its files (Data, Log, Users, ports, lang).
//
// A program run from its build, or from an unpacked folder that it can write and that holds
// its language files, keeps them beside the executable. An installed program (its folder not
// writable, or without lang beside it, as under /usr/bin) uses a folder of its own per user,
// <user data directory>/KVT_Program (~/.local/share/KVT_Program), set up at its first start.
// --folder DIR names the folder outright.
namespace ProgramLocation {

struct TFacts {
    QString explicitFolder; // --folder, or empty
    QString appDir;         // the executable's folder
    bool appDirWritable = false;
    bool appDirHasLanguages = false;
    QString userDataDir; // the user's data directory (XDG_DATA_HOME, ~/.local/share)
};

struct TChoice {
    QString folder;
    bool ownFolder = false; // not the executable's: set up when it is new
};

TChoice Choose(const TFacts& facts);
// The folder's name for the window's title when the folder is not the one this program would
// choose by itself (a --folder of another station's); empty when it is that one.
QString NameToShow(const TFacts& facts);

// The facts of this machine for `appDir`.
TFacts Gather(const QString& explicitFolder, const QString& appDir);

// The language files an installation ships: <prefix>/share/kvt-program/lang beside
// <prefix>/bin, else the lang folder beside the executable; empty when there are none.
QString ShippedLanguages(const QString& appDir);

// Makes `folder` usable: creates it and its sub-folders where missing; at the first start (no
// Data folder yet) writes the initial settings files; copies the shipped language files that
// it lacks (an operator's own or edited files stay). False, with the reason in `error`, when
// the folder cannot be created or written.
bool Prepare(const QString& folder, const QString& languages, QString* error);

} // namespace ProgramLocation
