#include "decimal_digits.h"

#include <charconv>
#include <cmath>
#include <limits>

DecimalDigits DecimalDigits::fromDouble(double value) {
    DecimalDigits d;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        return d;
    }
    // The shortest form that reads back as the same double is also the value rounded to
    // 15 significant digits whenever it has no more than 15 of them (15-digit steps are
    // wider than the double's): the common case, and much cheaper than a fixed precision.
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    int shortestDigits = 0;
    for (const char* c = buffer; c < result.ptr && *c != 'e'; ++c) {
        shortestDigits += *c != '.';
    }
    if (shortestDigits > 15 || magnitude < std::numeric_limits<double>::min()) {
        result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::scientific, 14);
    }
    // "d.dddddddddddddde[+-]xx"
    const char* e = buffer;
    while (e < result.ptr && *e != 'e') {
        ++e;
    }
    char mantissa[20];
    int length = 0;
    for (const char* c = buffer; c < e; ++c) {
        if (*c != '.') {
            mantissa[length++] = *c;
        }
    }
    while (length > 0 && mantissa[length - 1] == '0') {
        --length;
    }
    int exponent = 0;
    const bool negative = e + 1 < result.ptr && e[1] == '-';
    for (const char* c = e + 2; c < result.ptr; ++c) {
        exponent = exponent * 10 + (*c - '0');
    }
    d.digits.assign(mantissa, static_cast<std::size_t>(length));
    d.power = (negative ? -exponent : exponent) + 1;
    return d;
}

namespace {

void incrementDecimal(std::string& number) {
    for (auto i = number.size(); i-- > 0;) {
        if (number[i] == '9') {
            number[i] = '0';
        } else {
            ++number[i];
            return;
        }
    }
    number.insert(number.begin(), '1');
}

}  // namespace

std::string DecimalDigits::roundedScaled(int decimals) const {
    if (isZero()) {
        return {};
    }
    const long keep = static_cast<long>(power) + decimals;  // digits left of the cut
    std::string kept;
    int firstDropped = 0;
    if (keep > 0) {
        const auto count = static_cast<std::size_t>(keep);
        kept = digits.substr(0, count);
        if (kept.size() < count) {
            kept.append(count - kept.size(), '0');
        }
        if (count < digits.size()) {
            firstDropped = digits[count] - '0';
        }
    } else if (keep == 0) {
        firstDropped = digits[0] - '0';
    }
    if (firstDropped >= 5) {
        incrementDecimal(kept);
    }
    const auto nonZero = kept.find_first_not_of('0');
    return nonZero == std::string::npos ? std::string() : kept.substr(nonZero);
}
