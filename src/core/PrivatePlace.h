#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files and sockets that only this user's processes may use (a line's record of what it owes,
// the hand-over socket) live in a folder of this user's that no one else may enter, never under
// a guessable name in a shared folder: another user could plant a pipe there (a reader would
// block for ever), a forged record, or a link (a write would go wherever it points).
namespace PrivatePlace {

// $XDG_RUNTIME_DIR when it is such a folder; else <cache>/kvt-program ($XDG_CACHE_HOME, or
// ~/.cache of the user's home), made for this user alone (0700) when missing. Empty when there is
// none that can be trusted (a folder of another user's, one others may enter, a link).
QString Folder();
// Whether `folder` is a folder (not a link to one) of this user's that no one else may enter.
bool IsPrivateFolder(const QString& folder);

// The bytes of `path` (at most `maxBytes`), read without following a link and without blocking:
// only from a regular file of this user's that no one else may read or write. Nothing otherwise.
std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes);
// Writes `bytes` to `path` through a new file beside it, made for this user alone, then renamed
// over it: whatever stood at the name (a link, a pipe) is replaced, never followed. False when it
// cannot be written.
bool WriteOwnFile(const QString& path, const QByteArray& bytes);

} // namespace PrivatePlace
