#include "linearity_study.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <map>

#include "binary_noise.h"

namespace Linearity {

namespace {

using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

double twoSidedP(double t, int df) {
    const boost::math::students_t_distribution<double, InDouble> distribution(df);
    return 2 * boost::math::cdf(boost::math::complement(distribution, std::fabs(t)));
}

double criticalT(int df) {
    const boost::math::students_t_distribution<double, InDouble> distribution(df);
    return boost::math::quantile(boost::math::complement(distribution, (1 - kConfidence) / 2));
}

struct Part {
    double reference = 0;
    std::vector<double> bias;
    bool oneReference = true;
};

std::map<int, Part> partsOf(const Input& in) {
    std::map<int, Part> parts;
    for (const Point& p : in.points) {
        auto [it, added] = parts.try_emplace(p.part);
        Part& part = it->second;
        if (added) {
            part.reference = p.reference;
        } else if (p.reference != part.reference) {
            part.oneReference = false;
        }
        part.bias.push_back(p.value - p.reference);
    }
    return parts;
}

Refusal refusalOf(const std::map<int, Part>& parts) {
    const int g = static_cast<int>(parts.size());
    if (g < kFewestParts) {
        return Refusal::TooFewParts;
    }
    if (g > kMostParts) {
        return Refusal::TooManyParts;
    }
    bool allEqual = true;
    std::size_t most = 0;
    for (const auto& [number, part] : parts) {
        const int m = static_cast<int>(part.bias.size());
        most = std::max(most, part.bias.size());
        if (m > kMostReadings) {
            return Refusal::TooManyReadings;
        }
        if (!part.oneReference) {
            return Refusal::ReferenceNotOne;
        }
        allEqual = allEqual && part.reference == parts.begin()->second.reference;
    }
    // A part of one reading is computed (without a test of its own); a study of such
    // parts only is not.
    if (static_cast<int>(most) < kFewestReadings) {
        return Refusal::TooFewReadings;
    }
    return allEqual ? Refusal::ReferencesEqual : Refusal::None;
}

PartResult partResult(int number, const Part& part, const std::optional<double>& pv) {
    PartResult r;
    r.part = number;
    r.reference = part.reference;
    r.n = static_cast<int>(part.bias.size());
    double sum = 0;
    for (double b : part.bias) {
        sum += b;
    }
    r.bias = sum / r.n;
    double squares = 0;
    for (double b : part.bias) {
        squares += (b - r.bias) * (b - r.bias);
    }
    if (r.n > 1 && squares > 0) {
        const double sd = std::sqrt(squares / (r.n - 1));
        r.t = r.bias / (sd / std::sqrt(static_cast<double>(r.n)));
        r.p = twoSidedP(*r.t, r.n - 1);
    }
    if (pv && *pv > 0) {
        r.pctBias = 100 * std::fabs(r.bias) / *pv;
    }
    return r;
}

// Least squares of bias on reference over every reading.
void fitLine(const std::map<int, Part>& parts, Results& r) {
    double sx = 0;
    double sy = 0;
    for (const auto& [number, part] : parts) {
        for (double b : part.bias) {
            sx += part.reference;
            sy += b;
            ++r.n;
        }
    }
    r.referenceMean = sx / r.n;
    const double yMean = sy / r.n;
    double sxy = 0;
    double syy = 0;
    for (const auto& [number, part] : parts) {
        for (double b : part.bias) {
            const double dx = part.reference - r.referenceMean;
            r.sxx += dx * dx;
            sxy += dx * (b - yMean);
            syy += (b - yMean) * (b - yMean);
        }
    }
    r.slope = sxy / r.sxx;
    r.intercept = yMean - r.slope * r.referenceMean;
    r.averageBias = yMean;
    double residuals = 0;
    for (const auto& [number, part] : parts) {
        for (double b : part.bias) {
            const double e = b - r.line(part.reference);
            residuals += e * e;
        }
    }
    r.df = r.n - 2;
    r.s = std::sqrt(residuals / r.df);
    r.r2 = syy > 0 ? 1 - residuals / syy : 1;
}

void testLine(Results& r) {
    r.tCrit = criticalT(r.df);
    r.seSlope = r.s / std::sqrt(r.sxx);
    r.seIntercept = r.s * std::sqrt(1.0 / r.n + r.referenceMean * r.referenceMean / r.sxx);
    if (r.perfectLine()) {
        return;
    }
    r.tSlope = std::fabs(r.slope) / r.seSlope;
    r.tIntercept = std::fabs(r.intercept) / r.seIntercept;
    r.pSlope = twoSidedP(*r.tSlope, r.df);
    r.pIntercept = twoSidedP(*r.tIntercept, r.df);
}

// bias = 0 inside the band over the references' range: the band's upper edge (convex)
// never below 0 and its lower edge (concave) never above 0, checked where each has its
// extreme: the ends of the range and the point inside it where the edge turns.
bool zeroInsideBand(const Results& r) {
    std::vector<double> at = {r.referenceLow, r.referenceHigh};
    const double c = r.tCrit * r.s;
    const double a = r.slope;
    const double denominator = c * c - a * a * r.sxx;
    if (denominator > 0 && a != 0) {
        const double u = std::sqrt(a * a * r.sxx * r.sxx / r.n / denominator);
        for (double x : {r.referenceMean - u, r.referenceMean + u}) {
            if (x > r.referenceLow && x < r.referenceHigh) {
                at.push_back(x);
            }
        }
    }
    for (double x : at) {
        const double half = r.bandHalfWidth(x);
        const double noise = BinaryNoise::allowance(std::max(std::fabs(r.line(x)), half));
        if (r.line(x) - half > noise || r.line(x) + half < -noise) {
            return false;
        }
    }
    return true;
}

}  // namespace

double Results::bandHalfWidth(double x) const {
    const double dx = x - referenceMean;
    return tCrit * s * std::sqrt(1.0 / n + dx * dx / sxx);
}

Outcome compute(const Input& in) {
    const std::map<int, Part> parts = partsOf(in);
    if (const Refusal refusal = refusalOf(parts); refusal != Refusal::None) {
        return {std::nullopt, refusal};
    }
    Results r;
    r.g = static_cast<int>(parts.size());
    r.m = kMostReadings;
    r.referenceLow = parts.begin()->second.reference;
    r.referenceHigh = r.referenceLow;
    for (const auto& [number, part] : parts) {
        r.m = std::min(r.m, static_cast<int>(part.bias.size()));
        r.referenceLow = std::min(r.referenceLow, part.reference);
        r.referenceHigh = std::max(r.referenceHigh, part.reference);
        r.parts.push_back(partResult(number, part, in.processVariation));
    }
    fitLine(parts, r);
    testLine(r);
    r.processVariation = in.processVariation;
    r.pctLinearity = 100 * std::fabs(r.slope);
    if (in.processVariation && *in.processVariation > 0) {
        r.linearity = std::fabs(r.slope) * *in.processVariation;
        r.pctBias = 100 * std::fabs(r.averageBias) / *in.processVariation;
    }
    r.acceptable = zeroInsideBand(r);
    return {r, Refusal::None};
}

Input inputOf(const Study& study) {
    Input in;
    for (const Observation& o : study.observations) {
        if (o.value.isNumber() && std::isfinite(o.value.number()) && o.reference) {
            in.points.push_back({o.part, *o.reference, o.value.number()});
        }
    }
    if (study.processVariation.isNumber() && study.processVariation.number() > 0) {
        in.processVariation = study.processVariation.number();
    }
    return in;
}

}  // namespace Linearity
