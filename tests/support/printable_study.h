#pragma once

#include <QCollator>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <numeric>

#include "measured_values.h"
#include "report_inputs.h"
#include "result_texts.h"
#include "rr_study.h"
#include "stored_study.h"
#include "study_grid.h"

// A printable analysis made in code, as ReportInputs::gather gives it from a file: the
// made-up values of TestDatabase::completeStudy, the delivered settings (pattern
// "0.000", 99 %, all five chart series) and the appraisers in the locale's order.
// `edit` may change the series before anything is computed from them.
inline ReportInputs printableStudy(int n, int k, int r, const QStringList& names,
                                   const std::function<void(QVector<SeriesRow>&)>& edit = {}) {
    const RegionalSettings rs = RegionalSettings::polish();
    QVector<int> order(k);
    std::iota(order.begin(), order.end(), 0);
    const QCollator collator(rs.collationLocale());
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(names[a], names[b]) < 0; });
    Study in;
    in.parts = n;
    in.appraisers = k;
    in.trials = r;
    in.referenceMode = 3;
    in.numberPattern = QStringLiteral("0.000");
    in.POK = 10;
    in.PSR = 30;
    in.IK1 = 5;
    in.IK2 = 3;
    in.FRTol = 15;
    QVector<SeriesRow> series;
    for (const int a : order) {
        for (int t = 0; t < r; ++t) {
            SeriesRow s;
            s.appraiser = names[a];
            for (int j = 1; j <= n; ++j) {
                s.parts << Value(10 + 0.01 * ((j * 7 + a * 3 + t * 5) % 11));
            }
            s.average = 10;
            series << s;
        }
    }
    if (edit) {
        edit(series);
    }
    StoredStudy::addSeries(in, series);
    const CrossedDesign design(in);
    ReportInputs out;
    const StudyOutput study = computeStudy(in, design, FactorTables(), rs);
    out.analysis = {{QStringLiteral("Numer"), Value(QStringLiteral("S"))},
                    {QStringLiteral("LiczbaN"), Value(n)},
                    {QStringLiteral("LiczbaK"), Value(k)},
                    {QStringLiteral("LiczbaR"), Value(r)},
                    {QStringLiteral("CoRef"), Value(3)},
                    {QStringLiteral("WN"), Value(1.33)},
                    {QStringLiteral("GWG"), Value(10.5)},
                    {QStringLiteral("DWG"), Value(9.5)},
                    {QStringLiteral("BladP"), Value(QStringLiteral("0,002"))}};
    out.FRTol = in.FRTol;
    out.Firma = QStringLiteral("Nazwa firmy");
    out.datePattern = QStringLiteral("yyyy-mm-dd");
    out.numberPattern = in.numberPattern;
    out.PW = {true, true, true, true, true};
    out.grid = StudyGrid::of(in, design, study, rs).layout;
    out.panels = ResultTexts::of(study, in.numberPattern, nullptr, rs);
    out.measured = MeasuredValues::collect(design, n);
    out.fontName = QStringLiteral("Arial CE");
    return out;
}
