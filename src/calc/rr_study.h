#pragma once

#include <QVector>
#include <array>
#include <optional>

#include "crossed_design.h"
#include "factor_tables.h"
#include "regional_settings.h"
#include "study.h"
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

// The figures of one appraiser block of exactly R series.
struct BlockFigures {
    int lastSeries = 0;                       // the index of its last series
    QVector<std::optional<double>> averages;  // by part
    QVector<std::optional<double>> ranges;    // by part
    std::optional<double> appraiserAverage;   // the mean of the averages
    std::optional<double> appraiserRange;     // the mean of the ranges
};

// The numbers of one average-and-range study (their texts are made in view/).
struct StudyOutput {
    RRResults results;
    // Each series' part values as displayed and read back, in stored order: what the
    // statistics of both methods compute on.
    QVector<QVector<std::optional<double>>> displayed;
    QVector<BlockFigures> blocks;  // the complete appraiser blocks, in stored order
    bool complete = false;         // record count = K x R
    int seriesCount = 0;
    Verdict rrVerdict = Verdict::None;          // panel 22
    Verdict resolutionVerdict = Verdict::None;  // panel 26
};

// The number of distinct categories: the integer part of 1.41 x PV / R&R, evaluated
// in that order; empty when R&R is 0.
std::optional<double> distinctCategories(std::optional<double> PV, std::optional<double> RR);

// The average-and-range study of a crossed study. The measured values enter as they are
// displayed with the number pattern and read back, so a coarse pattern coarsens the
// results; when the data is complete it computes and judges the results.
StudyOutput computeStudy(const Study& study, const CrossedDesign& design,
                         const FactorTables& factors, const RegionalSettings& regional);
StudyOutput computeStudy(const Study& study, const FactorTables& factors,
                         const RegionalSettings& regional);
