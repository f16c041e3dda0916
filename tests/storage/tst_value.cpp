#include <QtTest>

#include "factor_tables.h"
#include "shared_values.h"
#include "value.h"

class ValueTest : public QObject {
    Q_OBJECT

private slots:
    void smallerAndLarger();
    void emptyCountsAsZero();
    void textAgainstNumber();
    void factorTables();
    void confidenceLevel();
};

void ValueTest::smallerAndLarger() {
    QCOMPARE(Wieksza(Value(3), Value(3)), Value(3));
    QCOMPARE(Mniejsza(Value(2), Value(5)), Value(2));
    QCOMPARE(Wieksza(Value(2), Value(5)), Value(5));
    // ties keep the first argument, with its own type
    QVERIFY(Wieksza(Value(), Value(0)).isEmpty());
    QVERIFY(Mniejsza(Value(0), Value()).isNumber());
    QCOMPARE(Mniejsza(Value(-1.5), Value()), Value(-1.5));
}

void ValueTest::emptyCountsAsZero() {
    QCOMPARE(compareValues(Value(), Value(0)), 0);
    QCOMPARE(compareValues(Value(), Value(-0.1)), 1);
    QCOMPARE(Value().toNumber(RegionalSettings::polish()), 0.0);
    QCOMPARE(Wieksza(Value(), Value(0.5)), Value(0.5));
}

void ValueTest::textAgainstNumber() {
    const auto pl = RegionalSettings::polish();
    QCOMPARE(Value(QStringLiteral("10,5")).toNumber(pl), 10.5);
    QCOMPARE(Value(QStringLiteral("10.5")).toNumber(pl), 0.0);
    QCOMPARE(compareValues(Value(5), Value(QStringLiteral("a"))), -1);
    QCOMPARE(compareValues(Value(QStringLiteral("B")), Value(QStringLiteral("a"))), -1);
    QCOMPARE(Value(12.5).toText(pl), QStringLiteral("12,5"));
    QCOMPARE(Value(3).toText(RegionalSettings::english()), QStringLiteral("3"));
}

void ValueTest::factorTables() {
    const FactorTables t;
    QCOMPARE(t.k1(0, 2)->number(), 4.56);
    QCOMPARE(t.k1(1, 3)->number(), 2.32);
    QCOMPARE(t.k2(0, 3)->number(), 2.70);
    QCOMPARE(t.k2(1, 2)->number(), 2.78);
    QCOMPARE(t.k3(1, 10)->number(), 1.23);
    QCOMPARE(t.k3(0, 5)->number(), 2.08);
    QCOMPARE(t.k3(0, 2)->number(), 3.65);
    // below 2: a cell that is not filled; past the table: no cell at all
    QVERIFY(t.k1(0, 1).has_value() && t.k1(0, 1)->isEmpty());
    QVERIFY(t.k3(2, 5).has_value() && t.k3(2, 5)->isEmpty());
    QVERIFY(!t.k1(0, 4).has_value());
    QVERIFY(!t.k2(1, 4).has_value());
    QVERIFY(!t.k3(0, 11).has_value());
    QVERIFY(!t.k3(3, 5).has_value());
    QVERIFY(!t.k1(0, -1).has_value());
}

void ValueTest::confidenceLevel() {
    QCOMPARE(SharedValues::levelFromProc(Value(99)), 0);
    QCOMPARE(SharedValues::levelFromProc(Value(95)), 1);
    QCOMPARE(SharedValues::levelFromProc(Value(90)), 1);
    QCOMPARE(SharedValues::levelFromProc(Value()), 1);
}

QTEST_GUILESS_MAIN(ValueTest)
#include "tst_value.moc"
