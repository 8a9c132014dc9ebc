#pragma once

#include <QString>

#include <functional>

// Bytes put aside on the disk, to be read back once, in order: what a log sheds when it keeps
// only its recent lines in memory. The file has no name (it is gone when closed, also when the
// program dies) and lies in the folder given, made when the first bytes come.
class TSpoolFile {
public:
    explicit TSpoolFile(QString folder) : folder_(std::move(folder)) {}
    ~TSpoolFile();
    TSpoolFile(const TSpoolFile&) = delete;
    TSpoolFile& operator=(const TSpoolFile&) = delete;

    // False when the bytes could not be put aside (the folder can't be written, the disk is
    // full): they are lost, and Failed() says so from then on.
    bool Append(const char* bytes, qsizetype count);
    qint64 Size() const { return size_; }
    bool Failed() const { return failed_; }
    // Hands everything put aside to `sink`, in blocks, from the first byte; false when it
    // could not be read back.
    bool CopyTo(const std::function<void(const char*, qsizetype)>& sink) const;
    // Forgets everything put aside.
    void Clear();

private:
    bool Open();
    QString folder_;
    int fd_ = -1;
    qint64 size_ = 0;
    bool failed_ = false;
};
