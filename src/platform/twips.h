#pragma once

#include <QtGlobal>
#include <cmath>

// Positions and sizes of the delivered layout are in twips, 1440 to the inch; the screen
// it was drawn for has 96 dots per inch. Every conversion between twips and a device's
// dots is made here.
namespace Twips {

constexpr int kPerInch = 1440;
constexpr double kScreenDpi = 96.0;

inline double toDevice(double twips, double dotsPerInch) {
    return twips * dotsPerInch / kPerInch;
}

inline double fromDevice(double dots, double dotsPerInch) {
    return dots * kPerInch / dotsPerInch;
}

inline int toPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(toDevice(twips, dotsPerInch)));
}

// Dots per inch as an image file's dots per meter.
inline int dotsPerMeter(double dotsPerInch) {
    return qRound(dotsPerInch / 0.0254);
}

}  // namespace Twips
