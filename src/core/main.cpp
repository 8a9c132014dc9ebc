#include "Unit1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName("KVT_Program");
    TForm1 form(QCoreApplication::applicationDirPath());
    form.show();
    return app.exec();
}
