#include <QtTest>
#include <cmath>

#include "anova.h"
#include "reference_studies.h"

namespace {

bool finite(const std::optional<double>& v) {
    return !v || std::isfinite(*v);
}

}  // namespace

class AnovaTest : public QObject {
    Q_OBJECT

private slots:
    void publishedStudy();
    void storedStudyGivesTheSameAnova();
    void pValues_data();
    void pValues();
    void edgeCases_data();
    void edgeCases();
    void rrLimits_data();
    void rrLimits();
};

// The published ANOVA of the AIAG study (variances to 5e-6, percentages to 0,005).
void AnovaTest::publishedStudy() {
    const auto r = Anova::compute(aiag());
    QVERIFY(r);
    auto near = [](double actual, double expected, double tolerance) {
        return std::fabs(actual - expected) <= tolerance;
    };
    QVERIFY(near(*r->table.interaction.f, 0.433721, 5e-6));
    QVERIFY(near(*r->interactionP, 0.974106, 5e-6));
    QVERIFY(r->pooled);
    QVERIFY(near(*r->table.part.ms, 9.817993, 5e-6));
    QVERIFY(near(*r->table.appraiser.ms, 1.583631, 5e-6));
    QVERIFY(near(*r->table.interaction.ms, 0.019943, 5e-6));
    QVERIFY(near(*r->table.repeatability.ms, 0.045982, 5e-6));
    QVERIFY(near(*r->reduced.repeatability.ms, 0.039973, 5e-6));
    // main effects against the interaction in the full table, against the pooled error after
    QVERIFY(near(*r->table.part.f, 492.291, 5e-3));
    QVERIFY(near(*r->table.appraiser.f, 79.406, 5e-3));
    QVERIFY(near(*r->reduced.part.f, 245.614, 5e-3));
    QVERIFY(near(*r->reduced.appraiser.f, 39.617, 5e-3));
    QVERIFY(near(r->components.repeatability.variance, 0.039973, 5e-6));
    QVERIFY(near(r->components.appraiser.variance, 0.051455, 5e-6));
    QCOMPARE(r->components.interaction.variance, 0.0);
    QVERIFY(near(r->components.part.variance, 1.086447, 5e-6));
    QVERIFY(near(r->components.rr.variance, 0.091429, 5e-6));
    QVERIFY(near(r->components.total.variance, 1.177875, 5e-6));
    QVERIFY(near(r->components.rr.sd, 0.302372, 5e-6));
    QVERIFY(near(*r->components.rr.pctStudyVar, 27.86, 0.005));
    QVERIFY(near(*r->components.rr.pctContribution, 7.76, 0.005));
    QCOMPARE(*r->ndc, 4.0);
    QVERIFY(near(*r->components.rr.pctRef, 27.86, 0.005));  // CoRef 3: the total is the reference
    QCOMPARE(r->rrVerdict, Verdict::Conditional);
    QCOMPARE(r->ndcVerdict, Verdict::Conditional);
    // 95 % limits around each sigma, repeatability's exact with 78 df
    QVERIFY(*r->components.repeatability.ciLow < r->components.repeatability.sd &&
            r->components.repeatability.sd < *r->components.repeatability.ciHigh);
    QVERIFY(*r->components.rr.ciLow < r->components.rr.sd &&
            r->components.rr.sd < *r->components.rr.ciHigh);
    QVERIFY(!r->components.interaction.ciLow);
}

// The study as the record set holds it (series in appraiser runs), through the displayed
// values of the average-and-range method: the same ANOVA in either locale and under any
// pattern fine enough to hold the values.
void AnovaTest::storedStudyGivesTheSameAnova() {
    Study study;
    study.parts = 10;
    study.appraisers = 3;
    study.trials = 3;
    study.referenceMode = 3;
    for (int i = 0; i < 3; ++i) {
        for (int t = 0; t < 3; ++t) {
            SeriesRow s;
            s.appraiser = QString(QLatin1Char('A' + i));
            for (const double v : kAiag[i][t]) {
                s.parts << Value(v);
            }
            CrossedDesign::addSeries(study, s);
        }
    }
    const auto direct = Anova::compute(aiag());
    for (const RegionalSettings& rs : {RegionalSettings::polish(), RegionalSettings::english()}) {
        for (const char* pattern : {"0.00", "0.0000", "#,##0.000"}) {
            study.numberPattern = QString::fromLatin1(pattern);
            const StudyOutput output = computeStudy(study, FactorTables(), rs);
            const auto input = Anova::inputOf(study, CrossedDesign(study), output, 0.05);
            QVERIFY(input);
            const auto fromFile = Anova::compute(*input);
            QCOMPARE(fromFile->components.rr.variance, direct->components.rr.variance);
            QCOMPARE(fromFile->table.part.ss, direct->table.part.ss);
        }
    }
    study.observations.resize(study.observations.size() - 11);  // no longer balanced
    QVERIFY(!Anova::inputOf(study, CrossedDesign(study),
                            computeStudy(study, FactorTables(), RegionalSettings::polish()), 0.05));
}

void AnovaTest::pValues_data() {
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("df1");
    QTest::addColumn<double>("df2");
    QTest::addColumn<double>("p");
    QTest::newRow("AIAG interaction") << 0.433721 << 18.0 << 60.0 << 0.974106;
    QTest::newRow("a significant one") << 4.458781 << 18.0 << 30.0 << 0.000156;
}

