#pragma once

#include <QString>

#include <memory>

class TFolderLock;
class TForm1;
class TFormLang;
class TTerminationWatch;
struct TCommandLine;

// The program as it starts: the main window (whose creation opens the port and applies the
// language), then the hidden language dialog. Destroyed in the opposite order.
struct TProgram {
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFormLang> FormLang;
    ~TProgram();
};

// `portForThisStart`: the port opened at this start instead of the stored number (0: stored).
std::unique_ptr<TProgram> StartProgram(const QString& programFolder, quint32 portForThisStart = 0,
                                       const QString& deviceForThisStart = {});

// The whole run of the window program after its command line was read: the program folder
// chosen and set up, held against a second program, the main window shown and the event loop
// run; the exit status. A termination request (`watch`) ends it wherever it stands, also while
// a box of the start or of the close is shown. `appDir` is the executable's folder.
int RunProgram(const TCommandLine& line, const QString& appDir, TTerminationWatch& watch);
