// The entry point of the test programs that need no window (unit and serial tests).
#include "TestMain.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    return RunTests<QCoreApplication>(argc, argv);
}
