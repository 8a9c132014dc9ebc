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

std::unique_ptr<TProgram> StartProgram(const QString& programFolder);
