#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <optional>

#include "grid_layout.h"
#include "regional_settings.h"
#include "result_panels.h"
#include "study_input.h"
#include "verdict.h"

// The R&R results at full precision; each is empty where its step could not be
// computed (a division by zero, a factor past the tables, a value that is not a
// number, a result that is not finite). Later steps read an empty result as 0.
struct RRResults {
    std::optional<double> Rp;
    std::optional<double> meanRange;
    std::optional<double> Xdif;
    std::optional<double> EV;
    std::optional<double> AV;
    std::optional<double> RR;
    std::optional<double> PV;
    std::optional<double> TV;
    std::optional<double> resolution;
    std::optional<double> REF;
    std::optional<double> percentEV;
    std::optional<double> percentAV;
    std::optional<double> percentRR;
    QVector<std::optional<double>> partAverages;
    std::optional<double> grandAverage;
    std::array<std::optional<double>, 3> appraiserAverages;
    std::array<std::optional<double>, 3> appraiserRanges;
};

// The laid-out grid and the results of one analysis (their texts are made in view/).
struct StudyOutput {
    GridLayout grid;
    RRResults results;
    // Each series' part values as displayed and read back, in record-set order: what the
    // statistics of both methods compute on.
    QVector<QVector<std::optional<double>>> displayed;
    // The grid row of each complete appraiser block's "Rozstęp" row, in block order.
    QVector<int> rangeRows;
    bool complete = false;  // record count = K x R
    int seriesCount = 0;
    Verdict rrVerdict = Verdict::None;          // panel 22
    Verdict resolutionVerdict = Verdict::None;  // panel 26
};

// The number of distinct categories: the integer part of 1.41 x PV / R&R, evaluated
// in that order; empty when R&R is 0.
std::optional<double> distinctCategories(std::optional<double> PV, std::optional<double> RR);

// Whether a computation lays out the grid's texts, or only finds the numbers (a pass
// over many analyses that shows none of them).
enum class StudyTexts { Grid, None };

// The average-and-range study: lays out the grid (the measured values enter as they
// are displayed with the number pattern and read back, so a coarse pattern coarsens
// the results), and when the data is complete computes and judges the results.
// Without texts the grid stays empty and every number is the same.
StudyOutput computeStudy(const StudyInput& input, const FactorTables& factors,
                         const RegionalSettings& regional, StudyTexts texts = StudyTexts::Grid);
