#include <QtTest>
#include <cmath>

#include "linearity_study.h"
#include "near.h"

namespace {

// AIAG MSA 4th edition, Tables III-B 4/5: five parts, twelve readings each.
Linearity::Input aiag() {
    const double readings[5][12] = {{2.7, 2.5, 2.4, 2.5, 2.7, 2.3, 2.5, 2.5, 2.4, 2.4, 2.6, 2.4},
                                    {5.1, 3.9, 4.2, 5.0, 3.8, 3.9, 3.9, 3.9, 3.9, 4.0, 4.1, 3.8},
                                    {5.8, 5.7, 5.9, 5.9, 6.0, 6.1, 6.0, 6.1, 6.4, 6.3, 6.0, 6.1},
                                    {7.6, 7.7, 7.8, 7.7, 7.8, 7.8, 7.8, 7.7, 7.8, 7.5, 7.6, 7.7},
                                    {9.1, 9.3, 9.5, 9.3, 9.4, 9.5, 9.5, 9.5, 9.6, 9.2, 9.3, 9.4}};
    Linearity::Input in;
    for (int part = 0; part < 5; ++part) {
        for (double v : readings[part]) {
            in.points.push_back({part + 1, 2.0 * (part + 1), v});
        }
    }
    return in;
}

}  // namespace

class LinearityStudyTest : public QObject {
    Q_OBJECT

private slots:
    void publishedStudy();
    void edges_data();
    void edges();
};

// Every figure the AIAG manual prints for its example, at the digits it prints them.
void LinearityStudyTest::publishedStudy() {
    const Linearity::Outcome o = Linearity::compute(aiag());
    QVERIFY(o.results);
    const Linearity::Results& r = *o.results;
    QCOMPARE(r.g, 5);
    QCOMPARE(r.m, 12);
    QCOMPARE(r.df, 58);
    QVERIFY(near(r.slope, -0.131667, 5e-7));
    QVERIFY(near(r.intercept, 0.736667, 5e-7));
    QVERIFY(near(r.r2, 0.714, 5e-4));
    QVERIFY(near(r.s, 0.23954, 5e-6));
    QVERIFY(near(r.tSlope, 12.043, 5e-4));
    QVERIFY(near(r.tIntercept, 10.158, 5e-4));
    QVERIFY(near(r.tCrit, 2.00172, 5e-6));
    QVERIFY(near(r.pctLinearity, 13.2, 0.05));
    const double partBias[] = {0.491667, 0.125, 0.025, -0.291667, -0.616667};
    for (int i = 0; i < 5; ++i) {
        QVERIFY(near(r.parts[static_cast<std::size_t>(i)].bias, partBias[i], 5e-7));
    }
    QVERIFY(!r.acceptable);
    QVERIFY(!r.processVariation && !r.linearity && !r.pctBias);
}

void LinearityStudyTest::edges_data() {
    QTest::addColumn<QVector<double>>("references");  // one per part
    QTest::addColumn<QVector<int>>("readings");       // per part
    QTest::addColumn<double>("slope");  // the values: reference + slope·x + 0,01·noise
    QTest::addColumn<int>("refusal");
    QTest::addColumn<int>("acceptable");  // -1: not computed
    QTest::newRow("no slope, noise: acceptable")
        << QVector<double>{2, 4, 6, 8, 10} << QVector<int>{10, 10, 10, 10, 10} << 0.0 << 0 << 1;
    QTest::newRow("a slope: not acceptable")
        << QVector<double>{2, 4, 6, 8, 10} << QVector<int>{10, 10, 10, 10, 10} << 0.05 << 0 << 0;
    QTest::newRow("all references equal") << QVector<double>{5, 5, 5} << QVector<int>{3, 3, 3}
                                          << 0.0 << int(Linearity::Refusal::ReferencesEqual) << -1;
    QTest::newRow("one part") << QVector<double>{5} << QVector<int>{10} << 0.0
                              << int(Linearity::Refusal::TooFewParts) << -1;
    QTest::newRow("a part of one reading: no test of its own")
        << QVector<double>{2, 4, 6} << QVector<int>{1, 3, 3} << 0.0 << 0 << 1;
    QTest::newRow("51 readings") << QVector<double>{2, 4} << QVector<int>{51, 2} << 0.0
                                 << int(Linearity::Refusal::TooManyReadings) << -1;
}

void LinearityStudyTest::edges() {
    QFETCH(QVector<double>, references);
    QFETCH(QVector<int>, readings);
    QFETCH(double, slope);
    QFETCH(int, refusal);
    QFETCH(int, acceptable);
    Linearity::Input in;
    for (int p = 0; p < references.size(); ++p) {
        for (int j = 0; j < readings[p]; ++j) {
            const double noise = 0.01 * ((j * 7 + p * 3) % 5 - 2);
            in.points.push_back({p + 1, references[p], references[p] * (1 + slope) + noise});
        }
    }
    const Linearity::Outcome o = Linearity::compute(in);
    QCOMPARE(int(o.refusal), refusal);
    QCOMPARE(o.results ? int(o.results->acceptable) : -1, acceptable);
    if (o.results && readings.first() == 1) {
        QVERIFY(!o.results->parts.front().t && o.results->parts.back().t);
    }
}

QTEST_GUILESS_MAIN(LinearityStudyTest)
#include "tst_linearity_study.moc"
