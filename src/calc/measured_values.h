#pragma once

#include <QVector>
#include <array>

#include "study_input.h"
#include "value.h"

// One appraiser's series as they stand together in record-set order: a maximal run of
// equal Operator values.
struct AppraiserRun {
    int first = 0;  // index of its first series
    int count = 0;  // its series (trials)
};
QVector<AppraiserRun> appraiserRuns(const QVector<SeriesInput>& series);

// The stored measured values by appraiser, part and trial, as the report's chart and
// the chart window draw them, with the running smallest and largest stored value
// (Mniejsza/Wieksza from the first series' P1). Appraisers past three, trials past
// three and parts past ten have no place and are left out; a missing cell is empty
// and counts as 0.
struct MeasuredValues {
    static constexpr int kAppraisers = 3;
    static constexpr int kParts = 10;
    static constexpr int kTrials = 3;

    int parts = 0;  // N
    std::array<Value, kAppraisers> names;
    // values[appraiser][part][trial], all from 0
    std::array<std::array<std::array<Value, kTrials>, kParts>, kAppraisers> values;
    Value lo;
    Value hi;

    const Value& at(int appraiser, int part, int trial) const {
        return values[static_cast<std::size_t>(appraiser)][static_cast<std::size_t>(part)]
                     [static_cast<std::size_t>(trial)];
    }

    // One appraiser's trials of one part, as both charts mark them: the smallest and the
    // largest (Mniejsza/Wieksza from trial 1) and the mean over R trials.
    struct PartFigures {
        double low = 0;
        double high = 0;
        double mean = 0;
    };
    PartFigures part(int appraiser, int part, int trials) const;

    // K and R as the charts take them from LiczbaK and LiczbaR: 1 to 3, else 0 (no chart).
    static int appraiserCount(const Value& liczbaK);
    static int trialCount(const Value& liczbaR);

    static MeasuredValues collect(const QVector<SeriesInput>& series, int parts);
};
