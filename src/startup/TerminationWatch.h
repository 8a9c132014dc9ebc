#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (a logout, a shutdown, Ctrl+C in the terminal) into a signal on the
// main thread, so that the program closes as from its window's close button, saving what it
// saves then, instead of dying where it stands. One per program.
class TTerminationWatch : public QObject {
    Q_OBJECT
public:
    explicit TTerminationWatch(QObject* parent = nullptr);
    ~TTerminationWatch() override;

signals:
    void Requested();

private:
    void Readable();
    QSocketNotifier* notifier_ = nullptr;
};
