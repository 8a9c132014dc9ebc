#pragma once

#include <QObject>
#include <QStringList>

#include <array>

class IOperationLog;
class TConnection;
class TLang;
class TReplyHandler;

// Which channels run, as far as this program can tell from what the controller took and said,
// whatever sent it (a list, the simple panel, Direct Control, the command line, a menu, a user
// button, the Stop key): an ST n the controller accepted starts channel n, or stops it when it
// ran (the controller then reports the end at once); a completion, a pause and a resume are
// heard; the operator may say what a channel does (the "?" dialog). When the line opens nothing
// is known: a channel may have been running before, and it is "unknown" until something is heard
// of it. The Stop key trusts this record, never the described indicators (which an ST of Direct
// Control leaves green): ST n toggles, so an ST must never go to a channel that stands.
//
// It also follows the program being recorded (LD n accepted, up to its ED), so that a line lost
// inside it can be named, and its recording ended at the next open on the operator's word.
class TRunningChannels : public QObject {
    Q_OBJECT
public:
    enum class Run { Idle, Running, Paused, Unknown };
    // Why a coordinate's run changed: the controller said it (a completion, a pause, a resume),
    // it took an ST that started or stopped it, or the operator said what it does.
    enum class Cause { Heard, Started, Stopped, ByHand };

    TRunningChannels(TReplyHandler& replies, TConnection& connection, const TLang& lang, IOperationLog& log);

    Run State(int channel) const;
    // The channels an ST stops (running or paused), and those of which nothing is known.
    QList<int> Running() const;
    QList<int> Unknown() const;
    // What the operator says a channel does (its state set by hand: 0 standby .. 3 paused).
    void SetByHand(int channel, quint8 state);

    // The recording left open when the line was lost: its channel (0: none) and the lines it
    // holds, LD first. Forgotten once the operator has been asked about it.
    int LeftRecording() const { return leftOpen_; }
    const QStringList& LeftRecordingLines() const { return leftLines_; }
    void ForgetLeftRecording();

signals:
    void Changed();
    // Channel `channel` went from `from` to `to` (after Changed).
    void Went(int channel, Run from, Run to, Cause cause);
    // The line opened while a recording it lost stays open in the controller: the operator may
    // end it (ED).
    void RecordingLeftOpen(int channel, const QStringList& lines);

private:
    void Token(const QString& token);
    void Set(int channel, Run run, Cause cause = Cause::Heard);
    static bool Valid(int channel) { return channel >= 1 && channel <= 3; }

    const TLang& lang_;
    IOperationLog& log_;
    std::array<Run, 4> runs_{Run::Unknown, Run::Unknown, Run::Unknown, Run::Unknown}; // 1..3
    // Whether a channel holds a program ("ST" alone starts only those): 1 yes, 0 no, -1 unknown.
    std::array<int, 4> holds_{-1, -1, -1, -1};
    QString lastEcho_;
    int recording_ = 0; // the channel being recorded, as heard
    QStringList recordingLines_;
    int leftOpen_ = 0;
    QStringList leftLines_;
};
