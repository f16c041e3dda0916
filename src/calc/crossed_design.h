#pragma once

#include <QVector>

#include "series_row.h"
#include "study.h"

// One appraiser's series as they stand together in stored order: a maximal run of
// equal Operator values.
struct AppraiserRun {
    int first = 0;  // index of its first series
    int count = 0;  // its series (trials)
};

// The crossed kind of study: K appraisers each measure the same N parts R times. Its
// observations are kept by series, as the file stores them: for each series the stored
// average first (numbered zero), then the parts from 1; the trial counts the series within its
// appraiser's run. This class is the series view of those observations.
class CrossedDesign {
public:
    // The crossed kind's limits: ten part fields (P1..P10); the charts, the editor and
    // the study files take at most three appraisers and three trials, and at least
    // five parts, two appraisers and two trials.
    static constexpr int kMostParts = 10;
    static constexpr int kMostAppraisers = 3;
    static constexpr int kMostTrials = 3;
    static constexpr int kFewestParts = 5;
    static constexpr int kFewestAppraisers = 2;
    static constexpr int kFewestTrials = 2;
    // Appraisers and trials beyond any real study: the grid and the statistics count no
    // further.
    static constexpr int kCountedAtMost = 10;

    explicit CrossedDesign(const Study& study);

    // Appends one stored series to a study's observations.
    static void addSeries(Study& study, const SeriesRow& series);
    // N as a count of part fields: the stored LiczbaN, limited to the ten fields.
    static int partCount(const Value& liczbaN);
    // A stored count read as a whole number from 0 to `limit`.
    static int boundedCount(const Value& count, int limit);
    // K and R as the charts take them from LiczbaK and LiczbaR: 1 to 3, else 0 (no chart).
    static int appraiserCount(const Value& liczbaK);
    static int trialCount(const Value& liczbaR);

    // The series in stored order, and their appraiser runs.
    const QVector<SeriesRow>& series() const { return series_; }
    const QVector<AppraiserRun>& runs() const { return runs_; }

private:
    QVector<SeriesRow> series_;
    QVector<AppraiserRun> runs_;
};
