#include "control_limits.h"

#include <algorithm>
#include <cmath>

#include "binary_noise.h"

namespace ControlLimits {

namespace {

struct Constants {
    double d4;
    double a2;
};

// The AIAG form's constants by the number of trials.
std::optional<Constants> constantsFor(int trials) {
    if (trials == 2) {
        return Constants{3.27, 1.880};
    }
    if (trials == 3) {
        return Constants{2.58, 1.023};
    }
    return std::nullopt;
}

bool balanced(const Anova::Values& y) {
    if (y.empty() || y[0].empty()) {
        return false;
    }
    for (const auto& appraiser : y) {
        if (appraiser.size() != y[0].size()) {
            return false;
        }
        for (const auto& part : appraiser) {
            if (part.size() != y[0][0].size()) {
                return false;
            }
        }
    }
    return true;
}

void subgroups(const Anova::Values& y, Results& out) {
    double sum = 0;
    int count = 0;
    for (const auto& appraiser : y) {
        std::vector<double> averages;
        std::vector<double> ranges;
        for (const auto& trials : appraiser) {
            const auto [low, high] = std::minmax_element(trials.begin(), trials.end());
            double subtotal = 0;
            for (const double v : trials) {
                subtotal += v;
            }
            sum += subtotal;
            count += static_cast<int>(trials.size());
            averages.push_back(subtotal / static_cast<double>(trials.size()));
            ranges.push_back(*high - *low);
        }
        out.averages.push_back(std::move(averages));
        out.ranges.push_back(std::move(ranges));
    }
    out.xbarbar = sum / count;
}

// Averages of equal values may differ from the grand average in the last bit; such a
// difference is rounding, not a point outside the limits.
void flags(Results& out) {
    const double rounding = 1e-12 * std::max(1.0, std::fabs(out.xbarbar));
    for (std::size_t i = 0; i < out.ranges.size(); ++i) {
        for (std::size_t j = 0; j < out.ranges[i].size(); ++j) {
            const double range = out.ranges[i][j];
            if (!BinaryNoise::atMost(range, out.uclR)) {
                out.flaggedRanges.push_back({static_cast<int>(i), static_cast<int>(j), range});
            }
            const double average = out.averages[i][j];
            const bool outside = average > out.uclX + rounding || average < out.lclX - rounding;
            out.averagesOutside += outside ? 1 : 0;
            ++out.averagesTotal;
        }
    }
}

}  // namespace

std::optional<Results> compute(const Anova::Values& y, std::optional<double> meanRange) {
    if (!balanced(y) || !meanRange || !std::isfinite(*meanRange)) {
        return std::nullopt;
    }
    Results out;
    out.trials = static_cast<int>(y[0][0].size());
    const std::optional<Constants> c = constantsFor(out.trials);
    if (!c) {
        return std::nullopt;
    }
    out.d4 = c->d4;
    out.a2 = c->a2;
    subgroups(y, out);
    if (!std::isfinite(out.xbarbar)) {
        return std::nullopt;
    }
    out.rbar = *meanRange;
    out.uclR = out.d4 * out.rbar;
    out.lclR = 0;
    out.uclX = out.xbarbar + out.a2 * out.rbar;
    out.lclX = out.xbarbar - out.a2 * out.rbar;
    flags(out);
    return out;
}

int trialToRemeasure(const Anova::Values& y, const Flag& flag) {
    double sum = 0;
    int count = 0;
    for (const auto& appraiser : y) {
        for (const double v : appraiser.at(static_cast<std::size_t>(flag.part))) {
            sum += v;
            ++count;
        }
    }
    const double partMean = count > 0 ? sum / count : 0;
    const auto& trials =
        y.at(static_cast<std::size_t>(flag.appraiser)).at(static_cast<std::size_t>(flag.part));
    int farthest = 0;
    for (int t = 1; t < static_cast<int>(trials.size()); ++t) {
        if (std::fabs(trials[t] - partMean) > std::fabs(trials[farthest] - partMean)) {
            farthest = t;
        }
    }
    return farthest;
}

}  // namespace ControlLimits
