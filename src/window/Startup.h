#pragma once

#include <QString>

#include <memory>

class TForm1;
class TFormLang;

// The program as it starts: the main window (whose creation opens the port and applies the
// language), then the hidden language dialog. Destroyed in the opposite order.
struct TProgram {
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFormLang> FormLang;
    ~TProgram();
};

// `portForThisStart`: the port opened at this start instead of the stored number (0: stored).
std::unique_ptr<TProgram> StartProgram(const QString& programFolder, quint32 portForThisStart = 0);
