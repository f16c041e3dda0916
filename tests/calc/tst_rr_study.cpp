#include <QtTest>
#include <cmath>

#include "measured_values.h"
#include "number_pattern.h"
#include "record_sets.h"
#include "result_texts.h"
#include "rr_study.h"
#include "shared_values.h"
#include "test_database.h"

namespace {

using Series = std::pair<const char*, QVector<double>>;

// The worked example: N = 5, K = 2, R = 2, level 0, reference mode 3, two decimals.
const QVector<Series> workedExample = {
    {"A", {10.01, 10.05, 9.98, 10.10, 10.03}},
    {"A", {10.03, 10.04, 9.99, 10.12, 10.02}},
    {"B", {10.02, 10.07, 9.97, 10.11, 10.05}},
    {"B", {10.00, 10.06, 9.99, 10.09, 10.04}},
};

double mean(const QVector<double>& v) {
    double sum = 0;
    for (double x : v) {
        sum += x;
    }
    return v.isEmpty() ? 0 : sum / v.size();
}

StudyInput study(const QVector<Series>& series, int k, int r, const QString& pattern = "0.00",
                 int mode = 3) {
    StudyInput in;
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
        SeriesInput s;
        s.appraiser = QString::fromUtf8(who);
        for (double v : values) {
            s.parts << Value(v);
        }
        s.average = mean(values);
        in.series << s;
    }
    return in;
}

// A study with the texts its results are shown with.
struct ShownStudy : StudyOutput {
    ResultTexts::Texts panels;
};

ShownStudy shownStudy(const StudyInput& in, const RegionalSettings& rs) {
    static const FactorTables factors;
    ShownStudy out;
    static_cast<StudyOutput&>(out) = computeStudy(in, factors, rs);
    out.panels = ResultTexts::of(out, in.numberPattern, in.shown, rs);
    return out;
}

bool sameOutput(const ShownStudy& a, const ShownStudy& b) {
    return a.grid.cells == b.grid.cells && a.panels == b.panels && a.complete == b.complete &&
           a.rrVerdict == b.rrVerdict && a.resolutionVerdict == b.resolutionVerdict &&
           a.results.RR == b.results.RR && a.results.partAverages == b.results.partAverages;
}

// The numbers alone, as a pass over a whole file computes them.
bool sameNumbers(const StudyOutput& a, const StudyOutput& b) {
    const RRResults& x = a.results;
    const RRResults& y = b.results;
    return a.displayed == b.displayed && a.rangeRows == b.rangeRows && a.complete == b.complete &&
           a.rrVerdict == b.rrVerdict && a.resolutionVerdict == b.resolutionVerdict &&
           x.Rp == y.Rp && x.meanRange == y.meanRange && x.Xdif == y.Xdif && x.EV == y.EV &&
           x.AV == y.AV && x.RR == y.RR && x.PV == y.PV && x.TV == y.TV &&
           x.resolution == y.resolution && x.REF == y.REF && x.percentRR == y.percentRR &&
           x.partAverages == y.partAverages && x.grandAverage == y.grandAverage;
}

// Every study of this suite is also computed through a store of shown numbers, empty and
// then filled by the first computation, and without texts: the output must not change.
ShownStudy run(const StudyInput& in, const RegionalSettings& rs = RegionalSettings::polish()) {
    const ShownStudy plain = shownStudy(in, rs);
    const StudyOutput numbers = computeStudy(in, FactorTables(), rs, StudyTexts::None);
    if (!sameNumbers(numbers, plain) || !numbers.grid.cells.isEmpty()) {
        qWarning("the numbers alone differ from those of the grid");
        return {};
    }
    StudyInput stored = in;
    ShownNumbers shown(rs);
    stored.shown = &shown;
    for (int pass = 0; pass < 2; ++pass) {
        if (!sameOutput(shownStudy(stored, rs), plain)) {
            qWarning("the stored texts changed the output (pass %d)", pass);
            return {};
        }
    }
    return plain;
}

bool near(std::optional<double> actual, double expected) {
    return actual && std::fabs(*actual - expected) <= 1e-9 * std::fabs(expected) + 1e-15;
}

