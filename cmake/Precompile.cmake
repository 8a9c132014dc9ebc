# Precompiled headers: the Qt, standard and GoogleTest headers nearly every file includes are
# parsed once per target instead of once per file, which halves the time a build takes (each of
# the test run's builds: plain, address and thread sanitizers). KVT_PCH=OFF builds without them
# (to check that every file includes what it uses).
option(KVT_PCH "Precompile the common headers" ON)

set(KVT_PCH_CORE <QByteArray> <QList> <QObject> <QString> <QStringList> <QTimer> <functional> <memory> <mutex>
                 <optional> <vector>)
set(KVT_PCH_WIDGETS <QAction> <QCheckBox> <QDialog> <QLabel> <QLineEdit> <QPushButton> <QWidget>)

# kvt_precompile(target core|widgets|tests|window-tests)
function(kvt_precompile target level)
    if(NOT KVT_PCH)
        return()
    endif()
    set(headers ${KVT_PCH_CORE})
    if(level STREQUAL "widgets" OR level STREQUAL "window-tests")
        list(APPEND headers ${KVT_PCH_WIDGETS})
    endif()
    if(level STREQUAL "tests" OR level STREQUAL "window-tests")
        list(APPEND headers <gtest/gtest.h>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# kvt_precompile_like(target other): the headers another target precompiled, reused, so that a
# set of programs built alike (the test programs) parses them once.
function(kvt_precompile_like target other)
    if(KVT_PCH)
        target_precompile_headers(${target} REUSE_FROM ${other})
    endif()
endfunction()