void AnovaTest::pValues() {
    QFETCH(double, f);
    QFETCH(double, df1);
    QFETCH(double, df2);
    QFETCH(double, p);
    QVERIFY(std::fabs(*Anova::upperTailF(f, df1, df2) - p) <= 5e-7);
}

void AnovaTest::edgeCases_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("every value equal") << 0;
    QTest::newRow("perfect gauge") << 1;
    QTest::newRow("k = 2, n = 5, r = 2") << 2;
    QTest::newRow("negative appraiser component, positive interaction") << 3;
}

void AnovaTest::edgeCases() {
    QFETCH(int, kind);
    const std::function<double(int, int, int)> rules[] = {
        [](int, int, int) { return 10.0; },
        [](int, int j, int) { return 10.0 + 0.1 * j; },  // trials and appraisers agree
        [](int i, int j, int t) { return 10.0 + 0.1 * j + 0.01 * i + 0.003 * ((i + j + t) % 3); },
        // two appraisers cross over part by part: a large interaction, equal means
        [](int i, int j, int t) {
            return 10.0 + 0.1 * j + (i == j % 2 ? 0.05 : -0.05) + 0.001 * t;
        },
    };
    const int k = kind >= 2 ? 2 : 3;
    const int n = kind == 2 ? 5 : 10;
    const int r = kind == 2 ? 2 : 3;
    const auto out = Anova::compute(made(k, n, r, rules[kind]));
    QVERIFY(out);
    const Anova::Components& c = out->components;
    const Anova::Component* all[] = {
        &c.repeatability, &c.reproducibility, &c.appraiser, &c.interaction, &c.rr, &c.part,
        &c.total};
    for (const Anova::Component* one : all) {
        QVERIFY(one->variance >= 0 && std::isfinite(one->variance) && std::isfinite(one->sd));
        QVERIFY(finite(one->pctContribution) && finite(one->pctStudyVar) && finite(one->pctRef) &&
                finite(one->ciLow) && finite(one->ciHigh));
    }
    QCOMPARE(out->components.rr.variance,
             out->components.repeatability.variance + out->components.reproducibility.variance);
    switch (kind) {
        case 0:
            QVERIFY(!out->ndc && !out->components.total.pctContribution);
            QCOMPARE(out->rrVerdict, Verdict::None);
            break;
        case 1:  // no rounding residue makes the interaction "significant"
            QCOMPARE(out->table.interaction.ss, 0.0);
            QCOMPARE(out->components.rr.variance, 0.0);
            QVERIFY(!out->ndc);
            break;
        case 2:
            QCOMPARE(out->table.part.df, 4.0);
            QCOMPARE(out->table.repeatability.df, 10.0);
            QCOMPARE(out->multiplier, 5.15);
            break;
        default:  // clamped alone: the interaction is kept whole
            QVERIFY(!out->pooled);
            QCOMPARE(out->components.appraiser.variance, 0.0);
            QVERIFY(out->components.interaction.variance > 0);
            QCOMPARE(out->components.reproducibility.variance,
                     out->components.interaction.variance);
            break;
    }
}

// The 95 % limits of sigma R&R, each mean square entering Satterthwaite's nu once
// (Burdick and Larsen): the worked 5 x 2 x 2 study at both alphas. With two appraisers
// the appraiser mean square has one degree of freedom, so reproducibility's nu is below
// one and it gets no limits at all rather than absurd ones.
void AnovaTest::rrLimits_data() {
    QTest::addColumn<double>("alpha");
    QTest::addColumn<bool>("pooled");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("alpha 0,05: pooled") << 0.05 << true << 0.008958 << 0.018925;
    QTest::newRow("alpha 0,25: full model") << 0.25 << false << 0.008933 << 0.022809;
}

void AnovaTest::rrLimits() {
    QFETCH(double, alpha);
    QFETCH(bool, pooled);
    QFETCH(double, low);
    QFETCH(double, high);
    static const double worked[2][2][5] = {
        {{10.01, 10.05, 9.98, 10.10, 10.03}, {10.03, 10.04, 9.99, 10.12, 10.02}},
        {{10.02, 10.07, 9.97, 10.11, 10.05}, {10.00, 10.06, 9.99, 10.09, 10.04}}};
    Anova::Input in = made(2, 5, 2, [](int i, int j, int t) { return worked[i][t][j]; });
    in.alpha = alpha;
    const auto r = Anova::compute(in);
    QVERIFY(r);
    QCOMPARE(r->pooled, pooled);
    const Anova::Component& rr = r->components.rr;
    QVERIFY2(
        std::fabs(*rr.ciLow - low) <= 5e-7 && std::fabs(*rr.ciHigh - high) <= 5e-7,
        qPrintable(QStringLiteral("%1 - %2").arg(*rr.ciLow, 0, 'f', 7).arg(*rr.ciHigh, 0, 'f', 7)));
    QVERIFY(!r->components.reproducibility.ciLow && !r->components.reproducibility.ciHigh);
    QVERIFY(r->components.repeatability.ciLow && r->components.repeatability.ciHigh);
}

QTEST_GUILESS_MAIN(AnovaTest)
#include "tst_anova.moc"
