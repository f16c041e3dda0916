#include <QtTest>
#include <cmath>

#include "control_limits.h"
#include "reference_studies.h"

class ControlLimitsTest : public QObject {
    Q_OBJECT

private slots:
    void limits_data();
    void limits();
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
    // two trials: D4 3,27 and A2 1,880; appraiser 2's part 3 reads 0,5 off once
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

QTEST_GUILESS_MAIN(ControlLimitsTest)
#include "tst_control_limits.moc"
