#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Holds the program folder for one program at a time: two programs on one folder (two stations
// started without --folder, or the same one twice by mistake) would both write its settings and
// logs when they close, and the last would win without a word. The lock is a file in the folder
// naming the process that holds it; a lock left by a process that no longer runs is taken over.
class TFolderLock {
public:
    explicit TFolderLock(const QString& folder);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    // True when this program now holds the folder.
    bool TryLock();
    // Who holds it, when TryLock failed: the process and its host.
    qint64 HolderPid() const { return pid_; }
    QString HolderHost() const { return host_; }

private:
    std::unique_ptr<QLockFile> file_;
    qint64 pid_ = 0;
    QString host_;
};

// Extra text `index` in the language the program folder's settings name, for what is said before
// the program itself is made (English when the language's file lacks it).
QString FolderLanguageText(const QString& folder, int index);
