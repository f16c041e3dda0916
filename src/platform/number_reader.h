#pragma once

#include <QString>
#include <optional>

#include "regional_settings.h"

// Reads a whole text as a number the way the user's regional settings write it
// (Polish: "1,5" is 1.5, "1.5" is not a number; "1 000,5" with a plain or a no-break
// space is 1000.5). Leading and trailing signs, parentheses, the currency symbol and
// an exponent are accepted; anything left over makes the text not a number.
std::optional<double> readLocaleNumber(const QString& text, const RegionalSettings& regional);

inline bool isNumeric(const QString& text, const RegionalSettings& regional) {
    return readLocaleNumber(text, regional).has_value();
}

// The leading-number reader: reads from the start, skips blanks anywhere,
// takes only "." as the decimal point in every locale, stops at the first character
// that cannot continue the number, and gives 0 when there is none. "&H"/"&O" prefixes
// read hexadecimal and octal.
double readLeadingNumber(const QString& text);

// The editors' decimal-text reader: the first comma becomes a point, then the leading
// number is read; the result is single precision. "1,5,7" reads as 1.5.
float readDecimalText(const QString& text);
