#pragma once

#include <QString>
#include <cstdint>
#include <cstring>

#include "regional_settings.h"

// One fuzzer input taken apart: the first byte picks the regional settings, the next
// eight are a number, the rest is a text (a pattern, or a text to read) in UTF-8.
struct FuzzInput {
    RegionalSettings regional = RegionalSettings::polish();
    double number = 0;
    QString text;

    static FuzzInput from(const uint8_t* data, size_t size) {
        FuzzInput in;
        const uint8_t pick = size > 0 ? data[0] : 0;
        in.regional = pick % 3 == 0   ? RegionalSettings::polish()
                      : pick % 3 == 1 ? RegionalSettings::polishLegacy()
                                      : RegionalSettings::english();
        if (size >= 9) {
            std::memcpy(&in.number, data + 1, sizeof in.number);
        }
        const size_t start = size >= 9 ? 9 : size;
        in.text = QString::fromUtf8(reinterpret_cast<const char*>(data + start),
                                    static_cast<qsizetype>(size - start));
        return in;
    }
};
