#pragma once

#include <QString>
#include <QStringList>

// The controller simulator as a process of its own, linked as ports/COM1 of a program folder,
// so that the CPU time a benchmark measures in its own process is the sender's alone.
class Responder {
public:
    // Starts kvtsim with `arguments` and waits until its link exists. False when it cannot.
    bool Start(const QString& programFolder, const QStringList& arguments);
    void Stop();
    ~Responder() { Stop(); }
    QString Link() const { return link_; }

private:
    int pid_ = -1;
    QString link_;
};

// CPU time of this process (all its threads), in seconds.
double ProcessCpuSeconds();
// CPU time of the finished child processes, in seconds.
double ChildrenCpuSeconds();
// Resident memory of this process, in bytes.
long long ResidentBytes();
