#include "type1_study.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <numeric>

#include "binary_noise.h"

namespace Type1 {

namespace {

using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

double roundedToTwelveDigits(double value) {
    if (value == 0) {
        return 0;
    }
    const double scale = std::pow(10.0, 11 - std::floor(std::log10(std::fabs(value))));
    return std::round(value * scale) / scale;
}

Verdict atLeastCapable(std::optional<double> index) {
    if (!index) {
        return Verdict::None;
    }
    return BinaryNoise::atLeast(*index, kCapable) ? Verdict::Accepted : Verdict::Rejected;
}

void setSpreadAndMean(const std::vector<double>& x, Results& r) {
    r.n = static_cast<int>(x.size());
    r.mean = std::accumulate(x.begin(), x.end(), 0.0) / r.n;
    double squares = 0;
    for (double v : x) {
        squares += (v - r.mean) * (v - r.mean);
    }
    r.sd = std::sqrt(squares / (r.n - 1));
    r.df = r.n - 1;
    r.bias = r.mean - r.reference;
}

// The bias against zero: t, its two-sided p and the 95 % interval.
void setBiasTest(Results& r) {
    const double standardError = r.sd / std::sqrt(static_cast<double>(r.n));
    const boost::math::students_t_distribution<double, InDouble> t(r.df);
    r.t = r.bias / standardError;
    r.p = 2 * boost::math::cdf(boost::math::complement(t, std::fabs(*r.t)));
    const double half = boost::math::quantile(boost::math::complement(t, 0.025)) * standardError;
    r.biasCiLow = r.bias - half;
    r.biasCiHigh = r.bias + half;
    r.biasSignificant = *r.p < kSignificance;
}

void setCapability(Results& r) {
    const double share = r.k / 100 * r.tolerance;
    const double absBias = std::fabs(r.bias);
    r.tMinCg = kCapable * r.l * r.sd / (r.k / 100);
    r.tMinCgk = (kCapable * r.l * r.sd / 2 + absBias) / (r.k / 200);
    if (r.noSpread()) {
        return;
    }
    r.cg = share / (r.l * r.sd);
    r.cgk = (share / 2 - absBias) / (r.l / 2.0 * r.sd);
    r.pctVarRepeatability = r.k / *r.cg;
    r.pctVarRepeatabilityBias = r.k / *r.cgk;
    r.cgVerdict = atLeastCapable(r.cg);
    r.cgkVerdict = atLeastCapable(r.cgk);
}

void setResolution(const Input& in, Results& r) {
    r.resolution = in.resolution;
    if (!r.resolution) {
        r.resolution = smallestStep(in.readings);
        r.resolutionFromReadings = r.resolution.has_value();
    }
    if (r.resolution) {
        r.pctResolution = 100 * *r.resolution / r.tolerance;
        r.resolutionVerdict = BinaryNoise::atMost(*r.pctResolution, kResolutionLimit)
                                  ? Verdict::Accepted
                                  : Verdict::Rejected;
    }
}

}  // namespace

std::optional<double> smallestStep(std::vector<double> readings) {
    std::sort(readings.begin(), readings.end());
    std::optional<double> smallest;
    for (std::size_t i = 1; i < readings.size(); ++i) {
        const double step = roundedToTwelveDigits(readings[i] - readings[i - 1]);
        if (step > 0 && (!smallest || step < *smallest)) {
            smallest = step;
        }
    }
    return smallest;
}

namespace {

std::optional<double> numberIn(const Value& value) {
    return value.isNumber() && std::isfinite(value.number()) ? std::optional(value.number())
                                                             : std::nullopt;
}

}  // namespace

Input inputOf(const Study& study) {
    Input in;
    in.readings.reserve(static_cast<std::size_t>(study.observations.size()));
    for (const Observation& o : study.observations) {
        if (const auto reading = numberIn(o.value)) {
            in.readings.push_back(*reading);
        }
    }
    in.reference = numberIn(study.master);
    in.lsl = numberIn(study.DWG);
    in.usl = numberIn(study.GWG);
    if (const auto resolution = numberIn(study.resolution); resolution && *resolution > 0) {
        in.resolution = resolution;
    }
    if (const auto k = numberIn(study.type1K); k && *k >= 1 && *k <= 50) {
        in.k = *k;
    }
    if (const auto l = numberIn(study.type1L); l && (*l == 4 || *l == 6)) {
        in.l = static_cast<int>(*l);
    }
    return in;
}

Outcome compute(const Input& in) {
    const int n = static_cast<int>(in.readings.size());
    if (n < kFewestReadings) {
        return {std::nullopt, Refusal::TooFewReadings};
    }
    if (n > kMostReadings) {
        return {std::nullopt, Refusal::TooManyReadings};
    }
    if (!in.reference) {
        return {std::nullopt, Refusal::NoReference};
    }
    if (!in.lsl && !in.usl) {
        return {std::nullopt, Refusal::NoLimits};
    }
    Results r;
    r.reference = *in.reference;
    r.k = in.k;
    r.l = in.l;
    r.zeroLimit = !in.lsl ? ZeroLimit::Lower : !in.usl ? ZeroLimit::Upper : ZeroLimit::None;
    r.lsl = in.lsl.value_or(0);
    r.usl = in.usl.value_or(0);
    r.tolerance = r.usl - r.lsl;
    if (!(r.tolerance > 0)) {
        return {std::nullopt, Refusal::ToleranceNotPositive};
    }
    setSpreadAndMean(in.readings, r);
    if (!r.noSpread()) {
        setBiasTest(r);
    }
    setCapability(r);
    setResolution(in, r);
    return {r, Refusal::None};
}

}  // namespace Type1
