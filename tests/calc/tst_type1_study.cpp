#include <QtTest>
#include <cmath>

#include "near.h"
#include "type1_study.h"

namespace {

// JASP's type-1 test set (stated as verified against Minitab): x_m = -4, T = 15.
const std::vector<double> kJasp = {-4,   -4.1, -4.1, -4.1, -4.1, -3.9, -3.9, -3.9, -4.1, -4.2,
                                   -3.9, -4.2, -4,   -3.8, -3.9, -3.9, -3.9, -3.9, -4.6, -4.3,
                                   -3.9, -3.7, -3.7, -3.9, -4,   -5,   -3.9, -3.8, -3.7, -3.8,
                                   -3.7, -3.8, -3.6, -3.5, -3.6, -3.6, -3.4, -5.1, -3.5, -4,
                                   -4.5, -3.5, -5.1, -5,   -3.5, -3.5, -3.5, -3.6, -3.6, -3.5};

Type1::Input jasp(double k, int l) {
    Type1::Input in;
    in.readings = kJasp;
    in.reference = -4;
    in.lsl = -11.5;
    in.usl = 3.5;
    in.k = k;
    in.l = l;
    return in;
}

}  // namespace

class Type1StudyTest : public QObject {
    Q_OBJECT

private slots:
    void publishedStudy();
    void edges_data();
    void edges();
};

// Every figure JASP prints for its test set, at the digits it prints them.
void Type1StudyTest::publishedStudy() {
    const Type1::Outcome o = Type1::compute(jasp(20, 6));
    QVERIFY(o.results);
    const Type1::Results& r = *o.results;
    QCOMPARE(r.n, 50);
    QVERIFY(near(r.mean, -3.946, 5e-4));
    QVERIFY(near(r.sd, 0.420015, 5e-7));
    QVERIFY(near(r.bias, 0.054, 5e-4));
    QVERIFY(near(r.cg, 1.1904, 5e-5));
    QVERIFY(near(r.cgk, 1.1476, 5e-5));
    QVERIFY(near(r.pctVarRepeatability, 16.80, 5e-3));
    QVERIFY(near(r.pctVarRepeatabilityBias, 17.43, 5e-3));
    QVERIFY(near(r.t, 0.9091, 5e-5));
    QCOMPARE(r.df, 49);
    QVERIFY(near(r.p, 0.3677, 5e-5));
    QVERIFY(near(r.biasCiLow, -0.0654, 5e-5));
    QVERIFY(near(r.biasCiHigh, 0.1734, 5e-5));
    QCOMPARE(r.biasSignificant, std::optional<bool>(false));
    QCOMPARE(r.cgVerdict, Verdict::Rejected);
    QVERIFY(near(r.resolution, 0.1, 1e-15));  // the smallest step of the readings
    QVERIFY(r.resolutionFromReadings);
    QVERIFY(near(r.pctResolution, 0.1 / 15 * 100, 1e-12));
    QCOMPARE(r.resolutionVerdict, Verdict::Accepted);
    // T_min: the tolerance at which each index would reach 1,33 (derived).
    QVERIFY(near(r.tMinCg, 1.33 * 6 * r.sd / 0.2, 1e-9));
    QVERIFY(near(r.tMinCgk, (1.33 * 3 * r.sd + 0.054) / 0.1, 1e-9));

    const Type1::Outcome k15 = Type1::compute(jasp(15, 4));
    QVERIFY(near(k15.results->cg, 1.34, 5e-3));
    QVERIFY(near(k15.results->cgk, 1.27, 5e-3));
    QCOMPARE(k15.results->cgVerdict, Verdict::Accepted);
    QCOMPARE(k15.results->cgkVerdict, Verdict::Rejected);
}

void Type1StudyTest::edges_data() {
    QTest::addColumn<std::vector<double>>("readings");
    QTest::addColumn<double>("lsl");  // NaN: not given
    QTest::addColumn<double>("usl");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<double>("cg");  // NaN: none
    QTest::addColumn<bool>("fewerThanAdvised");
    const double none = std::nan("");
    const std::vector<double> ten = {10.01, 10.02, 10.0,  10.01, 9.99,
                                     10.0,  10.01, 10.02, 10.0,  10.0};
    const std::vector<double> equal(30, 10.0);
    QTest::newRow("ten readings, fewer than advised")
        << ten << 9.9 << 10.1 << 0 << 0.2 * 0.2 / (6 * std::sqrt(0.00084 / 9)) << true;
    QTest::newRow("nine readings refused")
        << std::vector<double>(ten.begin(), ten.end() - 1) << 9.9 << 10.1
        << int(Type1::Refusal::TooFewReadings) << none << false;
    QTest::newRow("1001 readings refused") << std::vector<double>(1001, 1.0) << 0.0 << 2.0
                                           << int(Type1::Refusal::TooManyReadings) << none << false;
    QTest::newRow("all equal: no Cg") << equal << 9.9 << 10.1 << 0 << none << false;
    QTest::newRow("upper limit only: lower at zero")
        << ten << none << 10.1 << 0 << 0.2 * 10.1 / (6 * std::sqrt(0.00084 / 9)) << true;
    QTest::newRow("lower limit only: tolerance not positive")
        << ten << 9.9 << none << int(Type1::Refusal::ToleranceNotPositive) << none << false;
    QTest::newRow("no limits") << ten << none << none << int(Type1::Refusal::NoLimits) << none
                               << false;
    QTest::newRow("limits crossed")
        << ten << 10.1 << 9.9 << int(Type1::Refusal::ToleranceNotPositive) << none << false;
}

void Type1StudyTest::edges() {
    QFETCH(std::vector<double>, readings);
    QFETCH(double, lsl);
    QFETCH(double, usl);
    QFETCH(int, refusal);
    QFETCH(double, cg);
    QFETCH(bool, fewerThanAdvised);
    Type1::Input in;
    in.readings = readings;
    in.reference = 10;
    if (!std::isnan(lsl)) {
        in.lsl = lsl;
    }
    if (!std::isnan(usl)) {
        in.usl = usl;
    }
    const Type1::Outcome o = Type1::compute(in);
    QCOMPARE(int(o.refusal), refusal);
    QCOMPARE(o.results.has_value(), refusal == 0);
    if (!o.results) {
        return;
    }
    const Type1::Results& r = *o.results;
    QCOMPARE(r.fewerThanAdvised(), fewerThanAdvised);
    if (std::isnan(cg)) {
        QVERIFY(!r.cg && !r.cgk && !r.t && !r.p && !r.biasSignificant);
        QCOMPARE(r.cgVerdict, Verdict::None);
        QVERIFY(!r.resolution);  // no step between equal readings, none given
        return;
    }
    QVERIFY(near(r.cg, cg, 1e-9 * cg));
    QCOMPARE(r.zeroLimit, std::isnan(lsl) ? Type1::ZeroLimit::Lower : Type1::ZeroLimit::None);
}

QTEST_GUILESS_MAIN(Type1StudyTest)
#include "tst_type1_study.moc"