#define QVERIFY_NEAR(actual, expected) \
    QVERIFY2(                          \
        near(actual, expected),        \
        qPrintable(                    \
            QStringLiteral("%1 is not %2").arg((actual).value_or(NAN), 0, 'g', 17).arg(expected)))

}  // namespace

class RRStudyTest : public QObject {
    Q_OBJECT

private slots:
    void workedExampleResults();
    void workedExamplePanels();
    void workedExampleGrid();
    void appraiserOrderDoesNotChangeXdif();
    void oneDecimalPatternCoarsensTheRanges();
    void decimalTiesRoundAwayInsideAStudy();
    void incompleteData_data();
    void incompleteData();
    void workedExampleAt95Percent();
    void incompleteBlockCountsAsABlock();
    void referenceModes_data();
    void referenceModes();
    void distinctCategoriesEvaluation();
    void exactValuesAtTheirLimits_data();
    void exactValuesAtTheirLimits();
    void noScatterAtAll();
    void zeroReference();
    void factorOutsideTheTables();
    void rrVerdictLimits_data();
    void rrVerdictLimits();
    void resolutionVerdictLimits_data();
    void resolutionVerdictLimits();
    void psrIsSinglePrecision();
    void typedInEitherLocaleGivesTheSameResults();
    void extremeValuesNeverShowInfOrNan_data();
    void extremeValuesNeverShowInfOrNan();
    void largestStudyLayout();
    void measuredValuesByAppraiserPartAndTrial();
};

void RRStudyTest::workedExampleResults() {
    const ShownStudy out = run(study(workedExample, 2, 2));
    QVERIFY(out.complete);
    const RRResults& r = out.results;
    QVERIFY_NEAR(r.appraiserAverages[0], 10.037);
    QVERIFY_NEAR(r.appraiserAverages[1], 10.040);
    QVERIFY_NEAR(r.appraiserRanges[0], 0.014);
    QVERIFY_NEAR(r.appraiserRanges[1], 0.016);
    QVERIFY_NEAR(r.meanRange, 0.015);
    QVERIFY_NEAR(r.Xdif, 0.003);
    const double parts[] = {10.015, 10.055, 9.9825, 10.105, 10.035};
    for (int j = 0; j < 5; ++j) {
        QVERIFY_NEAR(r.partAverages[j], parts[j]);
    }
    // from the displayed series averages 10.03, 10.04, 10.04, 10.04
    QVERIFY_NEAR(r.grandAverage, 10.0375);
    QVERIFY_NEAR(r.Rp, 0.1225);
    QVERIFY_NEAR(r.EV, 0.0684);
    // (Xdif x K2)^2 - EV^2/(N R) = 0.00011990 - 0.00046786 < 0: the root of its magnitude
    QVERIFY_NEAR(r.AV, std::sqrt(0.0684 * 0.0684 / 10 - (0.003 * 3.65) * (0.003 * 3.65)));
    QVERIFY(std::fabs(*r.AV - 0.018654) < 5e-7);
    QVERIFY(std::fabs(*r.RR - 0.070898) < 5e-7);
    QVERIFY_NEAR(r.PV, 0.2548);
    QVERIFY(std::fabs(*r.TV - 0.264480) < 5e-7);
    QCOMPARE(*r.resolution, 5.0);
    QVERIFY_NEAR(r.REF, *r.TV);
    QVERIFY_NEAR(r.percentRR, 100 * *r.RR / *r.TV);
    QCOMPARE(out.rrVerdict, Verdict::Conditional);
    QCOMPARE(out.resolutionVerdict, Verdict::Accepted);
}

