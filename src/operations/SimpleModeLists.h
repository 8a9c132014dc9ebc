#pragma once

#include <QString>
#include <QStringList>

class TCommandList;
class TChannelState;
struct TSettings;
class TKVTCommands;

// One motion as the simple panel describes it.
struct TMotion {
    QString steps;          // number of steps (or units) to move
    bool permanent = false; // move without end
    QString speed;          // maximum speed
    QString startSpeed;     // start speed, sent only with an acceleration
    bool accelerate = false;
    QString acceleration;
    bool backward = false;
};

// What a button of the simple mode writes: the motion, the start, the stop, or the motion and the
// start.
enum class TSimpleAction { Write, Start, Stop, WriteAndStart };

// The command lists of the simple control mode: the motion written into every selected channel
// in standby, the start of those channels, and the stop of those that run, each appended to the
// command list. Every command goes through AddCommand, so a value it refuses is left out while
// the rest still follow; the refusals (range messages and conversion errors) are kept in order
// for the caller to show.
class TSimpleModeLists {
public:
    // `state` tells the selected channels and their states; the stop list marks those it stops
    // as running (their ST is a stop).
    TSimpleModeLists(const TKVTCommands& commands, const TSettings& settings, TChannelState& state,
                     TCommandList& list)
        : commands_(commands), settings_(settings), state_(state), list_(list) {}

    void BuildMotionBlock(const TMotion& motion);
    void BuildWriteList(const TMotion& motion);
    void BuildStartList();
    void BuildStopList();
    // The list of `action` (the motion for Write and WriteAndStart).
    void Build(TSimpleAction action, const TMotion& motion);
    const QStringList& Refusals() const { return refusals_; }

private:
    void Add(int index, const QString& argument);
    bool Eligible(int channel, bool running) const;

    const TKVTCommands& commands_;
    const TSettings& settings_;
    TChannelState& state_;
    TCommandList& list_;
    QStringList refusals_;
};
