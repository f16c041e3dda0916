#pragma once

#include <cmath>
#include <optional>

// A figure that is there and within `within` of the value expected.
inline bool near(std::optional<double> value, double expected, double within) {
    return value && std::fabs(*value - expected) <= within;
}
