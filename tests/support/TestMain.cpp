// Test entry point: the program's application object on the offscreen platform, then GoogleTest.
#include "core/GuardedApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private runtime folder, as Qt expects one (mode 0700) and a test machine may lack it.
    char runtime[] = "/tmp/kvt-test-runtime-XXXXXX";
    const bool ownRuntime = mkdtemp(runtime) != nullptr;
    if (ownRuntime)
        qputenv("XDG_RUNTIME_DIR", runtime);
    int result = 0;
    {
        TGuardedApplication<QApplication> app(argc, argv); // as the program's own
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (ownRuntime)
        QDir(runtime).removeRecursively();
    return result;
}
