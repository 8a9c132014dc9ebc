#pragma once

#include <QString>
#include <QStringList>

class TProgramPaths;
struct TSettings;

// The three settings files in Data/: portp.dat (the port number), prp.dat (what the window shows,
// what is saved, the editor's automatisms, units, language) and erp.dat (error handling), each
// a short scrambled text of one value per line, flags written "-1" and "0". They read into and
// write from one settings value.
//
// Reading takes the lines one by one in file order and stops at the first line that cannot be
// converted (a missing line of a number included): the values before it are taken, the rest
// keep theirs, and the load reports it failed, so that the caller can say which file. A file of
// more than 16 KB, with a line of more than 4,096 characters, or that is no regular file, is
// damaged: none of its values are taken. Writing
// replaces a file atomically and creates the Data folder when it is missing.
class TSettingsFiles {
public:
    explicit TSettingsFiles(const TProgramPaths& paths);

    QString PortFile() const;
    QString ProgramFile() const;
    QString ErrorFile() const;

    // prp.dat. An empty language code reads as "en"; a scale of 0 as 1. True when every line
    // was read.
    bool LoadProgramSettings(TSettings& settings) const;
    // portp.dat: the port number (1..255). A missing or bad number leaves it as it is. True when
    // the number was read.
    bool LoadPortSettings(TSettings& settings) const;
    // erp.dat: the six error-handling values. True when every line was read.
    bool LoadErrorSettings(TSettings& settings) const;

    // The lines each file holds for `settings`.
    static QStringList PortSettingsLines(quint32 portNumber);
    static QStringList ProgramSettingsLines(const TSettings& settings);
    static QStringList ErrorSettingsLines(const TSettings& settings);

    // Each writes its file; throws EFileError with the stream's text.
    void WritePortSettings(quint32 portNumber) const;
    void WriteProgramSettings(const TSettings& settings) const;
    void WriteErrorSettings(const TSettings& settings) const;

    // Each file that does not exist, as a fresh installation holds it: the initial values, port 1.
    // An operator's files stay as they are.
    static void WriteMissingDefaults(const TProgramPaths& paths);

private:
    const QString dataFolder_;
};
