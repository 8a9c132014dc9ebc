#pragma once

#include <QString>
#include <QStringList>

class TComPort;
class TCommonDatas;
class TProgramPaths;

// What loading the program settings must ask of the main window: the two stored selections of
// its radio groups. Selecting another item has the effect of the operator's choice.
class ISettingsView {
public:
    virtual ~ISettingsView() = default;
    virtual void SelectControlMode(int mode) = 0;
    virtual void SelectUnitsMode(int mode) = 0;
};

// The three settings files in Data/: portp.dat (the port number), prp.dat (what the window shows,
// what is saved, the editor's automatisms, units, language) and erp.dat (error handling), each
// a short scrambled text of one value per line, flags written "-1" and "0".
//
// Reading applies the lines one by one in file order and stops at the first line that cannot be
// converted (a missing line of a number included): the values before it stay applied, the rest
// keep theirs, and the load reports it failed, so that the caller can say which file. Writing
// replaces a file atomically and creates the Data folder when it is missing.
class TSettingsFiles {
public:
    TSettingsFiles(const TProgramPaths& paths, TCommonDatas& datas);

    QString PortFile() const;
    QString ProgramFile() const;
    QString ErrorFile() const;

    // prp.dat. Without a view (the first load, before the window's handlers can run) the two
    // selections are left for the second load. An empty language code reads as "en". True
    // when every line was read.
    bool LoadProgramSettings(ISettingsView* view);
    // portp.dat: the port number (1..255), then the fixed line settings: 8 data bits, one stop
    // bit, even parity, 9600 baud. A missing or bad number leaves the port's number as it is
    // (the line settings are fixed all the same). True when the number was read.
    bool LoadPortSettings(TComPort& port);
    // erp.dat: the six error-handling values. True when every line was read.
    bool LoadErrorSettings();

    // The lines each file holds for the present values. Throw nothing.
    static QStringList PortSettingsLines(quint32 portNumber);
    QStringList ProgramSettingsLines(int controlMode, int unitsMode) const;
    QStringList ErrorSettingsLines() const;

    // Each writes its file; throws EFileError with the stream's text.
    void WritePortSettings(quint32 portNumber) const;
    void WriteProgramSettings(int controlMode, int unitsMode) const;
    void WriteErrorSettings() const;

    // Each file that does not exist, as a fresh installation holds it: the initial values, port 1.
    // An operator's files stay as they are.
    static void WriteMissingDefaults(const TProgramPaths& paths);

private:
    const TProgramPaths& paths_;
    TCommonDatas& datas_;
};
