#pragma once
// The test programs' entry point: a private runtime folder, the program's application object
// (QCoreApplication for the tests that need no window, QApplication on the offscreen platform
// for those that open one), then GoogleTest.
#include "core/GuardedApplication.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>

#include <cstdlib>

template <typename App> int RunTests(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private runtime folder, as Qt expects one (mode 0700) and a test machine may lack it.
    char runtime[] = "/tmp/kvt-test-runtime-XXXXXX";
    const bool ownRuntime = mkdtemp(runtime) != nullptr;
    if (ownRuntime)
        qputenv("XDG_RUNTIME_DIR", runtime);
    int result = 0;
    {
        TGuardedApplication<App> app(argc, argv); // as the program's own
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (ownRuntime)
        QDir(runtime).removeRecursively();
    return result;
}
