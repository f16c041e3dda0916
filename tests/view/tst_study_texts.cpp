#include <QtTest>

#include "crossed_study.h"
#include "number_pattern.h"
#include "record_sets.h"
#include "result_texts.h"
#include "rr_study.h"
#include "shared_values.h"
#include "stored_study.h"
#include "study_grid.h"
#include "test_database.h"

namespace {

using Series = TestSeries;
const QVector<Series>& kWorked = workedExample();

// A study with the texts it is shown with: its grid and its result panels.
struct Shown {
    StudyOutput numbers;
    GridLayout grid;
    ResultTexts::Texts panels;
};

Shown shownOnce(const Study& in, const RegionalSettings& rs) {
    const CrossedDesign design(in);
    Shown out;
    out.numbers = computeStudy(in, design, FactorTables(), rs);
    out.grid = StudyGrid::of(in, design, out.numbers, rs).layout;
    out.panels = ResultTexts::of(out.numbers, in.numberPattern, in.shown, rs);
    return out;
}

// Shown anew, and through a store of shown numbers empty and then filled: the texts
// must not change.
Shown shown(const Study& in, const RegionalSettings& rs = RegionalSettings::polish()) {
    const Shown plain = shownOnce(in, rs);
    Study stored = in;
    ShownNumbers store(rs);
    stored.shown = &store;
    for (int pass = 0; pass < 2; ++pass) {
        const Shown again = shownOnce(stored, rs);
        if (again.grid.cells != plain.grid.cells || again.panels != plain.panels) {
            qWarning("the stored texts changed what is shown (pass %d)", pass);
            return {};
        }
    }
    return plain;
}

}  // namespace

class StudyTextsTest : public QObject {
    Q_OBJECT

private slots:
    void workedExampleGrid();
    void workedExamplePanels();
    void patternDecidesTheShownValues_data();
    void patternDecidesTheShownValues();
    void incompleteStudyShowsNoResults();
    void emptyResultsShowEmptyPanels();
    void extremeValuesNeverShowInfOrNan_data();
    void extremeValuesNeverShowInfOrNan();
    void largestStudyLayout();
    void typedInEitherLocaleGivesTheSameResults();
};

void StudyTextsTest::workedExampleGrid() {
    const GridLayout g = shown(crossedStudy(kWorked, 2, 2)).grid;
    QCOMPARE(g.columns, 9);
    QCOMPARE(g.rows, 12);
    QCOMPARE(g.text(0, 0), QStringLiteral("Lp"));
    QCOMPARE(g.text(0, 1), QString::fromUtf8("Oceniający"));
    QCOMPARE(g.text(0, 6), QStringLiteral("X5"));
    QCOMPARE(g.text(0, 7), QString());
    QCOMPARE(g.text(0, 8), QStringLiteral("X"));
    QCOMPARE(g.columnWidths, (QVector<int>{350, 1780, 660, 660, 660, 660, 660, 60, 660}));
    QCOMPARE(g.text(1, 0), QStringLiteral("1"));
    QCOMPARE(g.text(1, 1), QStringLiteral("A"));
    QCOMPARE(g.text(1, 2), QStringLiteral("10,01"));
    QCOMPARE(g.text(1, 7), QStringLiteral(" "));
    QCOMPARE(g.text(1, 8), QStringLiteral("10,03"));
    QCOMPARE(g.text(3, 1), QString::fromUtf8("Średnia"));
    QCOMPARE(g.text(3, 3), QStringLiteral("10,05"));  // 10.045
    QCOMPARE(g.text(3, 8), QStringLiteral("10,04"));  // 10.037
    QCOMPARE(g.text(4, 1), QString::fromUtf8("Rozstęp"));
    QCOMPARE(g.text(4, 2), QStringLiteral("0,02"));
    QCOMPARE(g.text(4, 8), QStringLiteral("0,01"));  // 0.014
    QVERIFY(g.text(3, 0).isEmpty());
    QVERIFY(g.isFixed(3, 1) && g.isFixed(4, 8) && !g.isFixed(3, 0) && !g.isFixed(2, 2));
    QCOMPARE(g.rowHeights[5], GridLayout::kSeparatorRowHeight);
    QCOMPARE(g.text(5, 4), QStringLiteral(" "));
    QVERIFY(g.mergeableRows[5]);
    QCOMPARE(g.text(6, 0), QStringLiteral("3"));
    QCOMPARE(g.text(6, 1), QStringLiteral("B"));
    QCOMPARE(g.text(11, 1), QString::fromUtf8("Średnia dla części"));
    QCOMPARE(g.text(11, 4), QStringLiteral("9,98"));  // 9.9825
    QCOMPARE(g.text(11, 8), QStringLiteral("10,04"));
    QVERIFY(g.isFixed(11, 8) && g.isWhite(11, 8) && !g.isWhite(11, 7));
    QVERIFY(g.mergeableColumns[1] && g.mergeableColumns[7] && !g.mergeableColumns[8]);
}

