#pragma once

#include <QObject>
#include <QString>

#include <deque>

class TLang;

// The message boxes of what the controller reports on its own (a program error, a communication
// error). Each box is shown from the event loop, never from inside the handling of the replies
// that caused it, and one at a time: a text that comes again while a box stands waits its turn
// once, with the count of the times it came ("... (12 times)"), shown when the box closes.
// However fast the errors come, there is one box, and a handful waiting at most.
class TAlertQueue : public QObject {
    Q_OBJECT
public:
    explicit TAlertQueue(const TLang& lang, QObject* parent = nullptr);

    void Add(const QString& text);
    // Drops what waits (the program ends).
    void Clear() { waiting_.clear(); }

private:
    void ShowNext();

    struct TEntry {
        QString text;
        int count = 1; // times it came
    };
    const TLang& lang_;
    std::deque<TEntry> waiting_;
    bool showing_ = false;
};
