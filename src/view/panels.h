#pragma once

#include <vector>

// The main window's value panels (SSPanel1) by index: 0..12 the analysis header,
// 13..26 the results. There is no panel 2 and no panel 23. The report copies the
// result texts by these indices, so they are named here once.
namespace Panels {

constexpr int kCount = 27;

// header
constexpr int kPartName = 0;
constexpr int kPartNumber = 1;
constexpr int kGaugeName = 3;
constexpr int kGaugeNumber = 4;
constexpr int kGaugeRange = 5;
constexpr int kDate = 6;
constexpr int kTemperature = 7;
constexpr int kHumidity = 8;
constexpr int kCharacteristic = 9;
constexpr int kParts = 10;
constexpr int kAppraisers = 11;
constexpr int kTrials = 12;
constexpr int kLastHeader = 12;

// results
constexpr int kMeanRange = 13;
constexpr int kXdif = 14;
constexpr int kEV = 15;
constexpr int kAV = 16;
constexpr int kRR = 17;
constexpr int kPV = 18;
constexpr int kTV = 19;
constexpr int kPercentEV = 20;
constexpr int kPercentAV = 21;
constexpr int kPercentRR = 22;  // carries the %R&R verdict colour
constexpr int kRp = 24;
constexpr int kREF = 25;
constexpr int kResolution = 26;  // carries the resolution verdict colour

constexpr bool exists(int index) {
    return index >= 0 && index < kCount && index != 2 && index != 23;
}
constexpr bool isHeader(int index) {
    return exists(index) && index <= kLastHeader;
}
constexpr bool isResult(int index) {
    return exists(index) && index > kLastHeader;
}

// The indices of one kind, in order.
inline std::vector<int> headerIndices() {
    std::vector<int> out;
    for (int i = 0; i < kCount; ++i) {
        if (isHeader(i)) {
            out.push_back(i);
        }
    }
    return out;
}
inline std::vector<int> resultIndices() {
    std::vector<int> out;
    for (int i = 0; i < kCount; ++i) {
        if (isResult(i)) {
            out.push_back(i);
        }
    }
    return out;
}

}  // namespace Panels
