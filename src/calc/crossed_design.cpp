#include "crossed_design.h"

namespace {

constexpr int kAveragePart = 0;  // where a series keeps its stored average

int countUpTo(const Value& v, int most) {
    const double n = v.number();
    return n >= 1 && n <= most ? static_cast<int>(n) : 0;
}

QVector<AppraiserRun> appraiserRuns(const QVector<SeriesRow>& series) {
    QVector<AppraiserRun> runs;
    for (int i = 0; i < series.size(); ++i) {
        if (runs.isEmpty() || series[i].appraiser != series[runs.last().first].appraiser) {
            runs.push_back({i, 0});
        }
        ++runs.last().count;
    }
    return runs;
}

}  // namespace

void CrossedDesign::addSeries(Study& study, const SeriesRow& series) {
    int trial = 1;
    if (!study.observations.isEmpty()) {
        const Observation& last = study.observations.last();
        trial = last.appraiser != series.appraiser ? 1 : last.trial + 1;
    }
    study.observations.push_back({series.appraiser, kAveragePart, trial, series.average, {}, {}});
    for (int j = 0; j < series.parts.size(); ++j) {
        study.observations.push_back({series.appraiser, j + 1, trial, series.parts[j], {}, {}});
    }
}

CrossedDesign::CrossedDesign(const Study& study) {
    const int parts = CrossedDesign::partCount(study.parts);
    series_.reserve(study.observations.size() / (parts + 1) + 1);
    const Observation* current = nullptr;
    for (const Observation& o : study.observations) {
        const bool sameSeries = current && o.part != kAveragePart && o.trial == current->trial &&
                                o.appraiser == current->appraiser;
        if (!sameSeries) {
            series_.push_back({o.appraiser, {}, Value()});
            series_.last().parts.reserve(parts);
            current = &o;
        }
        SeriesRow& row = series_.last();
        if (o.part == kAveragePart) {
            row.average = o.value;
        } else if (o.part > 0) {
            if (row.parts.size() < o.part) {
                row.parts.resize(o.part);
            }
            row.parts[o.part - 1] = o.value;
        }
    }
    runs_ = appraiserRuns(series_);
}

int CrossedDesign::boundedCount(const Value& count, int limit) {
    const double n = count.number();
    return n < 0 ? 0 : (n > limit ? limit : static_cast<int>(n));
}

int CrossedDesign::partCount(const Value& liczbaN) {
    return boundedCount(liczbaN, kMostParts);
}

int CrossedDesign::appraiserCount(const Value& liczbaK) {
    return countUpTo(liczbaK, kMostAppraisers);
}

int CrossedDesign::trialCount(const Value& liczbaR) {
    return countUpTo(liczbaR, kMostTrials);
}
