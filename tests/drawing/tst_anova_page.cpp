#include <QtTest>
#include <algorithm>

#include "analysis_screen.h"
#include "anova_page.h"
#include "recording_surface.h"
#include "session.h"
#include "test_database.h"

namespace {

struct Drawn {
    ReportInputs inputs;
    RecordingSurface surface;
};

std::unique_ptr<Drawn> draw(const QString& numer, double alpha,
                            const QString& sql = TestDatabase::fixture("aiag_10x3x3.sql")) {
    TestDatabase t(sql);
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    if (!opened.session) {
        return nullptr;
    }
    const AnalysisScreen screen = AnalysisScreen::select(*opened.session, numer, alpha);
    auto d = std::make_unique<Drawn>();
    d->inputs = ReportInputs::gather(*opened.session, screen, QDateTime(QDate(2026, 12, 9), {}));
    AnovaPage(d->inputs, 1).draw(d->surface);
    return d;
}

bool hasText(const RecordingSurface& s, const QString& text) {
    return s.find(text) != nullptr;
}

}  // namespace

class AnovaPageTest : public QObject {
    Q_OBJECT

private slots:
    void texts();
    void layout_data();
    void layout();
};

// The published study: squares and sigmas with four significant digits, F and p with three.
void AnovaPageTest::texts() {
    const auto d = draw(QStringLiteral("AIAG"), 0.05);
    QVERIFY(d && d->inputs.anova);
    const AnovaTexts::Texts& a = *d->inputs.anova;
    QCOMPARE(a.interactionSentence,
             QString::fromUtf8("Interakcja nieistotna: p = 0,974 ≥ α = 0,05 — połączona "
                               "z powtarzalnością"));
    QCOMPARE(a.full[0].cells,
             (QStringList{QStringLiteral("9"), QStringLiteral("88,36"), QStringLiteral("9,818"),
                          QStringLiteral("492,291"), QStringLiteral("< 0,001")}));
    QCOMPARE(a.pooled[2].cells[1], QStringLiteral("3,118"));
    QCOMPARE(a.components[4].name, QStringLiteral("R&R"));
    QCOMPARE(
        a.components[4].cells.mid(0, 5),
        (QStringList{QStringLiteral("0,09143"), QStringLiteral("7,76"), QStringLiteral("0,3024"),
                     QStringLiteral("1,557"), QStringLiteral("27,86")}));
    QCOMPARE(a.evaluation[AnovaTexts::Texts::kNdc].anova.text, QStringLiteral("4"));
    QCOMPARE(a.evaluation[AnovaTexts::Texts::kNdc].averageAndRange.text, QStringLiteral("5"));
    QCOMPARE(a.comparison, QString::fromUtf8("Porównanie (R&R w % poziomu odniesienia): metoda "
                                             "średniej i rozstępu 26,74 %, ndc 5; ANOVA "
                                             "27,86 %, ndc 4"));
    QVERIFY(hasText(d->surface, QStringLiteral("ANALIZA R&R - METODA ANOVA")));
    QVERIFY(hasText(d->surface, QStringLiteral("Numer analizy : AIAG")));
}

void AnovaPageTest::layout_data() {
    QTest::addColumn<QString>("numer");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<bool>("pooled");
    QTest::addColumn<QString>("sql");
    const QString aiag = TestDatabase::fixture("aiag_10x3x3.sql");
    QTest::newRow("10 x 3 x 3, pooled") << QStringLiteral("AIAG") << 0.05 << true << aiag;
    QTest::newRow("5 x 2 x 2, interaction kept") << QStringLiteral("M/5") << 0.25 << false << aiag;
    // sums of squares of fourteen digits: shrunk to their columns, never cut
    QTest::newRow("values of a million")
        << QStringLiteral("S") << 0.05 << true << TestDatabase::completeStudy(10, 3, 3, 3, 1e6);
}

// Every text inside the frame, none running into its neighbour on the same line, and the
// pooled table only where the interaction was pooled.
void AnovaPageTest::layout() {
    QFETCH(QString, numer);
    QFETCH(double, alpha);
    QFETCH(bool, pooled);
    QFETCH(QString, sql);
    const auto d = draw(numer, alpha, sql);
    QVERIFY(d);
    const RecordingSurface& s = d->surface;
    QCOMPARE(d->inputs.anova->pooled.empty(), !pooled);
    QCOMPARE(hasText(s, QString::fromUtf8("Tabela analizy wariancji — interakcja połączona "
                                          "z powtarzalnością")),
             pooled);
    QVector<RecordingSurface::Text> texts = s.texts;
    std::sort(texts.begin(), texts.end(),
              [](const auto& a, const auto& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    for (int i = 0; i < texts.size(); ++i) {
        const auto& t = texts[i];
        const double right = t.x + t.text.size() * 10.0 * t.size;
        QVERIFY2(!t.text.contains(QString::fromUtf8("…")) || !t.text.front().isDigit(),
                 qPrintable(t.text));
        QVERIFY2(t.x >= 0 && right <= 10000 && t.y >= 0 && t.y + 20 * t.size <= 14700,
                 qPrintable(t.text));
        if (i + 1 < texts.size() && texts[i + 1].y == t.y) {
            QVERIFY2(right <= texts[i + 1].x,
                     qPrintable(t.text + QStringLiteral(" | ") + texts[i + 1].text));
        }
    }
}

QTEST_MAIN(AnovaPageTest)
#include "tst_anova_page.moc"
