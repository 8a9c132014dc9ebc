#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// When the program ends by a fatal signal (a crash, an abort) or an exception nothing caught, it
// writes what it was doing (the signal or the exception, and the stack) to crash.txt in its log
// folder before it ends as it would have; the next start finds the file, keeps it under the time
// it was written (crash-<time>.txt) and says so, so that such an end can be found and mended.
namespace CrashReport {

// Installs the handlers for fatal signals and for std::terminate; the file goes to `logFolder`.
void Install(const QString& logFolder);

// What an earlier run left in `logFolder`: the file it is kept in now, when it was written, and
// its first line (the signal or the exception). None when the last run ended well.
struct TLast {
    QString file;
    QDateTime written;
    QString cause;
};
std::optional<TLast> TakeLast(const QString& logFolder);

} // namespace CrashReport
