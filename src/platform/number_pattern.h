#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "regional_settings.h"

// A number pattern of the number and date pattern language ("0.000", "#,##0.00", "0.0%",
// "0.00E+00", up to four sections), compiled once and applied to many values. Digits
// come from the value's 15-significant-digit decimal form and are rounded half away
// from zero on those digits, so "0.00" turns 1.005 into "1.01" and 2.675 into "2.68".
// The pattern's "." and "," become the locale's separators in the output.
class NumberPattern {
public:
    explicit NumberPattern(const QString& pattern);
    ~NumberPattern();
    NumberPattern(const NumberPattern&);
    NumberPattern& operator=(const NumberPattern&);

    // A value that is not finite has no text: the result is empty.
    QString format(double value, const RegionalSettings& regional) const;

    // The number the value's text reads back as in the same regional settings (what a
    // reader of the screen takes the value for); empty where the text is not a number.
    std::optional<double> readBack(double value, const RegionalSettings& regional) const;

    // A text is formatted as the number it holds when it reads as one in the given
    // regional; otherwise it comes back unchanged.
    QString formatText(const QString& text, const RegionalSettings& regional) const;

    struct Item;
    struct Section;

private:
    enum class Kind { General, Currency, Sections, YesNo, TrueFalse, OnOff };

    QString formatSections(double value, const RegionalSettings& regional) const;
    // Digits and one point only ("0.000", "#0.0"): the text is the value's digits rounded
    // to the pattern's decimals, and reads back as that integer over a power of ten.
    bool isPlainFixed() const;
    bool plainFixed_ = false;

    Kind kind_ = Kind::General;
    std::vector<Section> sections_;
};

// The decimals the pattern's first section shows ("0.000" 3, "#,##0" 0).
int patternDecimals(const QString& pattern);
// The plain pattern of so many decimals: 0 "0", 3 "0.000".
QString fixedPattern(int decimals);

// A value with so many significant digits, whatever its size (0,0001234 and 399733
// alike), never fewer decimals than 0 nor more than 15; zero as "0"; not finite: empty.
QString formatSignificant(double value, int digits, const RegionalSettings& regional);

// One-off convenience: compiles the pattern and formats one value.
QString formatNumber(double value, const QString& pattern, const RegionalSettings& regional);

// The pattern-less form: up to 15 significant digits, no grouping, the locale's
// decimal separator, exponent form for very large and very small magnitudes.
QString formatGeneralNumber(double value, const RegionalSettings& regional);
