#include "RoundSteps.h"

#include "core/Settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

qint32 RoundSteps(double x, const TSettings& settings, bool* saturated) {
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    if (saturated)
        *saturated = false;
    if (std::isnan(x))
        return 0;
    const double nearest = std::round(x);
    if (std::fabs(x - nearest) <= 1e-9 * std::max(1.0, std::fabs(x)))
        x = nearest;
    if (x >= highest || x <= lowest) {
        if (saturated)
            *saturated = x > highest || x < lowest;
        return x > 0 ? qint32(highest) : qint32(lowest);
    }
    const double t = std::trunc(x);
    double result = t;
    if (settings.RoundingMode == 1 && x - t > 0)
        result = t + 1;
    else if (settings.RoundingMode == 2 && x - t >= 0.5)
        result = t + 1;
    return qint32(std::min(result, highest));
}
