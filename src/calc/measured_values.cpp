#include "measured_values.h"

QVector<AppraiserRun> appraiserRuns(const QVector<SeriesInput>& series) {
    QVector<AppraiserRun> runs;
    for (int i = 0; i < series.size(); ++i) {
        if (runs.isEmpty() || series[i].appraiser != series[runs.last().first].appraiser) {
            runs.push_back({i, 0});
        }
        ++runs.last().count;
    }
    return runs;
}

MeasuredValues MeasuredValues::collect(const QVector<SeriesInput>& series, int parts) {
    MeasuredValues out;
    out.parts = qBound(0, parts, kParts);
    if (series.isEmpty()) {
        return out;
    }
    out.lo = out.hi = series[0].parts.value(0);
    const QVector<AppraiserRun> runs = appraiserRuns(series);
    for (int a = 0; a < runs.size(); ++a) {
        const AppraiserRun& run = runs[a];
        for (int t = 0; t < run.count; ++t) {
            const SeriesInput& s = series[run.first + t];
            for (int j = 0; j < out.parts; ++j) {
                const Value v = s.parts.value(j);
                out.lo = Mniejsza(out.lo, v);
                out.hi = Wieksza(out.hi, v);
                if (a < kAppraisers && t < kTrials) {
                    out.values[static_cast<std::size_t>(a)][static_cast<std::size_t>(j)]
                              [static_cast<std::size_t>(t)] = v;
                }
            }
        }
        if (a < kAppraisers) {
            out.names[static_cast<std::size_t>(a)] = series[run.first].appraiser;
        }
    }
    return out;
}

MeasuredValues::PartFigures MeasuredValues::part(int appraiser, int part, int trials) const {
    Value low = at(appraiser, part, 0);
    Value high = low;
    double sum = 0;
    for (int t = 0; t < trials; ++t) {
        low = Mniejsza(low, at(appraiser, part, t));
        high = Wieksza(high, at(appraiser, part, t));
        sum += at(appraiser, part, t).number();
    }
    return {low.number(), high.number(), trials > 0 ? sum / trials : 0};
}

namespace {

int countUpTo(const Value& v, int most) {
    const double n = v.number();
    return n >= 1 && n <= most ? static_cast<int>(n) : 0;
}

}  // namespace

int MeasuredValues::appraiserCount(const Value& liczbaK) {
    return countUpTo(liczbaK, kAppraisers);
}

int MeasuredValues::trialCount(const Value& liczbaR) {
    return countUpTo(liczbaR, kTrials);
}
