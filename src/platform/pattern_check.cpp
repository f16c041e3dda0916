#include "pattern_check.h"

#include <cmath>

#include "number_reader.h"

namespace {

// Both signs, several magnitudes and a zero: a sign dropped, a constant written or a
// magnitude lost shows in one of them.
constexpr double kSamples[] = {12.345, -12.345, 1234.5678, -1234.5678, 0.0, 0.0012, -0.0012};

// The digits after the decimal separator of a shown number (up to an exponent or a
// suffix).
int decimalsShown(const QString& shown, const RegionalSettings& regional) {
    const int separator = shown.indexOf(regional.decimalSeparator());
    if (separator < 0) {
        return 0;
    }
    int digits = 0;
    for (int i = separator + 1; i < shown.size() && shown.at(i).isDigit(); ++i) {
        ++digits;
    }
    return digits;
}

bool readsBackAsRounded(double sample, double read, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(sample * scale) / scale;
    return std::fabs(read - rounded) <= 1e-9 * std::max(1.0, std::fabs(rounded));
}

}  // namespace

std::optional<ChangedNumber> findChangedNumber(const NumberPattern& pattern,
                                               const RegionalSettings& regional) {
    for (const double sample : kSamples) {
        const QString shown = pattern.format(sample, regional);
        const std::optional<double> read = readLocaleNumber(shown, regional);
        if (!read) {
            return ChangedNumber{sample, shown, false};
        }
        if (!readsBackAsRounded(sample, *read, decimalsShown(shown, regional))) {
            return ChangedNumber{sample, shown, true};
        }
    }
    return std::nullopt;
}
