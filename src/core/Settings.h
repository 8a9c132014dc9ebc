#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The lowest and highest position an axis may reach, in steps; checked only when on.
struct TTravelLimit {
    bool on = false;
    qint64 low = 0;
    qint64 high = 0;
    bool operator==(const TTravelLimit&) const = default;
};
using TTravelLimits = std::array<TTravelLimit, 4>; // by channel, 1..3

// The operator's settings as one value: everything prp.dat, erp.dat and portp.dat hold, the two
// modes of the main window and Direct Control among them. The settings files read it and write
// it whole; the dialogs take a copy, change what they show and hand it back to the session,
// which applies it at once.
struct TSettings {
    enum ControlModes : quint8 { SimpleMode = 0, ExtendedMode = 1 };
    enum UnitsModes : quint8 { StepsUnits = 0, OtherUnits = 1 };

    // --- prp.dat: what the window shows, what is saved, the editor's automatisms, units ---
    bool ShowPortLog = false;
    bool ShowOperationLog = true;
    bool ShowLoadLog = false;
    bool SavePortLog = false;
    bool SaveOperationLog = false;
    bool SaveProgramSettings = true;
    bool SavePortSettings = true;
    bool SaveErrorSettings = true;
    quint8 ControlMode = SimpleMode;
    bool AutoAddEN = true;
    bool AutoAddBG = true;
    bool SaveUnits = true;
    bool SaveUnitsName = true;
    bool SaveUnitsScale = true;
    QString UnitsName = "Step";
    double Scale = 1.0; // steps per user unit, never 0
    quint8 RoundingMode = 0;
    quint8 UnitsMode = StepsUnits;
    QString Language = "en";

    // --- erp.dat: error handling ---
    bool AutoRecovery = true;
    quint8 Er6Reaction = 1;
    quint8 Er9Reaction = 1;
    bool RecoveryBreakComm = true;
    bool RecoveryClearMarks = true;
    quint32 ReplyTime = 300; // milliseconds

    // --- portp.dat ---
    quint32 PortNumber = 1;

    // --- extra-settings.txt: what this program keeps beyond the three files above ---
    TTravelLimits Travel{};
    bool LogTimes = false;         // the time before every operation-log and reply-list line
    bool ShowCodes = false;        // column 1 of the command lists shows each line (empty as described)
    bool KeepSessionLogs = false;  // a copy of both logs per session, named by its start
    quint32 SessionLogCopies = 20; // how many sessions' copies are kept
    bool KeepJournal = true;       // the run journal of what ran (Data/journal)
    QStringList RecentFiles;       // the last program files, newest first (at most five)
    QString LastFolder;            // where the file dialogs open (empty: Users)

    // --- not stored: the "Direct Control" check box ---
    bool DirectControl = false;

    bool operator==(const TSettings&) const = default;
};
