#pragma once

#include <cmath>

// Positions and sizes of the classic layout are in twips, 1440 to the inch.
namespace Twips {

constexpr int kPerInch = 1440;

inline int toPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kPerInch));
}

}  // namespace Twips
