#include "MotionEffect.h"

#include <algorithm>
#include <limits>

namespace {
// Far beyond any real count, and far enough from the type's end that a sum of two stays exact.
constexpr qint64 kCeiling = TMotionEffect::Ceiling;

qint64 Clamp(qint64 value) {
    return std::clamp(value, -kCeiling, kCeiling);
}
} // namespace

qint64 TMotionEffect::Add(qint64 a, qint64 b) {
    return Clamp(Clamp(a) + Clamp(b));
}

qint64 TMotionEffect::Multiply(qint64 a, qint64 b) {
    if (a == 0 || b == 0)
        return 0;
    qint64 product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return (a < 0) != (b < 0) ? -kCeiling : kCeiling;
    return Clamp(product);
}

bool TMotionEffect::Saturated() const {
    for (const qint64 v :
         {moves, stepsForward, stepsBackward, relativeLow, relativeHigh, absoluteLow, absoluteHigh, end})
        if (v >= kCeiling || v <= -kCeiling)
            return true;
    return seconds >= double(kCeiling);
}

TMotionEffect TMotionEffect::Then(const TMotionEffect& next) const {
    TMotionEffect r;
    r.moves = Add(moves, next.moves);
    r.stepsForward = Add(stepsForward, next.stepsForward);
    r.stepsBackward = Add(stepsBackward, next.stepsBackward);
    r.pausesMs = pausesMs + next.pausesMs;
    r.seconds = seconds + next.seconds;
    r.openLine = openLine >= 0 ? openLine : next.openLine;
    r.positionUnknownLine = positionUnknownLine >= 0 ? positionUnknownLine : next.positionUnknownLine;
    r.speedAssumed = speedAssumed || next.speedAssumed;
    r.homingNotTimed = homingNotTimed || next.homingNotTimed;

    if (!homes) {
        // The next stretch starts where this one ends, still relative to the start.
        r.relativeLow = std::min(relativeLow, Add(end, next.relativeLow));
        r.relativeHigh = std::max(relativeHigh, Add(end, next.relativeHigh));
        r.homes = next.homes;
        r.absoluteLow = next.absoluteLow;
        r.absoluteHigh = next.absoluteHigh;
        r.end = next.homes ? next.end : Add(end, next.end);
        return r;
    }
    // This stretch homed: the next one starts at a known absolute position.
    r.relativeLow = relativeLow;
    r.relativeHigh = relativeHigh;
    r.homes = true;
    r.absoluteLow = std::min(absoluteLow, Add(end, next.relativeLow));
    r.absoluteHigh = std::max(absoluteHigh, Add(end, next.relativeHigh));
    if (next.homes) {
        r.absoluteLow = std::min(r.absoluteLow, next.absoluteLow);
        r.absoluteHigh = std::max(r.absoluteHigh, next.absoluteHigh);
        r.end = next.end;
    } else {
        r.end = Add(end, next.end);
    }
    return r;
}

TMotionEffect TMotionEffect::Repeated(qint64 times) const {
    TMotionEffect result; // nothing: the identity of Then
    TMotionEffect power = *this;
    for (qint64 n = std::max<qint64>(times, 0); n > 0; n >>= 1) {
        if (n & 1)
            result = result.Then(power);
        if (n > 1)
            power = power.Then(power);
    }
    return result;
}
