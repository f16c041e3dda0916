#include "anova.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>

#include "binary_noise.h"

// Distributions evaluated in double: Boost's default promotes to long double, several
// times slower, for digits no figure shows.
using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

namespace Anova {

namespace {

using Number = std::optional<double>;

Number finiteOrEmpty(double v) {
    return std::isfinite(v) ? Number(v) : std::nullopt;
}

Number ratio(double a, double b) {
    return b == 0 ? std::nullopt : finiteOrEmpty(a / b);
}

struct Shape {
    int k = 0;
    int n = 0;
    int r = 0;
};

std::optional<Shape> shapeOf(const Values& y) {
    Shape s{static_cast<int>(y.size()), y.empty() ? 0 : static_cast<int>(y[0].size()), 0};
    s.r = s.n > 0 ? static_cast<int>(y[0][0].size()) : 0;
    for (const auto& appraiser : y) {
        if (static_cast<int>(appraiser.size()) != s.n) {
            return std::nullopt;
        }
        for (const auto& part : appraiser) {
            if (static_cast<int>(part.size()) != s.r) {
                return std::nullopt;
            }
        }
    }
    if (s.k < 2 || s.n < 2 || s.r < 2) {
        return std::nullopt;
    }
    return s;
}

// The means of the design: grand, per appraiser, per part and per cell.
struct Means {
    double grand = 0;
    std::vector<double> appraiser;
    std::vector<double> part;
    std::vector<std::vector<double>> cell;
};

Means meansOf(const Values& y, const Shape& s) {
    Means m;
    m.appraiser.assign(s.k, 0);
    m.part.assign(s.n, 0);
    m.cell.assign(s.k, std::vector<double>(s.n, 0));
    for (int i = 0; i < s.k; ++i) {
        for (int j = 0; j < s.n; ++j) {
            double sum = 0;
            for (const double v : y[i][j]) {
                sum += v;
            }
            m.cell[i][j] = sum / s.r;
            m.appraiser[i] += m.cell[i][j] / s.n;
            m.part[j] += m.cell[i][j] / s.k;
        }
    }
    for (const double a : m.appraiser) {
        m.grand += a / s.k;
    }
    return m;
}

Row row(double df, double ss) {
    Row r;
    r.df = df;
    r.ss = ss;
    r.ms = ratio(ss, df);
    return r;
}

// Means of equal values can differ from them in the last bit; a sum of squares no larger
// than what that leaves is rounding, not variation, and counts as none.
double roundingNoise(const Values& y, const Shape& s) {
    double largest = 0;
    for (const auto& appraiser : y) {
        for (const auto& part : appraiser) {
            for (const double v : part) {
                largest = std::max(largest, std::fabs(v));
            }
        }
    }
    return 1e-24 * s.k * s.n * s.r * largest * largest;
}

// The sums of squares; the interaction from the cell means directly, never as a
// difference of other sums, so a perfect gauge has no rounding residue in it.
void sumsOfSquares(const Values& y, const Shape& s, const Means& m, Results& out) {
    double part = 0, appraiser = 0, interaction = 0, repeatability = 0, total = 0;
    for (int j = 0; j < s.n; ++j) {
        part += (m.part[j] - m.grand) * (m.part[j] - m.grand);
    }
    for (int i = 0; i < s.k; ++i) {
        appraiser += (m.appraiser[i] - m.grand) * (m.appraiser[i] - m.grand);
        for (int j = 0; j < s.n; ++j) {
            const double e = m.cell[i][j] - m.appraiser[i] - m.part[j] + m.grand;
            interaction += e * e;
            for (const double v : y[i][j]) {
                repeatability += (v - m.cell[i][j]) * (v - m.cell[i][j]);
                total += (v - m.grand) * (v - m.grand);
            }
        }
    }
    const double noise = roundingNoise(y, s);
    for (double* sum : {&part, &appraiser, &interaction, &repeatability, &total}) {
        *sum = *sum <= noise ? 0 : *sum;
    }
    const int k = s.k, n = s.n, r = s.r;
    out.table.part = row(n - 1, k * r * part);
    out.table.appraiser = row(k - 1, n * r * appraiser);
    out.table.interaction = row((k - 1) * (n - 1), r * interaction);
    out.table.repeatability = row(k * n * (r - 1), repeatability);
    out.table.total = row(k * n * r - 1, total);
}

void test(Row& effect, const Row& error) {
    effect.f = effect.ms && error.ms ? ratio(*effect.ms, *error.ms) : std::nullopt;
    effect.p = effect.f ? upperTailF(*effect.f, effect.df, error.df) : std::nullopt;
}

// The interaction is tested against repeatability; pooled when it is not significant
// (or when there is nothing to separate: no repeatability and no interaction).
void testEffects(Results& out) {
    Table& t = out.table;
    test(t.interaction, t.repeatability);
    out.interactionP = t.interaction.p;
    out.pooled =
        out.interactionP ? *out.interactionP >= out.alpha : t.interaction.ms.value_or(0) == 0;
    test(t.part, t.interaction);
    test(t.appraiser, t.interaction);
    if (out.pooled) {
        Table& r = out.reduced;
        r.part = row(t.part.df, t.part.ss);
        r.appraiser = row(t.appraiser.df, t.appraiser.ss);
        r.repeatability =
            row(t.interaction.df + t.repeatability.df, t.interaction.ss + t.repeatability.ss);
        r.total = t.total;
        test(r.part, r.repeatability);
        test(r.appraiser, r.repeatability);
    }
}

double clamped(double v) {
    return v > 0 && std::isfinite(v) ? v : 0;
}

// A variance estimated as sum c_i MS_i, with Satterthwaite's degrees of freedom:
// nu = (sum c_i MS_i)^2 / sum (c_i MS_i)^2 / df_i (Satterthwaite, Biometrics Bulletin 2,
// 1946; as used for gauge studies by Burdick and Larsen, J. Quality Technology 29, 1997).
// Each mean square enters once: R&R takes the error mean square in reproducibility (with
// a minus) and again as repeatability, and the two must be one term, or nu comes out too
// small and the limits too wide.
struct Combination {
    std::vector<std::pair<double, const Row*>> terms;