void StudyTextsTest::workedExamplePanels() {
    const ResultTexts::Texts pl = shown(crossedStudy(kWorked, 2, 2)).panels;
    const QStringList expected = {"0,02 ",  "0,00 ", "0,07 ",  "0,02 ", "0,07 ", "0,25 ", "0,26 ",
                                  "25,86 ", "7,05 ", "26,81 ", "",      "0,12 ", "0,26 ", "5 "};
    for (int p = 13; p <= 26; ++p) {
        QCOMPARE(pl[static_cast<std::size_t>(p)], expected[p - 13]);
    }
    const ResultTexts::Texts en =
        shown(crossedStudy(kWorked, 2, 2, "0.0000"), RegionalSettings::english()).panels;
    QCOMPARE(en[15], QStringLiteral("0.0684 "));
    QCOMPARE(en[16], QStringLiteral("0.0187 "));
    QCOMPARE(en[17], QStringLiteral("0.0709 "));
    QCOMPARE(en[24], QStringLiteral("0.1225 "));
}

// The grid shows each value through the pattern, and its summary rows are computed from
// what it shows: a coarse pattern coarsens the range; a decimal tie rounds away.
void StudyTextsTest::patternDecidesTheShownValues_data() {
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("texts");  // series 1, series 2, their average, range
    QTest::newRow("one decimal") << 10.04 << 10.06 << "0.0"
                                 << QStringList{"10.0", "10.1", "10.1", "0.1"};
    QTest::newRow("decimal ties") << 1.005 << 1.015 << "0.00"
                                  << QStringList{"1.01", "1.02", "1.02", "0.01"};
}

void StudyTextsTest::patternDecidesTheShownValues() {
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(QString, pattern);
    QFETCH(QStringList, texts);
    const QVector<Series> data = {{"A", {first, 5, 5, 5, 5}},
                                  {"A", {second, 5, 5, 5, 5}},
                                  {"B", {first, 5, 5, 5, 5}},
                                  {"B", {first, 5, 5, 5, 5}}};
    const GridLayout g = shown(crossedStudy(data, 2, 2, pattern), RegionalSettings::english()).grid;
    QCOMPARE((QStringList{g.text(1, 2), g.text(2, 2), g.text(3, 2), g.text(4, 2)}), texts);
}

void StudyTextsTest::incompleteStudyShowsNoResults() {
    const Shown out = shown(crossedStudy(kWorked.mid(0, 3), 2, 2));
    for (int p = 13; p <= 26; ++p) {
        QVERIFY2(out.panels[static_cast<std::size_t>(p)].isEmpty(), qPrintable(QString::number(p)));
    }
    QCOMPARE(out.grid.rows, 12);
    QCOMPARE(out.grid.text(3, 1), QString::fromUtf8("Średnia"));
    QCOMPARE(out.grid.text(6, 1), QStringLiteral("B"));
    QVERIFY(out.grid.text(7, 1).isEmpty());   // no summary for the unfinished block
    QVERIFY(out.grid.text(11, 1).isEmpty());  // nor for the whole study
}

// A result that could not be computed shows as an empty panel, the number of distinct
// categories as a blank; a reference of 0 still shows.
void StudyTextsTest::emptyResultsShowEmptyPanels() {
    const QVector<Series> flat = {{"A", {5, 5, 5, 5, 5}},
                                  {"A", {5, 5, 5, 5, 5}},
                                  {"B", {5, 5, 5, 5, 5}},
                                  {"B", {5, 5, 5, 5, 5}}};
    ResultTexts::Texts p = shown(crossedStudy(flat, 2, 2)).panels;
    QCOMPARE(p[26], QStringLiteral(" "));
    QCOMPARE(p[17], QStringLiteral("0,00 "));
    QVERIFY(p[22].isEmpty());  // TV = 0 is the reference: no percentages

    Study in = crossedStudy(kWorked, 2, 2, "0.00", 4);
    in.GWG = in.DWG;
    p = shown(in).panels;
    QCOMPARE(p[25], QStringLiteral("0,00 "));
    QVERIFY(p[22].isEmpty());

    QVector<Series> four;
    for (const char* who : {"A", "B"}) {
        for (int t = 0; t < 4; ++t) {
            four << Series{who, {10.0 + t * 0.01, 10.1, 10.2, 10.3, 10.4}};
        }
    }
    p = shown(crossedStudy(four, 2, 4)).panels;  // four trials: K1 has no cell
    QVERIFY(p[15].isEmpty() && !p[17].isEmpty());
}

