#pragma once

#include "Settings.h"

#include <QString>

// The operator's settings as those who only read them see them: a controller (its reply time,
// its reactions to errors, the texts its channel states are said in) and the parts that turn
// typed values into commands (the scale, the rounding, the units). The settings' owner
// (TCommonDatas) is the one that changes them.
//
// ReplyTime and Reactions may be read from any thread (the sending's, the read-back's); the rest
// on the main thread.
class ISettingsView {
public:
    // The language texts captions and log lines are composed of; replaced when a language is
    // applied.
    struct TTexts {
        QString CoordinatesText = "Coordinates:  ";
        QString CoordText = "Coord";
        QString ExecutingText = "program executing";
        QString ScaleText = "Scale";
        QString StepsText = "steps";
        QString RoundDownText = "Decreasing rounding";
        QString RoundUpText = "Increasing rounding";
        QString RoundMathText = "Mathematic rounding";
    };
    // What the worker threads read of the error settings.
    struct TReactions {
        quint8 er6 = 1, er9 = 1;
        bool autoRecovery = true, breakComm = true, clearMarks = true;
    };

    virtual const TSettings& Settings() const = 0;
    virtual const TTexts& Texts() const = 0;
    virtual quint32 ReplyTime() const = 0;
    virtual TReactions Reactions() const = 0;

protected:
    ~ISettingsView() = default;
};
