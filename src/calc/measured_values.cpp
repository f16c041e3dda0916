#include "measured_values.h"

namespace {

template <typename T>
const T* element(const std::vector<T>& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? &v[static_cast<std::size_t>(i)]
                                                            : nullptr;
}

}  // namespace

const Value& MeasuredValues::at(int appraiser, int part, int trial) const {
    static const Value missing;
    const auto* byPart = element(values, appraiser);
    const auto* byTrial = byPart ? element(*byPart, part) : nullptr;
    const Value* value = byTrial ? element(*byTrial, trial) : nullptr;
    return value ? *value : missing;
}

MeasuredValues MeasuredValues::collect(const CrossedDesign& design, int parts) {
    MeasuredValues out;
    out.parts = qBound(0, parts, CrossedDesign::kMostParts);
    const QVector<SeriesRow>& series = design.series();
    if (series.isEmpty()) {
        return out;
    }
    out.lo = out.hi = series[0].parts.value(0);
    const QVector<AppraiserRun>& runs = design.runs();
    const int kept = qMin(static_cast<int>(runs.size()), CrossedDesign::kMostAppraisers);
    out.values.assign(static_cast<std::size_t>(kept),
                      std::vector<std::vector<Value>>(static_cast<std::size_t>(out.parts)));
    for (int a = 0; a < runs.size(); ++a) {
        const AppraiserRun& run = runs[a];
        for (int t = 0; t < run.count; ++t) {
            const SeriesRow& s = series[run.first + t];
            for (int j = 0; j < out.parts; ++j) {
                const Value v = s.parts.value(j);
                out.lo = Mniejsza(out.lo, v);
                out.hi = Wieksza(out.hi, v);
                if (a < kept && t < CrossedDesign::kMostTrials) {
                    out.values[static_cast<std::size_t>(a)][static_cast<std::size_t>(j)].push_back(
                        v);
                }
            }
        }
        if (a < kept) {
            out.names << series[run.first].appraiser;
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
