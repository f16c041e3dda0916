#pragma once

#include <QString>
#include <optional>

#include "number_pattern.h"
#include "regional_settings.h"

// What a number pattern does to a number it should only round: every shown number is
// read back by the grid, the statistics and the report, so a pattern that drops a
// sign, replaces the digits or writes a unit would change the results.
struct ChangedNumber {
    double sample = 0;
    QString shown;
    bool readable = false;  // false: the text does not read as a number at all
};

// The first of a set of samples of both signs whose text does not read back as the
// sample rounded to the decimals the pattern shows; nothing when the pattern is sound.
std::optional<ChangedNumber> findChangedNumber(const NumberPattern& pattern,
                                               const RegionalSettings& regional);
