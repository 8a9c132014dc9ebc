#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class TCliOutput;
class TJournalFiles;

// kvtctl's side of the run journal: printing it, and finding where the last sending of a file
// stopped, for send --resume.
namespace CliJournal {

// Prints the records from `since` (empty: all; a day or an ISO 8601 time) of coordinate
// `channel` (0: all) as events; false with `why` when `since` can't be read.
bool Print(TCliOutput& out, const TJournalFiles& files, const QString& since, int channel, QString& why);

// The first line not answered (0-based, in `lines`) of the last sending of `file` that the
// journal holds, when that sending stopped before its end and the file still holds what it sent;
// none with `why` otherwise.
std::optional<int> StoppedLine(const TJournalFiles& files, const QString& file, const QStringList& lines,
                               QString& why);

} // namespace CliJournal
