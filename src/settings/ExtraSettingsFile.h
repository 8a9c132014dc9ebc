#pragma once

#include <QString>
#include <QStringList>

class TProgramPaths;
struct TSettings;

// Data/extra-settings.txt: the settings this program keeps beyond portp.dat, prp.dat and
// erp.dat, which keep their exact lines. Readable "name=value" lines (UTF-8, CR LF, not
// scrambled), so that an integrator may set them by hand:
//
//   travel1=on -1000 250000      the travel limits of channel 1, in steps (on or off, low, high)
//   logTimes=off                 the time before every log line
//   journal=on                   the run journal (Data/journal), kept unless set off
//   sessionLogs=off 20           a copy of both logs per session, and how many are kept
//   lastFolder=/home/op/progs    where the file dialogs open
//   recent1=/home/op/pump.kvt    the last program files, newest first (recent1 .. recent5)
//
// A line of a name this version does not know is kept as it stands when the file is written
// again, so that a later version's settings survive a start of this one. A value that can't be
// read keeps its default and makes the load report the file as damaged; so does a file over
// 16 KB, with a line over 4,096 characters, or that is no regular file (none of it is read). A
// missing file is no fault: every value keeps its default.
class TExtraSettingsFile {
public:
    explicit TExtraSettingsFile(const TProgramPaths& paths);

    QString FileName() const { return fileName_; }
    // True when nothing in the file was wrong.
    bool Load(TSettings& settings);
    // Writes the file atomically (creating Data when missing); throws EFileError.
    void Write(const TSettings& settings) const;
    // The lines the file holds for `settings`, the unknown lines of the last load after them.
    QStringList Lines(const TSettings& settings) const;

private:
    QString fileName_;
    QStringList unknownLines_;
};