void StudyTextsTest::extremeValuesNeverShowInfOrNan_data() {
    QTest::addColumn<double>("scale");
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("1e200, squares overflow") << 1e200;
    QTest::newRow("1e-300") << 1e-300;
    QTest::newRow("max double") << 1.7976931348623157e308;
}

void StudyTextsTest::extremeValuesNeverShowInfOrNan() {
    QFETCH(double, scale);
    QVector<Series> data = kWorked;
    for (auto& s : data) {
        for (double& v : s.second) {
            v = (v - 10.0) * scale;
        }
    }
    const Shown out = shown(crossedStudy(data, 2, 2, "0.00E+00"), RegionalSettings::english());
    QVERIFY(out.numbers.complete);
    QStringList texts = out.grid.cells.toList();
    for (const QString& text : out.panels) {
        texts << text;
    }
    for (const QString& text : texts) {
        QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                     !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                 qPrintable(text));
    }
    const RRResults& r = out.numbers.results;
    for (const auto& v : {r.EV, r.AV, r.RR, r.PV, r.TV, r.percentRR}) {
        QVERIFY(!v || std::isfinite(*v));
    }
}

void StudyTextsTest::largestStudyLayout() {
    QVector<Series> data;
    for (const char* who : {"Anna", "Bogdan", "Cezary"}) {
        for (int t = 0; t < 3; ++t) {
            QVector<double> v;
            for (int j = 0; j < 10; ++j) {
                v << 20.0 + j * 0.1 + t * 0.003;
            }
            data << Series{who, v};
        }
    }
    const Shown out = shown(crossedStudy(data, 3, 3, "0.000"));
    QCOMPARE(out.grid.rows, 20);
    QCOMPARE(out.grid.columns, 14);
    QCOMPARE(out.grid.text(19, 1), QString::fromUtf8("Średnia dla części"));
    QCOMPARE(out.grid.text(13, 0), QStringLiteral("7"));
    QCOMPARE(out.grid.text(13, 1), QStringLiteral("Cezary"));
    QVERIFY(out.numbers.results.RR.has_value());
}

// The series typed as text in each locale, stored through the record set, read back
// and computed, give the same figures.
void StudyTextsTest::typedInEitherLocaleGivesTheSameResults() {
    QVector<RRResults> results;
    for (const RegionalSettings& rs : {RegionalSettings::polish(), RegionalSettings::english()}) {
        TestDatabase t(
            QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) "
                           "VALUES ('1', 5, 2, 2, 3);"),
            rs);
        QVERIFY2(t.openError().isEmpty(), qPrintable(t.openError()));
        auto series = RecordSets::series(t.db(), QStringLiteral("1"));
        for (const auto& [who, values] : kWorked) {
            series->addNew();
            QVERIFY(series->setField(QStringLiteral("ID"), Value(QStringLiteral("1"))));
            QVERIFY(series->setField(QStringLiteral("Operator"), Value(QString::fromUtf8(who))));
            for (int j = 0; j < values.size(); ++j) {
                const QString typed = formatNumber(values[j], QStringLiteral("0.00"), rs);
                QVERIFY(series->setField(QStringLiteral("P%1").arg(j + 1), Value(typed)));
            }
            QVERIFY(series->setField(QStringLiteral("ObX"), Value(meanOf(values))));
            QVERIFY(series->update());
        }
        auto analyses = RecordSets::analyses(t.db());
        auto settings = RecordSets::settings(t.db());
        SharedValues shared(rs);
        shared.load(*settings);
        shared.FP = QStringLiteral("0.00");
        auto reopened = RecordSets::series(t.db(), QStringLiteral("1"));
        const Study in = StoredStudy::fromRecordSets(*analyses, *reopened, *settings, shared);
        QCOMPARE(CrossedDesign(in).series().size(), 4);
        QVERIFY(StoredStudy::damageIn(in, rs).isEmpty());
        results << computeStudy(in, shared.factors, rs).results;
    }
    QCOMPARE(results[0].RR, results[1].RR);
    QCOMPARE(results[0].percentRR, results[1].percentRR);
    QCOMPARE(results[0].EV,
             computeStudy(crossedStudy(kWorked, 2, 2), FactorTables(), RegionalSettings::polish())
                 .results.EV);
    QCOMPARE(results[0].resolution, results[1].resolution);
}

QTEST_GUILESS_MAIN(StudyTextsTest)
#include "tst_study_texts.moc"