void RRStudyTest::workedExamplePanels() {
    const ShownStudy pl = run(study(workedExample, 2, 2));
    QCOMPARE(pl.panels[13], QStringLiteral("0,02 "));
    QCOMPARE(pl.panels[14], QStringLiteral("0,00 "));
    QCOMPARE(pl.panels[15], QStringLiteral("0,07 "));
    QCOMPARE(pl.panels[16], QStringLiteral("0,02 "));
    QCOMPARE(pl.panels[17], QStringLiteral("0,07 "));
    QCOMPARE(pl.panels[18], QStringLiteral("0,25 "));
    QCOMPARE(pl.panels[19], QStringLiteral("0,26 "));
    QCOMPARE(pl.panels[20], QStringLiteral("25,86 "));
    QCOMPARE(pl.panels[21], QStringLiteral("7,05 "));
    QCOMPARE(pl.panels[22], QStringLiteral("26,81 "));
    QCOMPARE(pl.panels[24], QStringLiteral("0,12 "));
    QCOMPARE(pl.panels[25], QStringLiteral("0,26 "));
    QCOMPARE(pl.panels[26], QStringLiteral("5 "));
    const ShownStudy en = run(study(workedExample, 2, 2, "0.0000"), RegionalSettings::english());
    QCOMPARE(en.panels[15], QStringLiteral("0.0684 "));
    QCOMPARE(en.panels[16], QStringLiteral("0.0187 "));
    QCOMPARE(en.panels[17], QStringLiteral("0.0709 "));
    QCOMPARE(en.panels[24], QStringLiteral("0.1225 "));
}

void RRStudyTest::workedExampleGrid() {
    const GridLayout g = run(study(workedExample, 2, 2)).grid;
    QCOMPARE(g.columns, 9);
    QCOMPARE(g.rows, 12);
    QCOMPARE(g.text(0, 0), QStringLiteral("Lp"));
    QCOMPARE(g.text(0, 1), QString::fromUtf8("Oceniający"));
    QCOMPARE(g.text(0, 6), QStringLiteral("X5"));
    QCOMPARE(g.text(0, 7), QString());
    QCOMPARE(g.text(0, 8), QStringLiteral("X"));
    QCOMPARE(g.columnWidths, (QVector<int>{350, 1780, 660, 660, 660, 660, 660, 60, 660}));
    QCOMPARE(g.text(1, 0), QStringLiteral("1"));
    QCOMPARE(g.text(1, 1), QStringLiteral("A"));
    QCOMPARE(g.text(1, 2), QStringLiteral("10,01"));
    QCOMPARE(g.text(1, 7), QStringLiteral(" "));
    QCOMPARE(g.text(1, 8), QStringLiteral("10,03"));
    QCOMPARE(g.text(3, 1), QString::fromUtf8("Średnia"));
    QCOMPARE(g.text(3, 3), QStringLiteral("10,05"));  // 10.045
    QCOMPARE(g.text(3, 8), QStringLiteral("10,04"));  // 10.037
    QCOMPARE(g.text(4, 1), QString::fromUtf8("Rozstęp"));
    QCOMPARE(g.text(4, 2), QStringLiteral("0,02"));
    QCOMPARE(g.text(4, 8), QStringLiteral("0,01"));  // 0.014
    QVERIFY(g.text(3, 0).isEmpty());
    QVERIFY(g.isFixed(3, 1) && g.isFixed(4, 8) && !g.isFixed(3, 0) && !g.isFixed(2, 2));
    QCOMPARE(g.rowHeights[5], GridLayout::kSeparatorRowHeight);
    QCOMPARE(g.text(5, 4), QStringLiteral(" "));
    QVERIFY(g.mergeableRows[5]);
    QCOMPARE(g.text(6, 0), QStringLiteral("3"));
    QCOMPARE(g.text(6, 1), QStringLiteral("B"));
    QCOMPARE(g.text(11, 1), QString::fromUtf8("Średnia dla części"));
    QCOMPARE(g.text(11, 4), QStringLiteral("9,98"));  // 9.9825
    QCOMPARE(g.text(11, 8), QStringLiteral("10,04"));
    QVERIFY(g.isFixed(11, 8) && g.isWhite(11, 8) && !g.isWhite(11, 7));
    QVERIFY(g.mergeableColumns[1] && g.mergeableColumns[7] && !g.mergeableColumns[8]);
}

