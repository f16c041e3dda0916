#include "decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

DecimalDigits DecimalDigits::fromDouble(double value) {
    DecimalDigits d;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        return d;
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
    // "d.dddddddddddddde[+-]xx"
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::atoi(text.c_str() + e + 1);
    while (!mantissa.empty() && mantissa.back() == '0') {
        mantissa.pop_back();
    }
    d.digits = mantissa;
    d.power = exponent + 1;
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
