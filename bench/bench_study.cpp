// Time of the whole R&R computation (grid layout, results, panels, verdicts) for the
// largest study: N = 10 parts, K = 3 appraisers, R = 3 trials.

#include <chrono>
#include <cstdio>

#include "result_texts.h"
#include "rr_study.h"

namespace {

StudyInput largestStudy() {
    StudyInput in;
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
            SeriesInput s;
            s.appraiser = QString::fromUtf8(who);
            double sum = 0;
            for (int j = 0; j < 10; ++j) {
                const double v = 20.0 + j * 0.137 + t * 0.0031 + (who[0] - 'A') * 0.0017;
                s.parts << Value(v);
                sum += v;
            }
            s.average = sum / 10;
            in.series << s;
        }
    }
    return in;
}

// The study and the texts of its results, as a selection makes them.
double oneStudy(const StudyInput& in, const FactorTables& factors, const RegionalSettings& rs) {
    const StudyOutput out = computeStudy(in, factors, rs);
    const ResultTexts::Texts texts = ResultTexts::of(out, in.numberPattern, in.shown, rs);
    return out.results.RR.value_or(0) + texts[Panels::kRR].size();
}

double microsecondsPerStudy(const StudyInput& in, int rounds, double* checksum) {
    const FactorTables factors;
    const RegionalSettings rs = RegionalSettings::polish();
    for (int i = 0; i < 200; ++i) {  // warm-up
        *checksum += oneStudy(in, factors, rs);
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        *checksum += oneStudy(in, factors, rs);
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / rounds;
}

}  // namespace

// First without the store of shown numbers (every text made anew), then as the program
// recomputes a selected analysis: with the texts shown at the previous computation.
int main() {
    StudyInput in = largestStudy();
    const int rounds = 20000;
    double checksum = 0;
    const double cold = microsecondsPerStudy(in, rounds, &checksum);
    ShownNumbers shown(RegionalSettings::polish());
    in.shown = &shown;
    const double warm = microsecondsPerStudy(in, rounds, &checksum);
    std::printf(
        "computeStudy N=10 K=3 R=3: %.2f us per study with every text made anew, %.2f us "
        "recomputed with the texts already shown (target <= 20) (%d rounds, checksum %.6f)\n",
        cold, warm, rounds, checksum);
    return 0;
}