void RRStudyTest::appraiserOrderDoesNotChangeXdif() {
    QVector<Series> swapped = workedExample;
    std::swap(swapped[0], swapped[2]);
    std::swap(swapped[1], swapped[3]);
    const RRResults r = run(study(swapped, 2, 2)).results;
    QVERIFY_NEAR(r.Xdif, 0.003);
    QVERIFY_NEAR(r.appraiserAverages[0], 10.040);
}

void RRStudyTest::oneDecimalPatternCoarsensTheRanges() {
    const QVector<Series> data = {{"A", {10.04, 5, 5, 5, 5}},
                                  {"A", {10.06, 5, 5, 5, 5}},
                                  {"B", {10.0, 5, 5, 5, 5}},
                                  {"B", {10.0, 5, 5, 5, 5}}};
    const ShownStudy out = run(study(data, 2, 2, "0.0"));
    QCOMPARE(out.grid.text(1, 2), QStringLiteral("10,0"));
    QCOMPARE(out.grid.text(2, 2), QStringLiteral("10,1"));
    QCOMPARE(out.grid.text(4, 2), QStringLiteral("0,1"));
    QVERIFY_NEAR(out.results.appraiserRanges[0], 0.1 / 5);
    QVERIFY_NEAR(out.results.partAverages[0], (10.0 + 10.1 + 10.0 + 10.0) / 4);
}

void RRStudyTest::decimalTiesRoundAwayInsideAStudy() {
    const QVector<Series> data = {{"A", {1.005, 2, 2, 2, 2}},
                                  {"A", {1.015, 2, 2, 2, 2}},
                                  {"B", {1.0, 2, 2, 2, 2}},
                                  {"B", {1.0, 2, 2, 2, 2}}};
    const ShownStudy out = run(study(data, 2, 2, "0.00"), RegionalSettings::english());
    QCOMPARE(out.grid.text(1, 2), QStringLiteral("1.01"));
    QCOMPARE(out.grid.text(2, 2), QStringLiteral("1.02"));
    QCOMPARE(out.grid.text(3, 2), QStringLiteral("1.02"));  // (1.01 + 1.02) / 2 = 1.015
    QVERIFY_NEAR(out.results.appraiserRanges[0], 0.01 / 5);
    QVERIFY_NEAR(out.results.partAverages[0], (1.01 + 1.02 + 1.0 + 1.0) / 4);
}

void RRStudyTest::incompleteData_data() {
    QTest::addColumn<int>("seriesCount");
    QTest::newRow("one series short") << 3;
    QTest::newRow("one series too many") << 5;
}

void RRStudyTest::incompleteData() {
    QFETCH(int, seriesCount);
    QVector<Series> series = workedExample;
    series << Series{"B", {10.00, 10.06, 9.99, 10.09, 10.04}};
    const ShownStudy out = run(study(series.mid(0, seriesCount), 2, 2));
    QCOMPARE(out.seriesCount, seriesCount);
    QVERIFY(!out.complete);
    for (int p = 13; p <= 26; ++p) {
        QVERIFY2(out.panels[p].isEmpty(), qPrintable(QString::number(p)));
    }
    QVERIFY(!out.results.EV);
    if (seriesCount > 4) {
        return;
    }
    QVERIFY(!out.complete);
    QCOMPARE(out.seriesCount, 3);
    QCOMPARE(out.grid.rows, 12);
    QCOMPARE(out.grid.text(3, 1), QString::fromUtf8("Średnia"));
    QCOMPARE(out.grid.text(6, 1), QStringLiteral("B"));
    QVERIFY(out.grid.text(7, 1).isEmpty());  // no summary for the unfinished block
    QVERIFY(out.grid.text(11, 1).isEmpty());
    for (int p = 13; p <= 26; ++p) {
        QVERIFY2(out.panels[p].isEmpty(), qPrintable(QString::number(p)));
    }
    QCOMPARE(out.rrVerdict, Verdict::None);
    QCOMPARE(out.resolutionVerdict, Verdict::None);
    QVERIFY(!out.results.EV);
}

