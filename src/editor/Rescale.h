#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TCommandList;
class TCommonDatas;

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
TRescaleResult RescaleList(QStringList& lines, double ratio, TCommonDatas& datas);

// RescaleList on the lines of the command list, whose descriptions stay as the operator typed
// them. Lines after a stop stay as they were.
TRescaleResult RescaleCommandList(TCommandList& list, double ratio, TCommonDatas& datas);

// The scale the operator typed, taken: 1 when it can't be read (`badScale`), and the list
// re-scaled by new / old.
struct TScaleChange {
    bool badScale = false;
    std::optional<QString> notWhole; // the re-scaling stopped at this argument, which is not whole
    QList<int> saturated;            // as in TRescaleResult
};
TScaleChange ApplyScaleText(const QString& scaleText, TCommandList& list, TCommonDatas& datas);
