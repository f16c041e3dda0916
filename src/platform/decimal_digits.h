#pragma once

#include <string>

// A non-negative number as the pattern formatter sees it: at most 15 significant
// decimal digits, value = 0.<digits> x 10^power. Zero has no digits. All rounding of
// the display works on these digits, never on the binary double, so 1.005 is "1005".
struct DecimalDigits {
    std::string digits;  // no leading or trailing zeros
    int power = 0;

    bool isZero() const { return digits.empty(); }

    // abs(value) to 15 significant digits; value must be finite.
    static DecimalDigits fromDouble(double value);

    // Rounds half away from zero so that `decimals` digits remain after the point
    // (decimals may be negative); returns the kept integer digits of value x 10^decimals
    // as text without leading zeros ("" for zero).
    std::string roundedScaled(int decimals) const;
};
