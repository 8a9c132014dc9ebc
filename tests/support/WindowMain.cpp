// The entry point of the test programs that open windows (window and end-to-end tests).
#include "TestMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    return RunTests<QApplication>(argc, argv);
}
