#pragma once

#include <QString>

// The folders of the program folder are the operator's alone: each one the program makes is made
// 0700 (read, written and entered by its owner only), whatever the umask, so that under a umask
// of 000 no other local user can write into it (its ports/ links name the devices opened).
namespace Folders {
// Makes `path` and every missing folder above it. False, with the errno in `error`, when one
// can't be made or is no folder.
bool Make(const QString& path, int* error = nullptr);
} // namespace Folders