    void add(double c, const Row& row) {
        for (auto& [coefficient, existing] : terms) {
            if (existing == &row) {
                coefficient += c;
                return;
            }
        }
        terms.push_back({c, &row});
    }
    double value() const {
        double v = 0;
        for (const auto& [c, row] : terms) {
            v += c * row->ms.value_or(0);
        }
        return v;
    }
    double degrees() const {
        double denominator = 0;
        for (const auto& [c, row] : terms) {
            const double t = c * row->ms.value_or(0);
            denominator += row->df > 0 ? t * t / row->df : 0;
        }
        return denominator > 0 ? value() * value() / denominator : 0;
    }
};

// 95 % limits of sigma from a variance estimate with nu degrees of freedom:
// sqrt(nu s^2 / chi2(0.975; nu)) .. sqrt(nu s^2 / chi2(0.025; nu)); exact for a single
// mean square (repeatability), approximate with Satterthwaite's nu. Below one degree of
// freedom (a difference of mean squares that nearly cancels) the approximation breaks
// down: the lower limit runs far above the estimate and the upper one to infinity, so
// there are no limits rather than wrong ones.
void limits(Component& c, double variance, double nu) {
    if (!(variance > 0) || !(nu >= 1) || !std::isfinite(nu)) {
        return;
    }
    const boost::math::chi_squared_distribution<double, InDouble> chi(nu);
    const Number low = finiteOrEmpty(std::sqrt(nu * variance / boost::math::quantile(chi, 0.975)));
    const Number high = finiteOrEmpty(std::sqrt(nu * variance / boost::math::quantile(chi, 0.025)));
    if (low && high) {
        c.ciLow = low;
        c.ciHigh = high;
    }
}

void components(Results& out, const Shape& s, bool withLimits) {
    const double nr = s.n * s.r;
    const double kr = s.k * s.r;
    const Row& rep = out.used().repeatability;
    const double error = rep.ms.value_or(0);
    const double against = out.pooled ? error : out.table.interaction.ms.value_or(0);
    out.components.repeatability.variance = clamped(error);
    out.components.appraiser.variance =
        clamped((out.table.appraiser.ms.value_or(0) - against) / nr);
    out.components.interaction.variance =
        out.pooled ? 0 : clamped((out.table.interaction.ms.value_or(0) - error) / s.r);
    out.components.part.variance = clamped((out.table.part.ms.value_or(0) - against) / kr);
    out.components.reproducibility.variance =
        out.components.appraiser.variance + out.components.interaction.variance;
    out.components.rr.variance =
        out.components.repeatability.variance + out.components.reproducibility.variance;
    out.components.total.variance = out.components.rr.variance + out.components.part.variance;

    if (!withLimits) {
        return;
    }
    limits(out.components.repeatability, error, rep.df);
    Combination repro;
    repro.add(1 / nr, out.table.appraiser);
    if (out.pooled) {
        repro.add(-1 / nr, rep);
    } else {
        repro.add((s.n - 1) / nr, out.table.interaction);
        repro.add(-1.0 / s.r, rep);
    }
    limits(out.components.reproducibility, repro.value(), repro.degrees());
    Combination rr = repro;
    rr.add(1, rep);
    limits(out.components.rr, rr.value(), rr.degrees());
}

void percentages(Results& out) {
    Component* all[] = {&out.components.repeatability,
                        &out.components.reproducibility,
                        &out.components.appraiser,
                        &out.components.interaction,
                        &out.components.rr,
                        &out.components.part,
                        &out.components.total};
    for (Component* c : all) {
        c->sd = std::sqrt(c->variance);
        c->studyVar = out.multiplier * c->sd;
    }
    const Component& total = out.components.total;
    if (!out.reference) {
        out.reference = total.studyVar;  // CoRef 3: the total variation is the reference
    }
    for (Component* c : all) {
        c->pctContribution = ratio(100 * c->variance, total.variance);
        c->pctStudyVar = ratio(100 * c->sd, total.sd);
        c->pctRef = ratio(100 * c->studyVar, out.reference.value_or(0));
    }
}

}  // namespace

std::optional<Values> valuesOf(const CrossedDesign& design,
                               const QVector<QVector<std::optional<double>>>& displayed) {
    const QVector<AppraiserRun>& runs = design.runs();
    if (runs.isEmpty() || displayed.size() != design.series().size()) {
        return std::nullopt;
    }
    Values y;
    for (const AppraiserRun& run : runs) {
        if (run.count != runs.first().count) {
            return std::nullopt;
        }
        const int parts = static_cast<int>(displayed[run.first].size());
        std::vector<std::vector<double>> byPart(parts, std::vector<double>(run.count));
        for (int t = 0; t < run.count; ++t) {
            const auto& values = displayed[run.first + t];
            for (int j = 0; j < parts; ++j) {
                if (j >= values.size() || !values[j]) {
                    return std::nullopt;
                }
                byPart[j][t] = *values[j];
            }
        }
        y.push_back(std::move(byPart));
    }
    return y;
}

std::optional<Input> inputOf(const Study& study, const CrossedDesign& design,
                             const StudyOutput& output, double alpha) {
    if (!output.complete) {
        return std::nullopt;
    }
    std::optional<Values> y = valuesOf(design, output.displayed);
    if (!y) {
        return std::nullopt;
    }
    Input in;
    in.y = std::move(*y);
    in.alpha = alpha;
    in.level = study.level;
    in.referenceMode = Study::referenceModeOf(study.referenceMode);
    in.reference = output.results.REF;
    in.POK = study.POK;
    in.PSR = study.PSR;
    in.IK1 = study.IK1;
    in.IK2 = study.IK2;
    return in;
}

std::optional<double> upperTailF(double f, double df1, double df2) {
    if (!(df1 > 0) || !(df2 > 0) || !(f >= 0) || !std::isfinite(f)) {
        return std::nullopt;
    }
    const boost::math::fisher_f_distribution<double, InDouble> distribution(df1, df2);
    return finiteOrEmpty(boost::math::cdf(boost::math::complement(distribution, f)));
}

std::optional<Results> compute(const Input& in) {
    const std::optional<Shape> shape = shapeOf(in.y);
    if (!shape) {
        return std::nullopt;
    }
    Results out;
    out.alpha = in.alpha;
    out.multiplier = in.level == 0 ? 5.15 : 3.92;
    sumsOfSquares(in.y, *shape, meansOf(in.y, *shape), out);
    const Table& t = out.table;
    for (const double ss :
         {t.part.ss, t.appraiser.ss, t.interaction.ss, t.repeatability.ss, t.total.ss}) {
        if (!std::isfinite(ss)) {
            return std::nullopt;  // values too large to square: no ANOVA rather than infinities
        }
    }
    testEffects(out);
    components(out, *shape, in.limits);
    if (in.referenceMode != 3) {
        out.reference = in.reference ? in.reference : std::optional<double>(0.0);
    }
    percentages(out);
    const Number ndc = ratio(1.41 * out.components.part.sd, out.components.rr.sd);
    out.ndc = ndc ? finiteOrEmpty(BinaryNoise::wholePart(*ndc)) : std::nullopt;
    out.rrVerdict = judgeRR(out.components.rr.pctRef, in.POK, in.PSR);
    out.ndcVerdict = judgeResolution(out.ndc, in.IK1, in.IK2);
    return out;
}

}  // namespace Anova
