#pragma once

#include <optional>
#include <vector>

#include "study.h"
#include "verdict.h"

// The type-1 gauge study: one reference part (a setting master) measured n times in a
// row by one person. The gauge's capability against a share K of the tolerance spread
// over L standard deviations (Cg), the same with its bias (Cgk), the bias's t-test, and
// the resolution against the tolerance.
namespace Type1 {

constexpr int kFewestReadings = 10;
constexpr int kMostReadings = 1000;
constexpr int kAdvisedReadings = 25;    // the least the Bosch booklet 10 asks for (50 usual)
constexpr double kCapable = 1.33;       // Cg and Cgk at or above it are accepted
constexpr double kResolutionLimit = 5;  // %RE at or below it is accepted
constexpr double kSignificance = 0.05;  // the bias test's level
constexpr double kDefaultK = 20;
constexpr int kDefaultL = 6;

struct Input {
    std::vector<double> readings;      // in the order they were taken
    std::optional<double> reference;   // x_m, the master's value
    std::optional<double> lsl;         // DWG
    std::optional<double> usl;         // GWG
    std::optional<double> resolution;  // the gauge's; empty: read off the readings
    double k = kDefaultK;              // percent of the tolerance, 1..50
    int l = kDefaultL;                 // standard deviations the spread counts, 4 or 6
};

// Why a study cannot be computed at all.
enum class Refusal {
    None,
    TooFewReadings,
    TooManyReadings,
    NoReference,
    NoLimits,
    ToleranceNotPositive
};

// Which tolerance limit was not given and stands at the natural zero.
enum class ZeroLimit { None, Lower, Upper };

struct Results {
    int n = 0;
    double reference = 0;
    double lsl = 0;
    double usl = 0;
    ZeroLimit zeroLimit = ZeroLimit::None;
    double tolerance = 0;
    double k = kDefaultK;
    int l = kDefaultL;
    double mean = 0;
    double sd = 0;  // n - 1 in the denominator
    double bias = 0;
    int df = 0;
    // Empty when every reading is equal (s = 0): no spread to judge the gauge by.
    std::optional<double> t;
    std::optional<double> p;
    std::optional<double> biasCiLow;
    std::optional<double> biasCiHigh;
    std::optional<double> cg;
    std::optional<double> cgk;
    std::optional<double> pctVarRepeatability;
    std::optional<double> pctVarRepeatabilityBias;
    std::optional<double> resolution;  // empty: none given and no step between readings
    bool resolutionFromReadings = false;
    std::optional<double> pctResolution;
    std::optional<double> tMinCg;
    std::optional<double> tMinCgk;
    Verdict cgVerdict = Verdict::None;
    Verdict cgkVerdict = Verdict::None;
    Verdict resolutionVerdict = Verdict::None;
    std::optional<bool> biasSignificant;
    bool fewerThanAdvised() const { return n < kAdvisedReadings; }
    bool noSpread() const { return sd == 0; }
};

struct Outcome {
    std::optional<Results> results;
    Refusal refusal = Refusal::None;
};

Outcome compute(const Input& input);

// The input a stored study of this kind gives: its readings that hold a number, in
// order, the master's value, the limits given, the resolution when it is a positive
// number, K and L from the settings (their defaults when empty or out of range).
Input inputOf(const Study& study);

// The smallest non-zero step between two of the readings (to twelve significant digits,
// so the binary noise of a subtraction does not make a step of its own); empty when all
// are equal.
std::optional<double> smallestStep(std::vector<double> readings);

}  // namespace Type1
