#pragma once

#include <QtGlobal>

struct TSettings;

// Turns a value in motor steps (a value in user units times the scale) into whole steps by the
// rounding mode of the shared state: 0 decreasing, 1 increasing, 2 mathematic, each on the value
// truncated toward zero. Any other mode is reset to 0 first.
//
// Values that miss a whole number only by the error of binary fractions (0.29 x 100 gives
// 28.999999999999996) count as that whole number. Values beyond the 32-bit range become its
// nearest end, and `saturated` says so.
qint32 RoundSteps(double x, const TSettings& settings, bool* saturated = nullptr);
