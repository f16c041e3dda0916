#include <QtTest>
#include <cmath>

#include "control_limits.h"
#include "reference_studies.h"

class ControlLimitsTest : public QObject {
    Q_OBJECT

private slots:
    void limits_data();
    void limits();
    void remeasuredTrial_data();
    void remeasuredTrial();
};

void ControlLimitsTest::limits_data() {
    QTest::addColumn<Anova::Values>("y");
    QTest::addColumn<QVector<double>>("expected");  // rbar, uclR, xbarbar, uclX, lclX
    QTest::addColumn<QString>("flags");             // appraiser:part=range, from 1
    QTest::addColumn<int>("outside");
    QTest::addColumn<int>("total");
    QTest::newRow("AIAG 10 x 3 x 3")
        << aiag().y << QVector<double>{0.341667, 0.8815, 0.001444, 0.3510, -0.3481} << "2:4=1.02"
        << 22 << 30;
    // two trials: D4 3,27 and A2 1,880; appraiser 2 reads its third part once, 0,5 too high
    QTest::newRow("10 x 3 x 2, one wild reading")
        << made(3, 10, 2,
                [](int i, int j, int t) {
                    return 10 + 0.2 * j + 0.01 * t + (i == 1 && j == 2 && t == 1 ? 0.5 : 0);
                })
               .y
        << QVector<double>{(29 * 0.01 + 0.51) / 30, 3.27 * 0.8 / 30, 10.905 + 0.5 / 60,
                           10.905 + 0.5 / 60 + 1.88 * 0.8 / 30, 10.905 + 0.5 / 60 - 1.88 * 0.8 / 30}
        << "2:3=0.51" << 30 << 30;
    QTest::newRow("5 x 2 x 2, parts alike")
        << made(2, 5, 2, [](int, int j, int t) { return 1 + 0.001 * j + 0.01 * t; }).y
        << QVector<double>{0.01, 0.0327, 1.007, 1.007 + 0.0188, 1.007 - 0.0188} << "" << 0 << 10;
    QTest::newRow("every value equal") << made(2, 5, 3, [](int, int, int) { return 10.1; }).y
                                       << QVector<double>{0, 0, 10.1, 10.1, 10.1} << "" << 0 << 10;
    // one range of exactly 2,58 x R-bar (0,0258 against R-bar 0,01): at the limit, not above
    QTest::newRow("a range exactly at UCL_R")
        << made(2, 5, 3,
                [](int i, int j, int t) {
                    const double range =
                        i == 0 && j == 0 ? 0.0258 : (i == 0 && j == 4 ? 0.0086 : 0.0082);
                    return 1 + 0.01 * j + (t == 1 ? 0.0001 : 0) + (t == 2 ? range : 0);
                })
               .y
        << QVector<double>{0.01, 0.0258, 1.0233667, 1.0335967, 1.0131367} << "" << 6 << 10;
}

void ControlLimitsTest::limits() {
    QFETCH(Anova::Values, y);
    QFETCH(QVector<double>, expected);
    QFETCH(QString, flags);
    QFETCH(int, outside);
    QFETCH(int, total);
    double meanRange = 0;  // as average-and-range has it: the mean of all ranges
    for (const auto& appraiser : y) {
        for (const auto& trials : appraiser) {
            meanRange += *std::max_element(trials.begin(), trials.end()) -
                         *std::min_element(trials.begin(), trials.end());
        }
    }
    meanRange /= static_cast<double>(y.size() * y[0].size());
    const auto c = ControlLimits::compute(y, meanRange);
    QVERIFY(c);
    const double got[] = {c->rbar, c->uclR, c->xbarbar, c->uclX, c->lclX};
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(std::fabs(got[i] - expected[i]) <= 5e-5,
                 qPrintable(QStringLiteral("%1: %2").arg(i).arg(got[i], 0, 'g', 10)));
    }
    QCOMPARE(c->lclR, 0.0);
    QStringList drawn;
    for (const auto& f : c->flaggedRanges) {
        drawn << QStringLiteral("%1:%2=%3").arg(f.appraiser + 1).arg(f.part + 1).arg(f.range);
    }
    QCOMPARE(drawn.join(QLatin1Char(' ')), flags);
    QCOMPARE(c->averagesOutside, outside);
    QCOMPARE(c->averagesTotal, total);
    QVERIFY(!ControlLimits::compute(made(2, 5, 4, [](int, int, int) { return 1.0; }).y, 0.0));
}

// The reading to measure again is the one farthest from the part's mean over everyone:
// with two trials the subgroup's own mean lies halfway and cannot tell the wild one.
void ControlLimitsTest::remeasuredTrial_data() {
    QTest::addColumn<Anova::Values>("y");
    QTest::addColumn<int>("trial");
    const auto wild = [](int trial, int trials) {
        return made(3, 5, trials,
                    [=](int i, int j, int t) {
                        return 0.75 + 0.1 * j + (i == 1 && j == 2 && t == trial ? 0.7 : 0);
                    })
            .y;
    };
    QTest::newRow("two trials, the first wild") << wild(0, 2) << 0;
    QTest::newRow("two trials, the second wild") << wild(1, 2) << 1;
    QTest::newRow("three trials, the last wild") << wild(2, 3) << 2;
    QTest::newRow("low reading wild")
        << made(
               2, 5, 2,
               [](int i, int j, int t) { return 1.0 + j - (i == 1 && j == 2 && t == 1 ? 0.5 : 0); })
               .y
        << 1;
}

void ControlLimitsTest::remeasuredTrial() {
    QFETCH(Anova::Values, y);
    QFETCH(int, trial);
    QCOMPARE(ControlLimits::trialToRemeasure(y, {1, 2, 0.0}), trial);
}

QTEST_GUILESS_MAIN(ControlLimitsTest)
#include "tst_control_limits.moc"