// The same study with the 95 % factors: K1 3.47, K2 2.78, K3(N = 5) 1.58.
void RRStudyTest::workedExampleAt95Percent() {
    StudyInput in = study(workedExample, 2, 2);
    in.level = 1;
    const RRResults r = run(in).results;
    QVERIFY_NEAR(r.EV, 0.015 * 3.47);
    const double xdif = 0.003 * 2.78;
    const double ev = 0.015 * 3.47;
    QVERIFY_NEAR(r.AV, std::sqrt(std::fabs(xdif * xdif - ev * ev / 10)));
    QVERIFY_NEAR(r.PV, 0.1225 * 1.58);
}

void RRStudyTest::incompleteBlockCountsAsABlock() {
    // K x R series, but split A, A, B, C: B and C are blocks without statistics, and the
    // mean range divides by the three blocks met.
    QVector<Series> data = workedExample;
    data[3].first = "C";
    const ShownStudy out = run(study(data, 2, 2));
    QVERIFY(out.complete);
    QVERIFY_NEAR(out.results.meanRange, 0.014 / 3);
    QVERIFY_NEAR(out.results.Xdif, 10.037);  // A(2) and A(3) are empty: 0
    QCOMPARE(out.grid.text(6, 1), QStringLiteral("B"));
    QCOMPARE(out.grid.text(7, 1), QStringLiteral("C"));
    QCOMPARE(out.grid.text(8, 1), QString::fromUtf8("Średnia dla części"));
}

void RRStudyTest::referenceModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("frtol");
    QTest::addColumn<double>("reference");  // < 0: empty
    QTest::newRow("0 tolerance, assumed Cp") << 0 << 15.0 << 1.0 / (6 * 1.33);
    QTest::newRow("1 tolerance, process Cp") << 1 << 15.0 << 1.0 / (6 * 1.33);
    QTest::newRow("2 standard deviation") << 2 << 15.0 << 1.33;
    QTest::newRow("4 tolerance percentage") << 4 << 15.0 << 0.15;
    QTest::newRow("4 whole tolerance") << 4 << 100.0 << 1.0;
    QTest::newRow("5 unknown mode") << 5 << 15.0 << -1.0;
    QTest::newRow("-1 unknown mode") << -1 << 15.0 << -1.0;
}

void RRStudyTest::referenceModes() {
    QFETCH(int, mode);
    QFETCH(double, frtol);
    QFETCH(double, reference);
    StudyInput in = study(workedExample, 2, 2, "0.00", mode);
    in.FRTol = frtol;
    const ShownStudy out = run(in);
    if (reference < 0) {
        QVERIFY(!out.results.REF);
        QVERIFY(out.panels[25].isEmpty() && out.panels[22].isEmpty());
        QCOMPARE(out.rrVerdict, Verdict::None);  // an empty %R&R is never judged
        return;
    }
    QVERIFY_NEAR(out.results.REF, reference);
    QVERIFY_NEAR(out.results.percentRR, 100 * *out.results.RR / reference);
    QVERIFY_NEAR(out.results.percentEV, 100 * 0.0684 / reference);
}

void RRStudyTest::distinctCategoriesEvaluation() {
    QCOMPARE(distinctCategories(2.0, 0.5), std::optional<double>(5));
    QCOMPARE(distinctCategories(0.0, 0.5), std::optional<double>(0));
    QVERIFY(!distinctCategories(2.0, 0.0));
    QVERIFY(!distinctCategories(2.0, std::nullopt));
    // exactly 5 in decimals, whatever the doubles make of it
    QCOMPARE(distinctCategories(0.35, 0.0987), std::optional<double>(5));
    QCOMPARE(distinctCategories(0.35, 0.0988), std::optional<double>(4));
}

// Studies whose figure lands exactly on a limit, judged as that value: %R&R of exactly
// 10 (POK) is green, and 1,41 PV / R&R of exactly 5 is ndc 5, green at IK1 5.
void RRStudyTest::exactValuesAtTheirLimits_data() {
    QTest::addColumn<QVector<double>>("a");
    QTest::addColumn<QVector<double>>("b");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("percentRR");
    QTest::addColumn<double>("ndc");
    QTest::newRow("%R&R exactly 10")
        << QVector<double>{0, 1, 2, 3, 4} << QVector<double>{0.2, 1.2, 2.2, 3.2, 4.2} << 0 << 10.0
        << 16.0;
    QTest::newRow("ndc exactly 5")
        << QVector<double>{47.3, 57.3, 67.3, 77.3, 92.925}
        << QVector<double>{54.632, 64.632, 74.632, 84.632, 100.257} << 3 << 27.14144 << 5.0;
}

