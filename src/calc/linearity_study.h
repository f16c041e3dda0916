#pragma once

#include <optional>
#include <vector>

#include "study.h"

// Bias and linearity (AIAG MSA): g reference parts across the gauge's range, each
// measured m times; the bias of every reading regressed on the part's reference value.
// The gauge's linearity is acceptable when the line bias = 0 lies inside the 95 %
// confidence band of the fitted line over the range of the references.
namespace Linearity {

constexpr int kFewestParts = 2;
constexpr int kMostParts = 20;
constexpr int kAdvisedParts = 5;  // what the AIAG manual asks for at least
constexpr int kFewestReadings = 2;
constexpr int kMostReadings = 50;
constexpr int kAdvisedReadings = 10;
constexpr double kConfidence = 0.95;

struct Point {
    int part = 0;  // from 1
    double reference = 0;
    double value = 0;
};

struct Input {
    std::vector<Point> points;
    std::optional<double> processVariation;  // PV, 6 σ of the process
};

enum class Refusal {
    None,
    TooFewParts,
    TooManyParts,
    TooFewReadings,
    TooManyReadings,
    ReferenceNotOne,  // a part's readings carry different reference values, or none
    ReferencesEqual,  // no regression
};

// One part: its mean bias and that bias's t-test against 0 with the part's own s
// (df n − 1); none for a part of one reading or of equal readings.
struct PartResult {
    int part = 0;
    double reference = 0;
    int n = 0;
    double bias = 0;
    std::optional<double> t;
    std::optional<double> p;
    std::optional<double> pctBias;
};

struct Results {
    int g = 0;
    int m = 0;  // readings per part; the fewest when the parts differ
    int n = 0;  // all readings
    double slope = 0;
    double intercept = 0;
    double r2 = 0;  // of bias on reference; empty sum of squares of the bias: 1
    double s = 0;
    double seSlope = 0;
    double seIntercept = 0;
    std::optional<double> tSlope;  // none when s = 0
    std::optional<double> tIntercept;
    int df = 0;
    double tCrit = 0;
    std::optional<double> pSlope;
    std::optional<double> pIntercept;
    std::optional<double> processVariation;
    std::optional<double> linearity;  // |a|·PV
    double pctLinearity = 0;          // 100·|a|
    double averageBias = 0;
    std::optional<double> pctBias;
    bool acceptable = false;
    double referenceLow = 0;
    double referenceHigh = 0;
    double referenceMean = 0;
    double sxx = 0;
    std::vector<PartResult> parts;

    bool fewerPartsThanAdvised() const { return g < kAdvisedParts; }
    bool fewerReadingsThanAdvised() const { return m < kAdvisedReadings; }
    bool perfectLine() const { return s == 0; }
    double line(double x) const { return intercept + slope * x; }
    // The half width of the 95 % band of the fitted line at x.
    double bandHalfWidth(double x) const;
};

struct Outcome {
    std::optional<Results> results;
    Refusal refusal = Refusal::None;
};

Outcome compute(const Input& input);

// A stored study of this kind: each reading that holds a number, with its part and the
// part's reference value; PV from the analysis.
Input inputOf(const Study& study);

}  // namespace Linearity
