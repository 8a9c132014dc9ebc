#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// How far a long transmission is, in the status panel: a bar and a caption such as
// "Line 120 of 1000, 0:02". Hidden while nothing long is being sent.
class TSendingProgress : public QWidget {
    Q_OBJECT
public:
    explicit TSendingProgress(const char* name, QWidget* parent = nullptr);

    // `caption` holds %1 (the line), %2 (the count of lines) and %3 (the time elapsed).
    void Show(const QString& caption, int line, int count, qint64 elapsedMs);
    QString Caption() const;
    int Maximum() const;

    // "m:ss", or "h:mm:ss" from an hour on.
    static QString ElapsedText(qint64 elapsedMs);

private:
    QLabel* label_;
    QProgressBar* bar_;
};