void RRStudyTest::exactValuesAtTheirLimits() {
    QFETCH(QVector<double>, a);
    QFETCH(QVector<double>, b);
    QFETCH(int, mode);
    QFETCH(double, percentRR);
    QFETCH(double, ndc);
    StudyInput in = study({{"A", a}, {"A", a}, {"B", b}, {"B", b}}, 2, 2, "0.000", mode);
    in.WN = 1;
    in.GWG = 43.8;
    in.DWG = 0;
    const ShownStudy out = run(in);
    QVERIFY(std::fabs(*out.results.percentRR - percentRR) <= 5e-5);
    QCOMPARE(*out.results.resolution, ndc);
    QCOMPARE(out.rrVerdict, percentRR <= 10 ? Verdict::Accepted : Verdict::Conditional);
    QCOMPARE(out.resolutionVerdict, Verdict::Accepted);
}

void RRStudyTest::noScatterAtAll() {
    const QVector<Series> data = {{"A", {5, 5, 5, 5, 5}},
                                  {"A", {5, 5, 5, 5, 5}},
                                  {"B", {5, 5, 5, 5, 5}},
                                  {"B", {5, 5, 5, 5, 5}}};
    const ShownStudy out = run(study(data, 2, 2));
    QCOMPARE(*out.results.RR, 0.0);
    QVERIFY(!out.results.resolution);
    QCOMPARE(out.panels[26], QStringLiteral(" "));
    QCOMPARE(out.panels[17], QStringLiteral("0,00 "));
    QVERIFY(out.panels[22].isEmpty());  // TV = 0 is the reference: no percentages
    QCOMPARE(out.resolutionVerdict, Verdict::None);
    QCOMPARE(out.rrVerdict, Verdict::None);
}

void RRStudyTest::zeroReference() {
    StudyInput in = study(workedExample, 2, 2, "0.00", 0);
    in.WN = 0;
    ShownStudy out = run(in);
    QVERIFY(!out.results.REF && !out.results.percentEV && !out.results.percentAV &&
            !out.results.percentRR);
    QVERIFY(out.panels[20].isEmpty() && out.panels[21].isEmpty() && out.panels[22].isEmpty());
    QVERIFY(!out.panels[17].isEmpty());
    in = study(workedExample, 2, 2, "0.00", 4);
    in.GWG = in.DWG;
    out = run(in);
    QCOMPARE(*out.results.REF, 0.0);
    QCOMPARE(out.panels[25], QStringLiteral("0,00 "));
    QVERIFY(out.panels[22].isEmpty());
    QCOMPARE(out.rrVerdict, Verdict::None);
}

void RRStudyTest::factorOutsideTheTables() {
    QVector<Series> data;
    for (const char* who : {"A", "B"}) {
        for (int t = 0; t < 4; ++t) {
            data << Series{who, {10.0 + t * 0.01, 10.1, 10.2, 10.3, 10.4}};
        }
    }
    const ShownStudy out = run(study(data, 2, 4));  // four trials: K1 has no cell
    QVERIFY(out.complete);
    QVERIFY(!out.results.EV);
    QVERIFY(out.panels[15].isEmpty());
    QVERIFY(out.results.AV && out.results.RR);  // later steps read EV as 0
}

