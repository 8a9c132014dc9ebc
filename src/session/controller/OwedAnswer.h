#pragma once

#include "protocol/OwedAnswers.h"

#include <QString>

// What a session leaves owed on a line when it closes it (a line that gave up before its
// answer came), kept for the next session on the same device: another call of kvtctl, or the
// window started again, waits for that answer too before it sends, instead of taking it for
// the answer of its own first line. Kept in this user's private place (PrivatePlace), a small
// file per device, gone once it is read or once nothing is owed (or after a day unread).
namespace OwedAnswer {
// The file for `device` (resolved through its links, so that a port number's link and the
// device it names share it); empty when this user has no private place.
QString FileFor(const QString& device);
// Writes what `book` holds as owed on `device` (quiet for `quietMs` after the line gave up), or removes
// the file when nothing is owed.
void Keep(const QString& device, const TOwedAnswers& book, int quietMs);
// Hands what an earlier session left owed on `device` to `book` (a wait of `longestWaitMs` at
// most, whatever the record asks), and removes the file.
void Restore(const QString& device, TOwedAnswers& book, int longestWaitMs);
} // namespace OwedAnswer
