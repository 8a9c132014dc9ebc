#include "QtDialogs.h"
#include "Startup.h"
#include "Unit1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName("KVT_Program");
    TQtDialogs dialogs;
    SetDialogs(&dialogs);
    const auto program = StartProgram(QCoreApplication::applicationDirPath());
    program->Form1->show();
    const int result = app.exec();
    SetDialogs(nullptr);
    return result;
}
