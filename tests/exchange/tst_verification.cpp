#include <QtTest>

#include "shared_values.h"
#include "small_disk.h"
#include "verification.h"

namespace {

QStringList disagreeing(const Verification::Record& record) {
    QStringList names;
    for (const Verification::Study& study : record.studies) {
        for (const Verification::Check& check : study.checks) {
            for (const Verification::Figure& figure : check.figures) {
                if (!figure.agrees()) {
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
    void everyReferenceFigureAgrees();
    void wrongFactorIsCaughtAndNamed_data();
    void wrongFactorIsCaughtAndNamed();
    void studyNotComputedIsNoDisagreement();
};

// The reference studies, computed as the main window computes them, agree with every
// figure; each says truly whether its source prints it or it was derived, and the
// summary never calls a derived figure published. The record names the build.
void VerificationTest::everyReferenceFigureAgrees() {
    const Verification::Record record = Verification::run({});
    QVERIFY2(record.passed(), qPrintable(disagreeing(record).join(QStringLiteral(", "))));
    QCOMPARE(record.exitCode(), 0);
    QCOMPARE(record.studies.size(), 6);
    using Verification::Source;
    const QVector<QVector<Source>> kinds = {{Source::Published, Source::Derived, Source::Derived},
                                            {Source::Published},
                                            {Source::Published},
                                            {Source::Published},
                                            {Source::Published},
                                            {Source::Published}};
    for (int i = 0; i < record.studies.size(); ++i) {
        const Verification::Study& study = record.studies[i];
        QVERIFY(study.failure.isEmpty());
        QCOMPARE(study.checks.size(), kinds[i].size());
        for (int c = 0; c < study.checks.size(); ++c) {
            for (const Verification::Figure& f : study.checks[c].figures) {
                QVERIFY2(f.source == kinds[i][c], qPrintable(f.name));
            }
        }
    }
    QCOMPARE(record.figures(), 103);
    QVERIFY(!record.commit.isEmpty() && !record.sqlite.isEmpty() && !record.qt.isEmpty());
    const QString text = Verification::plainText(record);
    QVERIFY(text.contains(QString::fromUtf8(
        "Wynik: wszystkie 103 wielkości zgodne — 76 z wartościami opublikowanymi, 27 z "
        "wartościami wyprowadzonymi z opublikowanych danych.")));
    QVERIFY(text.contains(QStringLiteral("opublikowana")) &&
            text.contains(QStringLiteral("wyprowadzona")));
}

// One factor of the program's tables made wrong at the study's level (99 %): the figures
// that depend on it disagree and are named; ANOVA and the control limits do not use it.
void VerificationTest::wrongFactorIsCaughtAndNamed_data() {
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("named");
    QTest::newRow("K1, 3 trials") << int(FactorTables::Factor::K1) << 3 << 3.10 << "EV ÷ 5,15";
    QTest::newRow("K2, 3 appraisers") << int(FactorTables::Factor::K2) << 3 << 2.75 << "AV ÷ 5,15";
    QTest::newRow("K3, 10 parts") << int(FactorTables::Factor::K3) << 10 << 1.60 << "PV ÷ 5,15";
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
    QVERIFY2(!names.filter(named).isEmpty(), qPrintable(names.join(QStringLiteral(", "))));
    QCOMPARE(record.mismatches(), names.size());
    QCOMPARE(record.exitCode(), 1);
    QVERIFY(record.summary().contains(QStringLiteral("NIEZGODNE")));
    for (const Verification::Figure& f : record.studies[0].checks[1].figures) {
        QVERIFY2(f.agrees(), qPrintable(f.name));  // ANOVA
    }
}

// No room in the temporary folder: the studies are not computed, which is neither
// agreement nor "NIEZGODNY", and the cause is named.
void VerificationTest::studyNotComputedIsNoDisagreement() {
    SmallDisk disk;
    if (!disk.mounted()) {
        QSKIP("a small disk needs root");
    }
    QVERIFY(disk.fill());
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", disk.path().toUtf8());
    const Verification::Record record = Verification::run({});
    qputenv("TMPDIR", tmp);
    QCOMPARE(record.mismatches(), 0);
    QCOMPARE(record.notComputed(), record.figures());
    QCOMPARE(record.exitCode(), 2);
    QVERIFY(!record.passed());
    QVERIFY2(record.studies[0].failure.contains(QString::fromUtf8("brak miejsca")),
             qPrintable(record.studies[0].failure));
    QVERIFY(!Verification::plainText(record).contains(QStringLiteral("NIEZGODN")));
    QCOMPARE(Verification::verdictOf(record), Verdict::None);
}

QTEST_GUILESS_MAIN(VerificationTest)
#include "tst_verification.moc"
