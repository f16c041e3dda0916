#pragma once

#include <QVector>
#include <vector>

#include "crossed_design.h"
#include "value.h"

// The stored measured values of a crossed study by appraiser, part and trial, as the
// report's chart and the chart window draw them, with the running smallest and largest
// stored value (Mniejsza/Wieksza from the first series' P1). Only what the crossed kind
// lets the charts draw is kept (three appraisers, three trials, ten parts); a missing
// cell is empty and counts as 0.
struct MeasuredValues {
    int parts = 0;  // N
    QVector<Value> names;
    // values[appraiser][part][trial], all from 0
    std::vector<std::vector<std::vector<Value>>> values;
    Value lo;
    Value hi;

    const Value& at(int appraiser, int part, int trial) const;

    // One appraiser's trials of one part, as both charts mark them: the smallest and the
    // largest (Mniejsza/Wieksza from trial 1) and the mean over R trials.
    struct PartFigures {
        double low = 0;
        double high = 0;
        double mean = 0;
    };
    PartFigures part(int appraiser, int part, int trials) const;

    static MeasuredValues collect(const CrossedDesign& design, int parts);
};