void RRStudyTest::rrVerdictLimits_data() {
    QTest::addColumn<double>("percent");
    QTest::addColumn<double>("pok");
    QTest::addColumn<float>("psr");
    QTest::addColumn<int>("verdict");
    QTest::newRow("10 at the limit") << 10.0 << 10.0 << 30.0f << int(Verdict::Accepted);
    QTest::newRow("10.01") << 10.01 << 10.0 << 30.0f << int(Verdict::Conditional);
    QTest::newRow("30 at the limit") << 30.0 << 10.0 << 30.0f << int(Verdict::Conditional);
    QTest::newRow("30.01") << 30.01 << 10.0 << 30.0f << int(Verdict::Rejected);
    QTest::newRow("PSR below POK") << 12.0 << 10.0 << 8.0f << int(Verdict::Rejected);
    QTest::newRow("PSR below POK, within POK") << 9.0 << 10.0 << 8.0f << int(Verdict::Accepted);
}

void RRStudyTest::rrVerdictLimits() {
    QFETCH(double, percent);
    QFETCH(double, pok);
    QFETCH(float, psr);
    QFETCH(int, verdict);
    QCOMPARE(int(judgeRR(percent, pok, psr)), verdict);
}

void RRStudyTest::resolutionVerdictLimits_data() {
    QTest::addColumn<double>("resolution");
    QTest::addColumn<double>("ik1");
    QTest::addColumn<double>("ik2");
    QTest::addColumn<int>("verdict");
    QTest::newRow("5") << 5.0 << 5.0 << 3.0 << int(Verdict::Accepted);
    QTest::newRow("4") << 4.0 << 5.0 << 3.0 << int(Verdict::Conditional);
    QTest::newRow("3") << 3.0 << 5.0 << 3.0 << int(Verdict::Conditional);
    QTest::newRow("2") << 2.0 << 5.0 << 3.0 << int(Verdict::Rejected);
    QTest::newRow("IK2 above IK1") << 4.0 << 5.0 << 6.0 << int(Verdict::Rejected);
}

void RRStudyTest::resolutionVerdictLimits() {
    QFETCH(double, resolution);
    QFETCH(double, ik1);
    QFETCH(double, ik2);
    QFETCH(int, verdict);
    QCOMPARE(int(judgeResolution(resolution, ik1, ik2)), verdict);
    QCOMPARE(judgeResolution(std::nullopt, ik1, ik2), Verdict::None);
    QCOMPARE(judgeRR(std::nullopt, ik1, 30.0f), Verdict::None);
}

void RRStudyTest::psrIsSinglePrecision() {
    // 10.1f is 10.1000003814697..., so a %R&R a little above 10.1 is still within it
    QCOMPARE(judgeRR(10.1, 10.0, 10.1f), Verdict::Conditional);
    QCOMPARE(judgeRR(10.10000001, 10.0, 10.1f), Verdict::Conditional);
    QCOMPARE(judgeRR(10.1000004, 10.0, 10.1f), Verdict::Rejected);
}

// The series typed as text in each locale, stored through the record set, read back
// and computed, give the same figures.
void RRStudyTest::typedInEitherLocaleGivesTheSameResults() {
    QVector<RRResults> results;
    for (const RegionalSettings& rs : {RegionalSettings::polish(), RegionalSettings::english()}) {
        TestDatabase t(
            QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) "
                           "VALUES ('1', 5, 2, 2, 3);"),
            rs);
        QVERIFY2(t.openError().isEmpty(), qPrintable(t.openError()));
        auto series = RecordSets::series(t.db(), QStringLiteral("1"));
        for (const auto& [who, values] : workedExample) {
            series->addNew();
            QVERIFY(series->setField(QStringLiteral("ID"), Value(QStringLiteral("1"))));
            QVERIFY(series->setField(QStringLiteral("Operator"), Value(QString::fromUtf8(who))));
            for (int j = 0; j < values.size(); ++j) {
                const QString typed = formatNumber(values[j], QStringLiteral("0.00"), rs);
                QVERIFY(series->setField(QStringLiteral("P%1").arg(j + 1), Value(typed)));
            }
            QVERIFY(series->setField(QStringLiteral("ObX"), Value(mean(values))));
            QVERIFY(series->update());
        }
        auto analyses = RecordSets::analyses(t.db());
        auto settings = RecordSets::settings(t.db());
        SharedValues shared(rs);
        shared.load(*settings);
        shared.FP = QStringLiteral("0.00");
        auto reopened = RecordSets::series(t.db(), QStringLiteral("1"));
        const StudyInput in = StudyInput::fromRecordSets(*analyses, *reopened, *settings, shared);
        QCOMPARE(in.series.size(), 4);
        results << computeStudy(in, shared.factors, rs).results;
    }
    QCOMPARE(results[0].RR, results[1].RR);
    QCOMPARE(results[0].percentRR, results[1].percentRR);
    QVERIFY_NEAR(results[0].EV, 0.0684);
    QCOMPARE(results[0].resolution, results[1].resolution);
}

