#pragma once

#include "FileHandOver.h"
#include "startup/FolderLock.h"

#include <QString>

// The program folder claimed for this program, first thing at start: its lock and, once held,
// the socket that files opened from the file manager are handed over on, made in one step. A
// second start that finds the folder held therefore finds the socket too and hands its file
// over, however early (the file waits until the window is ready), instead of asking whether to
// run read only.
class TFolderClaim {
public:
    explicit TFolderClaim(const QString& folder) : lock_(folder), handOver_(folder) {}

    // True when this program now holds the folder (and listens for files, if it can). The
    // folder must exist.
    bool Claim() {
        if (!lock_.TryLock())
            return false;
        handOver_.Listen();
        return true;
    }
    const TFolderLock& Lock() const { return lock_; }
    TFileHandOver& HandOver() { return handOver_; }

private:
    TFolderLock lock_;
    TFileHandOver handOver_;
};
