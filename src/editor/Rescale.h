#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class TCommandList;
struct TSettings;
class TKVTCommands;
class TLang;

// Reads the scale the operator typed: a decimal number with a point or a comma as separator,
// whatever the system's separator is. Empty when it is no number, or not above zero.
std::optional<double> ParseScaleText(const QString& text);

struct TRescaleResult {
    bool complete = true; // false: stopped at a motion line whose argument is not whole
    int stoppedAt = -1;   // that line's index
    QString badArgument;  // and its argument
    QList<int> saturated; // lines whose result did not fit 32 bits and was set to the nearest end
};

// Multiplies the argument of every MV, SD, SS and AL line by `ratio` and rounds it to whole
// steps as the rounding mode says; the line keeps its code and gets the plain number (no plus
// sign, no clamping to the controller's ranges). Other lines stay as they are.
TRescaleResult RescaleList(QStringList& lines, double ratio, const TSettings& settings);

// RescaleList on the lines of the command list, whose descriptions stay as the operator typed
// them. Lines after a stop stay as they were.
TRescaleResult RescaleCommandList(TCommandList& list, double ratio, const TSettings& settings);

// The scale the operator typed (1 when it can't be read, `badScale`, or is 0), and the list
// re-scaled by it / the scale of `settings` (and its rounding). The caller takes the new scale.
struct TScaleChange {
    double scale = 1.0;
    bool badScale = false;
    std::optional<QString> notWhole; // the re-scaling stopped at this argument, which is not whole
    QList<int> saturated;            // as in TRescaleResult
};
TScaleChange ApplyScaleText(const QString& scaleText, TCommandList& list, const TSettings& settings);

// The descriptions of the motion lines of `list` (MV, SD, SS, AL) in the operator's units now:
// after a change of the units or the scale they say what the lines hold in the new unit.
void DescribeMotionInUnits(TCommandList& list, const TKVTCommands& commands, const TSettings& settings);

// What a change of the units did to `list` (whose lines were `before`), in the operator's words,
// each with whether it is red: how many motion lines were re-scaled, and each line that now lies
// beyond what its command takes (or did not fit at all). Nothing when the list has no motion line.
QList<std::pair<QString, bool>> RescaleReport(const QStringList& before, const TCommandList& list,
                                              const TScaleChange& change, const TSettings& settings,
                                              const TLang& lang);