void RRStudyTest::extremeValuesNeverShowInfOrNan_data() {
    QTest::addColumn<double>("scale");
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("1e200, squares overflow") << 1e200;
    QTest::newRow("1e-300") << 1e-300;
    QTest::newRow("max double") << 1.7976931348623157e308;
}

void RRStudyTest::extremeValuesNeverShowInfOrNan() {
    QFETCH(double, scale);
    QVector<Series> data = workedExample;
    for (auto& s : data) {
        for (double& v : s.second) {
            v = (v - 10.0) * scale;
        }
    }
    const ShownStudy out = run(study(data, 2, 2, "0.00E+00"), RegionalSettings::english());
    QVERIFY(out.complete);
    for (const QString& text : out.panels) {
        QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                     !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                 qPrintable(text));
    }
    for (const QString& cell : out.grid.cells) {
        QVERIFY2(!cell.contains(QLatin1String("inf"), Qt::CaseInsensitive), qPrintable(cell));
    }
    for (const auto& r : {out.results.EV, out.results.AV, out.results.RR, out.results.PV,
                          out.results.TV, out.results.percentRR}) {
        QVERIFY(!r || std::isfinite(*r));
    }
}

void RRStudyTest::largestStudyLayout() {
    QVector<Series> data;
    for (const char* who : {"Anna", "Bogdan", "Cezary"}) {
        for (int t = 0; t < 3; ++t) {
            QVector<double> v;
            for (int j = 0; j < 10; ++j) {
                v << 20.0 + j * 0.1 + t * 0.003;
            }
            data << Series{who, v};
        }
    }
    const ShownStudy out = run(study(data, 3, 3, "0.000"));
    QCOMPARE(out.grid.rows, 20);
    QCOMPARE(out.grid.columns, 14);
    QCOMPARE(out.grid.text(19, 1), QString::fromUtf8("Średnia dla części"));
    QCOMPARE(out.grid.text(13, 0), QStringLiteral("7"));
    QCOMPARE(out.grid.text(13, 1), QStringLiteral("Cezary"));
    QVERIFY(out.results.RR.has_value());
}

void RRStudyTest::measuredValuesByAppraiserPartAndTrial() {
    // Four runs of Operator: the fourth has no place; a fourth trial neither, but both
    // still count for the smallest and largest value.
    const StudyInput in = study({{"B", {2, 3}},
                                 {"B", {4, 1}},
                                 {"A", {5, 6}},
                                 {"C", {7, 7}},
                                 {"C", {7, 7}},
                                 {"C", {7, 7}},
                                 {"C", {0.5, 7}},
                                 {"D", {9, 7}}},
                                3, 3);
    const MeasuredValues m = MeasuredValues::collect(in.series, 2);
    QCOMPARE(m.names[0].text(), QStringLiteral("B"));
    QCOMPARE(m.names[2].text(), QStringLiteral("C"));
    QCOMPARE(m.at(0, 1, 1).number(), 1.0);  // B, the second part, trial 2
    QCOMPARE(m.at(1, 0, 0).number(), 5.0);
    QVERIFY(m.at(1, 0, 1).isEmpty());  // A has one trial only
    QCOMPARE(m.lo.number(), 0.5);
    QCOMPARE(m.hi.number(), 9.0);
    QCOMPARE(appraiserRuns(in.series).size(), 4);
    QVERIFY(MeasuredValues::collect({}, 5).lo.isEmpty());
}

QTEST_GUILESS_MAIN(RRStudyTest)
#include "tst_rr_study.moc"
