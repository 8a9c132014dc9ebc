#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;
class TLang;
class TSending;

// How far a long sending is, in the status panel: a bar and a caption such as
// "Line 120 of 1000, 0:02, about 0:15 left". Hidden while nothing long is being sent.
class TSendingProgress : public QWidget {
    Q_OBJECT
public:
    explicit TSendingProgress(const char* name, QWidget* parent = nullptr);
    // Follows `sending`: while a list of more than one line goes out, redrawn every 200 ms (so a
    // list sent faster never shows it), `beside` hidden meanwhile, and the line on its way told
    // to `highlight` (0 when none).
    void Follow(TSending& sending, const TLang& lang, QWidget* beside, std::function<void(int)> highlight);

    // `caption` holds %1 (the line), %2 (the count of lines) and %3 (the time elapsed);
    // `timeLeft` holds %1 (the time still needed at the pace so far), shown after it once a
    // line has been sent.
    void Show(const QString& caption, const QString& timeLeft, int line, int count, qint64 elapsedMs);

    // The time the lines after `line` need at the pace of those before it; -1 before a line has
    // been answered.
    static qint64 EstimatedLeftMs(int line, int count, qint64 elapsedMs);
    QString Caption() const;
    int Maximum() const;

    // "m:ss", or "h:mm:ss" from an hour on.
    static QString ElapsedText(qint64 elapsedMs);

private:
    void Update();
    void Hide();
    QLabel* label_;
    QProgressBar* bar_;
    QTimer* timer_ = nullptr;
    TSending* sending_ = nullptr;
    const TLang* lang_ = nullptr;
    QWidget* beside_ = nullptr;
    std::function<void(int)> highlight_;
};
