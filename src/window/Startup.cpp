#include "Startup.h"

#include "Unit1.h"
#include "UnitLang.h"
#include "session/Session.h"

TProgram::~TProgram() {
    FormLang.reset();
    Form1.reset();
}

std::unique_ptr<TProgram> StartProgram(const QString& programFolder, quint32 portForThisStart) {
    auto program = std::make_unique<TProgram>();
    program->Form1 = std::make_unique<TForm1>(programFolder, portForThisStart);
    // Made hidden and kept until the end: it reports missing dialog texts at once.
    program->FormLang = std::make_unique<TFormLang>(program->Form1->Session());
    program->FormLang->setAttribute(Qt::WA_DeleteOnClose, false);
    return program;
}
