#pragma once

#include <QByteArray>
#include <QString>

// A bare pseudo-terminal for serial tests: the test plays the controller on the master side
// while the port under test opens the slave. A second descriptor on the slave keeps the
// terminal alive while the port has it closed, and lets the test read its line settings.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool Ok() const { return master_ >= 0; }
    const QString& SlavePath() const { return slave_; }
    int KeeperFd() const { return keeper_; }

    void Write(const QByteArray& bytes);
    // Reads what the port sent until `count` bytes have come or `timeoutMs` passed.
    QByteArray Read(int count, int timeoutMs = 2000);
    // Closes the master side, as an unplugged device does.
    void HangUp();

private:
    int master_ = -1;
    int keeper_ = -1;
    QString slave_;
};
