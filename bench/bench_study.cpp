// Time of the whole R&R computation (grid layout, results, panels, verdicts) for the
// largest study: N = 10 parts, K = 3 appraisers, R = 3 trials; and of its ANOVA beside it.

#include <chrono>
#include <cstdio>
#include <functional>

#include "anova.h"
#include "anova_texts.h"
#include "result_texts.h"
#include "rr_study.h"
#include "study_grid.h"

namespace {

Study largestStudy() {
    Study in;
    in.parts = 10;
    in.appraisers = 3;
    in.trials = 3;
    in.referenceMode = 3;
    in.numberPattern = QStringLiteral("0.000");
    in.POK = 10;
    in.PSR = 30;
    in.IK1 = 5;
    in.IK2 = 3;
    for (const char* who : {"Anna", "Bogdan", "Cezary"}) {
        for (int t = 0; t < 3; ++t) {
            SeriesRow s;
            s.appraiser = QString::fromUtf8(who);
            double sum = 0;
            for (int j = 0; j < 10; ++j) {
                const double v = 20.0 + j * 0.137 + t * 0.0031 + (who[0] - 'A') * 0.0017;
                s.parts << Value(v);
                sum += v;
            }
            s.average = sum / 10;
            CrossedDesign::addSeries(in, s);
        }
    }
    return in;
}

// The study, its grid and the texts of its results, as a selection makes them.
double oneStudy(const Study& in, const FactorTables& factors, const RegionalSettings& rs) {
    const CrossedDesign design(in);
    const StudyOutput out = computeStudy(in, design, factors, rs);
    const StudyGrid grid = StudyGrid::of(in, design, out, rs);
    const ResultTexts::Texts texts = ResultTexts::of(out, in.numberPattern, in.shown, rs);
    return out.results.RR.value_or(0) + texts[Panels::kRR].size() + grid.layout.rows;
}

// The ANOVA of the same study from its computed output, numbers and (optionally) texts.
double oneAnova(const Study& in, const StudyOutput& out, const RegionalSettings& rs, bool texts) {
    const std::optional<Anova::Results> a =
        Anova::compute(*Anova::inputOf(in, CrossedDesign(in), out, 0.05));
    if (!texts) {
        return a->components.rr.variance;
    }
    return a->components.rr.variance + AnovaTexts::of(*a, out, rs).components.size();
}

double microsecondsPer(const std::function<double()>& step, int rounds, double* checksum) {
    for (int i = 0; i < 200; ++i) {  // warm-up
        *checksum += step();
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        *checksum += step();
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / rounds;
}

}  // namespace

// First without the store of shown numbers (every text made anew), then as the program
// recomputes a selected analysis: with the texts shown at the previous computation.
int main() {
    Study in = largestStudy();
    const int rounds = 20000;
    double checksum = 0;
    const FactorTables factors;
    const RegionalSettings rs = RegionalSettings::polish();
    const auto study = [&] { return oneStudy(in, factors, rs); };
    const double cold = microsecondsPer(study, rounds, &checksum);
    ShownNumbers shown(RegionalSettings::polish());
    in.shown = &shown;
    const double warm = microsecondsPer(study, rounds, &checksum);
    std::printf(
        "computeStudy N=10 K=3 R=3: %.2f us per study with every text made anew, %.2f us "
        "recomputed with the texts already shown (target <= 20) (%d rounds, checksum %.6f)\n",
        cold, warm, rounds, checksum);
    const StudyOutput out = computeStudy(in, factors, rs);
    const double anova =
        microsecondsPer([&] { return oneAnova(in, out, rs, false); }, rounds, &checksum);
    const double anovaTexts =
        microsecondsPer([&] { return oneAnova(in, out, rs, true); }, rounds, &checksum);
    std::printf(
        "ANOVA N=10 K=3 R=3: %.2f us per study (%.2f x average-and-range), %.2f us with its "
        "texts (target <= 2 x) (checksum %.6f)\n",
        anova, anova / warm, anovaTexts, checksum);
    return 0;
}
