#include <QtTest>
#include <cmath>

#include "crossed_study.h"
#include "measured_values.h"
#include "rr_study.h"

namespace {

using Series = TestSeries;
const QVector<Series>& kWorked = workedExample();

Study study(const QVector<Series>& series, int k, int r, const QString& pattern = "0.00",
            int mode = 3) {
    return crossedStudy(series, k, r, pattern, mode);
}

bool sameNumbers(const StudyOutput& a, const StudyOutput& b) {
    const RRResults& x = a.results;
    const RRResults& y = b.results;
    return a.displayed == b.displayed && a.complete == b.complete && a.rrVerdict == b.rrVerdict &&
           a.resolutionVerdict == b.resolutionVerdict && x.Rp == y.Rp &&
           x.meanRange == y.meanRange && x.Xdif == y.Xdif && x.EV == y.EV && x.AV == y.AV &&
           x.RR == y.RR && x.PV == y.PV && x.TV == y.TV && x.resolution == y.resolution &&
           x.REF == y.REF && x.percentRR == y.percentRR && x.partAverages == y.partAverages &&
           x.grandAverage == y.grandAverage;
}

// Every study of this suite is also computed through a store of shown numbers, empty and
// then filled by the first computation: the numbers must not change.
StudyOutput run(const Study& in, const RegionalSettings& rs = RegionalSettings::polish()) {
    const StudyOutput plain = computeStudy(in, FactorTables(), rs);
    Study stored = in;
    ShownNumbers shown(rs);
    stored.shown = &shown;
    for (int pass = 0; pass < 2; ++pass) {
        if (!sameNumbers(computeStudy(stored, FactorTables(), rs), plain)) {
            qWarning("the stored texts changed the numbers (pass %d)", pass);
            return {};
        }
        shown.textAndReadBack(10.01, in.numberPattern);
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
    void measuredValuesByAppraiserPartAndTrial();
};

void RRStudyTest::workedExampleResults() {
    const StudyOutput out = run(study(kWorked, 2, 2));
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

void RRStudyTest::appraiserOrderDoesNotChangeXdif() {
    QVector<Series> swapped = kWorked;
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
    const StudyOutput out = run(study(data, 2, 2, "0.0"));
    QVERIFY_NEAR(out.results.appraiserRanges[0], 0.1 / 5);
    QVERIFY_NEAR(out.results.partAverages[0], (10.0 + 10.1 + 10.0 + 10.0) / 4);
}

void RRStudyTest::decimalTiesRoundAwayInsideAStudy() {
    const QVector<Series> data = {{"A", {1.005, 2, 2, 2, 2}},
                                  {"A", {1.015, 2, 2, 2, 2}},
                                  {"B", {1.0, 2, 2, 2, 2}},
                                  {"B", {1.0, 2, 2, 2, 2}}};
    const StudyOutput out = run(study(data, 2, 2, "0.00"), RegionalSettings::english());
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
    QVector<Series> series = kWorked;
    series << Series{"B", {10.00, 10.06, 9.99, 10.09, 10.04}};
    const StudyOutput out = run(study(series.mid(0, seriesCount), 2, 2));
    QCOMPARE(out.seriesCount, seriesCount);
    QVERIFY(!out.complete);
    QVERIFY(!out.results.EV);
    if (seriesCount > 4) {
        return;
    }
    QVERIFY(!out.complete);
    QCOMPARE(out.seriesCount, 3);
    QCOMPARE(out.blocks.size(), 1);  // no figures for the unfinished block
    QCOMPARE(out.blocks[0].lastSeries, 1);
    QCOMPARE(out.rrVerdict, Verdict::None);
    QCOMPARE(out.resolutionVerdict, Verdict::None);
    QVERIFY(!out.results.EV);
}

// The same study with the 95 % factors: K1 3.47, K2 2.78, K3(N = 5) 1.58.
void RRStudyTest::workedExampleAt95Percent() {
    Study in = study(kWorked, 2, 2);
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
    QVector<Series> data = kWorked;
    data[3].first = "C";
    const StudyOutput out = run(study(data, 2, 2));
    QVERIFY(out.complete);
    QVERIFY_NEAR(out.results.meanRange, 0.014 / 3);
    QVERIFY_NEAR(out.results.Xdif, 10.037);  // A(2) and A(3) are empty: 0
    QCOMPARE(out.blocks.size(), 1);
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
    Study in = study(kWorked, 2, 2, "0.00", mode);
    in.FRTol = frtol;
    const StudyOutput out = run(in);
    if (reference < 0) {
        QVERIFY(!out.results.REF);
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
    Study in = study({{"A", a}, {"A", a}, {"B", b}, {"B", b}}, 2, 2, "0.000", mode);
    in.WN = 1;
    in.GWG = 43.8;
    in.DWG = 0;
    const StudyOutput out = run(in);
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
    const StudyOutput out = run(study(data, 2, 2));
    QCOMPARE(*out.results.RR, 0.0);
    QVERIFY(!out.results.resolution);
    QCOMPARE(out.resolutionVerdict, Verdict::None);
    QCOMPARE(out.rrVerdict, Verdict::None);
}

void RRStudyTest::zeroReference() {
    Study in = study(kWorked, 2, 2, "0.00", 0);
    in.WN = 0;
    StudyOutput out = run(in);
    QVERIFY(!out.results.REF && !out.results.percentEV && !out.results.percentAV &&
            !out.results.percentRR);
    in = study(kWorked, 2, 2, "0.00", 4);
    in.GWG = in.DWG;
    out = run(in);
    QCOMPARE(*out.results.REF, 0.0);
    QCOMPARE(out.rrVerdict, Verdict::None);
}

void RRStudyTest::factorOutsideTheTables() {
    QVector<Series> data;
    for (const char* who : {"A", "B"}) {
        for (int t = 0; t < 4; ++t) {
            data << Series{who, {10.0 + t * 0.01, 10.1, 10.2, 10.3, 10.4}};
        }
    }
    const StudyOutput out = run(study(data, 2, 4));  // four trials: K1 has no cell
    QVERIFY(out.complete);
    QVERIFY(!out.results.EV);
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

// The observations keep the series as stored (a series with an empty value, runs of any
// length); the chart's values by appraiser, part and trial are read from them: four runs
// of Operator, the fourth has no place; a fourth trial neither, but both still count for
// the smallest and largest value.
void RRStudyTest::measuredValuesByAppraiserPartAndTrial() {
    const Study in = study({{"B", {2, 3}},
                            {"B", {4, 1}},
                            {"A", {5, 6}},
                            {"C", {7, 7}},
                            {"C", {7, 7}},
                            {"C", {7, 7}},
                            {"C", {0.5, 7}},
                            {"D", {9, 7}}},
                           3, 3);
    const CrossedDesign design(in);
    QCOMPARE(design.series().size(), 8);
    QCOMPARE(design.series()[6].parts[0].number(), 0.5);
    QCOMPARE(design.series()[6].average.number(), 3.75);
    QCOMPARE(in.observations[6 * 3 + 1].trial, 4);  // C's fourth series, its first part
    QCOMPARE(design.runs().size(), 4);
    Study gap = in;
    gap.observations[1].value = Value();
    QVERIFY(CrossedDesign(gap).series()[0].parts[0].isEmpty());
    QCOMPARE(CrossedDesign(gap).series().size(), 8);

    const MeasuredValues m = MeasuredValues::collect(design, 2);
    QCOMPARE(m.names.size(), 3);
    QCOMPARE(m.names[0].text(), QStringLiteral("B"));
    QCOMPARE(m.names[2].text(), QStringLiteral("C"));
    QCOMPARE(m.at(0, 1, 1).number(), 1.0);  // B, the second part, trial 2
    QCOMPARE(m.at(1, 0, 0).number(), 5.0);
    QVERIFY(m.at(1, 0, 1).isEmpty());  // A has one trial only
    QCOMPARE(m.lo.number(), 0.5);
    QCOMPARE(m.hi.number(), 9.0);
    QVERIFY(m.at(2, 0, 3).isEmpty());  // no fourth trial
    QVERIFY(MeasuredValues::collect(CrossedDesign(Study()), 5).lo.isEmpty());
}

QTEST_GUILESS_MAIN(RRStudyTest)
#include "tst_rr_study.moc"
