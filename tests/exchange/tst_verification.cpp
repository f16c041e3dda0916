#include <QtTest>

#include "shared_values.h"
#include "verification.h"

namespace {

QStringList disagreeing(const Verification::Record& record) {
    QStringList names;
    for (const Verification::Study& study : record.studies) {
        for (const Verification::Check& check : study.checks) {
            for (const Verification::Figure& figure : check.figures) {
                if (!figure.agrees) {
                    names << figure.name;
                }
            }
        }
    }
    return names;
}

}  // namespace

class VerificationTest : public QObject {
    Q_OBJECT

private slots:
    void everyPublishedFigureAgrees();
    void wrongFactorIsCaughtAndNamed_data();
    void wrongFactorIsCaughtAndNamed();
};

// The reference studies, computed as the main window computes them, agree with every
// figure their sources print; the record names the build it checked.
void VerificationTest::everyPublishedFigureAgrees() {
    const Verification::Record record = Verification::run({});
    QVERIFY2(record.passed(), qPrintable(disagreeing(record).join(QStringLiteral(", "))));
    QCOMPARE(record.figures(), 40);
    QCOMPARE(record.studies.size(), 1);
    QVERIFY(record.studies[0].failure.isEmpty());
    QVERIFY(!record.commit.isEmpty() && !record.sqlite.isEmpty() && !record.qt.isEmpty());
    QVERIFY(Verification::plainText(record).contains(
        QString::fromUtf8("Wynik: wszystkie 40 wielkości zgodne z opublikowanymi.")));
}

// One factor of the program's tables made wrong at the study's level (99 %): the figures
// that depend on it disagree and are named; ANOVA and the control limits do not use it.
void VerificationTest::wrongFactorIsCaughtAndNamed_data() {
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("named");
    QTest::newRow("K1, 3 trials") << int(FactorTables::Factor::K1) << 3 << 3.10 << "EV";
    QTest::newRow("K2, 3 appraisers") << int(FactorTables::Factor::K2) << 3 << 2.75 << "AV";
    QTest::newRow("K3, 10 parts") << int(FactorTables::Factor::K3) << 10 << 1.60 << "PV";
}

void VerificationTest::wrongFactorIsCaughtAndNamed() {
    QFETCH(int, factor);
    QFETCH(int, count);
    QFETCH(double, value);
    QFETCH(QString, named);
    Verification::Options options;
    options.adjust = [&](SharedValues& shared) {
        QVERIFY(shared.factors.replace(static_cast<FactorTables::Factor>(factor), 0, count, value));
    };
    const Verification::Record record = Verification::run(options);
    QVERIFY(!record.passed());
    const QStringList names = disagreeing(record);
    QVERIFY2(names.contains(named), qPrintable(names.join(QStringLiteral(", "))));
    QCOMPARE(record.mismatches(), names.size());
    QVERIFY(record.summary().contains(QStringLiteral("NIEZGODNE")));
    for (const Verification::Figure& f : record.studies[0].checks[1].figures) {
        QVERIFY2(f.agrees, qPrintable(f.name));  // ANOVA
    }
}

QTEST_GUILESS_MAIN(VerificationTest)
#include "tst_verification.moc"
