#pragma once

#include <cmath>

// A figure computed in binary lands a few units of its last bit beside the decimal value
// it stands for: a %R&R of exactly 10 comes out as 10.000000000000002, a ratio of exactly
// 5 as 4.999999999999999. Comparisons with a limit and the whole part of a ratio allow
// for that, relative to the size of the number, so a value at a limit is judged as the
// value it is. No figure of a gauge study is meaningful at a billionth of itself.
namespace BinaryNoise {

constexpr double kRelative = 1e-9;

inline double allowance(double limit) {
    return kRelative * std::fabs(limit);
}

// value <= limit, the limit itself included whatever the last bits say.
inline bool atMost(double value, double limit) {
    return value <= limit + allowance(limit);
}

// value >= limit, likewise.
inline bool atLeast(double value, double limit) {
    return value >= limit - allowance(limit);
}

// The whole part of a non-negative ratio; an exact integer is never one too low.
inline double wholePart(double value) {
    return std::floor(value + allowance(value));
}

}  // namespace BinaryNoise
