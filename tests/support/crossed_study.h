#pragma once

#include <QVector>
#include <utility>

#include "crossed_design.h"
#include "study.h"

// A crossed study made in code, in the header of the worked example (reference mode 3,
// WN 1,33, limits 9,5..10,5, FRTol 15, 99 %, POK 10, PSR 30, IK 5/3): each series an
// appraiser and its part values, stored with the mean of those values.
using TestSeries = std::pair<const char*, QVector<double>>;

inline double meanOf(const QVector<double>& v) {
    double sum = 0;
    for (const double x : v) {
        sum += x;
    }
    return v.isEmpty() ? 0 : sum / v.size();
}

inline Study crossedStudy(const QVector<TestSeries>& series, int k, int r,
                          const QString& pattern = QStringLiteral("0.00"), int mode = 3) {
    Study in;
    in.parts = series.isEmpty() ? 5 : static_cast<int>(series[0].second.size());
    in.appraisers = k;
    in.trials = r;
    in.referenceMode = mode;
    in.WN = 1.33;
    in.GWG = 10.5;
    in.DWG = 9.5;
    in.FRTol = 15;
    in.numberPattern = pattern;
    in.level = 0;
    in.POK = 10;
    in.PSR = 30;
    in.IK1 = 5;
    in.IK2 = 3;
    for (const auto& [who, values] : series) {
        SeriesRow s;
        s.appraiser = QString::fromUtf8(who);
        for (const double v : values) {
            s.parts << Value(v);
        }
        s.average = meanOf(values);
        CrossedDesign::addSeries(in, s);
    }
    return in;
}

// The worked example: N = 5, K = 2, R = 2, level 0, reference mode 3, two decimals.
inline const QVector<TestSeries>& workedExample() {
    static const QVector<TestSeries> series = {
        {"A", {10.01, 10.05, 9.98, 10.10, 10.03}},
        {"A", {10.03, 10.04, 9.99, 10.12, 10.02}},
        {"B", {10.02, 10.07, 9.97, 10.11, 10.05}},
        {"B", {10.00, 10.06, 9.99, 10.09, 10.04}},
    };
    return series;
}
