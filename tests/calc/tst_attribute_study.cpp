#include <QtTest>
#include <cmath>

#include "attribute_study.h"
#include "near.h"

namespace {

// AIAG MSA 4th edition, Table III-C 1: for each part A's three trials, B's, C's, then the
// reference; 1 = accept, 0 = reject.
const char* const kAiag[] = {
    "111 111 111 1|111 111 111 1|000 000 000 0|000 000 000 0|000 000 000 0|110 110 100 1|"
    "111 111 101 1|111 111 111 1|000 000 000 0|111 111 111 1",
    "111 111 111 1|000 000 010 0|111 111 111 1|110 111 100 1|111 111 111 1|111 111 111 1|"
    "111 111 111 1|111 111 111 1|111 111 111 1|111 111 111 1",
    "110 101 010 1|001 010 110 0|111 111 111 1|111 111 111 1|000 000 000 0|010 000 001 0|"
    "111 111 111 1|111 111 111 1|111 111 111 1|000 001 000 0",
    "111 111 111 1|111 111 111 1|111 111 111 1|001 001 011 0|111 111 111 1|110 111 101 1|"
    "000 000 000 0|111 111 111 1|000 000 000 0|111 111 111 1",
    "111 111 111 1|000 000 000 0|101 111 110 1|111 111 111 1|000 000 000 0|111 111 111 1|"
    "111 111 111 1|000 000 000 0|111 111 111 1|000 000 000 0"};

Attribute::Input aiag(bool withReference = true, int appraisers = 3, int trials = 3) {
    Attribute::Input in;
    in.appraisers = QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}.mid(
        0, appraisers);
    int part = 0;
    for (const char* line : kAiag) {
        for (const QString& cell : QString::fromLatin1(line).split(QLatin1Char('|'))) {
            const QStringList groups = cell.split(QLatin1Char(' '));
            ++part;
            for (int a = 0; a < appraisers; ++a) {
                for (int t = 0; t < trials; ++t) {
                    in.decisions.push_back({a, part, t + 1, groups[a].mid(t, 1)});
                }
            }
            if (withReference) {
                in.reference[part] = groups[3];
            }
        }
    }
    return in;
}

}  // namespace

class AttributeStudyTest : public QObject {
    Q_OBJECT

private slots:
    void publishedStudy();
    void studiesWithoutSomeFigures();
};

// Every figure the AIAG manual prints for its example, at its digits; the interval of all
// appraisers against the reference as computed exactly (the manual prints 64 % – 89 %).
void AttributeStudyTest::publishedStudy() {
    const Attribute::Outcome o = Attribute::compute(aiag());
    QVERIFY(o.results);
    const Attribute::Results& r = *o.results;
    QCOMPARE(r.parts, 50);
    QCOMPARE(r.accept, QStringLiteral("1"));
    const double pairs[] = {0.86, 0.78, 0.79};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(near(r.cohenPairs[static_cast<std::size_t>(i)].kappa, pairs[i], 0.005));
    }
    const double vsReference[] = {0.88, 0.92, 0.77};
    const double effectiveness[][3] = {{84, 71, 93}, {90, 78, 97}, {80, 66, 90}};
    const double miss[] = {6.3, 6.3, 12.5};
    const double falseAlarm[] = {4.9, 2.0, 8.8};
    for (std::size_t a = 0; a < 3; ++a) {
        const Attribute::AppraiserResult& ar = r.appraisers[a];
        QVERIFY(near(ar.cohenVsReference, vsReference[a], 0.005));
        QVERIFY(near(ar.vsReference->pct, effectiveness[a][0], 0.5));
        QVERIFY(near(ar.vsReference->ciLow, effectiveness[a][1], 0.5));
        QVERIFY(near(ar.vsReference->ciHigh, effectiveness[a][2], 0.5));
        QVERIFY(near(ar.missRate->pct, miss[a], 0.05));
        QVERIFY(near(ar.falseAlarmRate->pct, falseAlarm[a], 0.05));
    }
    QCOMPARE(r.appraisers[0].effectivenessVerdict, Verdict::Conditional);
    QCOMPARE(r.appraisers[1].effectivenessVerdict, Verdict::Accepted);
    QCOMPARE(r.appraisers[2].missVerdict, Verdict::Rejected);
    QVERIFY(near(r.allVsReference->pct, 78, 1e-9));
    QVERIFY(near(r.allVsReference->ciLow, 64.0, 0.05));
    QVERIFY(near(r.allVsReference->ciHigh, 88.5, 0.05));
}

// Without a reference only agreement and kappa; one appraiser: nothing between; one
// trial: nothing within; three categories: no rates.
void AttributeStudyTest::studiesWithoutSomeFigures() {
    const Attribute::Outcome none = Attribute::compute(aiag(false));
    QVERIFY(none.results && !none.results->allVsReference && none.results->between);
    QVERIFY(!none.results->appraisers[0].vsReference && !none.results->appraisers[0].missRate);
    const Attribute::Outcome alone = Attribute::compute(aiag(true, 1));
    QVERIFY(alone.results && !alone.results->between && alone.results->cohenPairs.empty());
    const Attribute::Outcome once = Attribute::compute(aiag(true, 3, 1));
    QVERIFY(once.results && !once.results->appraisers[0].within);
    QVERIFY(once.results->appraisers[0].vsReference);
    Attribute::Input three = aiag();
    three.decisions.front().category = QStringLiteral("2");
    const Attribute::Outcome o = Attribute::compute(three);
    QCOMPARE(o.results->categories.size(), 3);
    QVERIFY(!o.results->appraisers[0].missRate && o.results->appraisers[0].cohenVsReference);
    Attribute::Input few = aiag();
    few.decisions.resize(3);
    QCOMPARE(Attribute::compute(few).refusal, Attribute::Refusal::TooFewParts);
}

QTEST_GUILESS_MAIN(AttributeStudyTest)
#include "tst_attribute_study.moc"
