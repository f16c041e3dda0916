#include <QFile>
#include <QtTest>
#include <cmath>

#include "analysis_screen.h"
#include "page_render.h"
#include "printable_study.h"
#include "recording_surface.h"
#include "report_page.h"
#include "session.h"
#include "test_database.h"

namespace {

struct Drawn {
    RecordingSurface surface;
    ReportInputs inputs;
};

// The page of one analysis, drawn on a recording surface.
std::unique_ptr<Drawn> draw(const QString& sql, const QString& numer, double zoom = 1,
                            const QString& settings = {}) {
    TestDatabase t(sql + settings);
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    if (!opened.session) {
        qWarning("%s", qPrintable(opened.error));
        return nullptr;
    }
    const AnalysisScreen screen = AnalysisScreen::select(*opened.session, numer);
    auto d = std::make_unique<Drawn>();
    d->inputs = ReportInputs::gather(*opened.session, screen, QDateTime(QDate(2026, 12, 9), {}));
    ReportPage(d->inputs, zoom).PDT(d->surface);
    return d;
}

// A page of inputs made in code.
std::unique_ptr<Drawn> draw(const ReportInputs& inputs, double zoom = 1) {
    auto d = std::make_unique<Drawn>();
    d->inputs = inputs;
    ReportPage(d->inputs, zoom).PDT(d->surface);
    return d;
}

const QStringList kNames = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

bool hasLine(const RecordingSurface& s, double x1, double y1, double x2, double y2) {
    for (const auto& l : s.lines) {
        if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2) {
            return true;
        }
    }
    return false;
}

}  // namespace

class ReportPageTest : public QObject {
    Q_OBJECT

private slots:
    void tableGeometry_data();
    void tableGeometry();
    void referenceLines_data();
    void referenceLines();
    void textsStayInTheirCells_data();
    void textsStayInTheirCells();
    void resultsColumnsAndDeclaredError();
    void tableWalkFollowsTheLayout();
    void chartAndResults();
    void chartContents_data();
    void chartContents();
    void allValuesEqual();
    void pictureAtZoomTwo();
    void printerEndsTheDocument();
};

void ReportPageTest::tableGeometry_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("numer");
    QTest::addColumn<double>("y0");
    QTest::addColumn<double>("columnWidth");
    QTest::addColumn<double>("nameTop");
    QTest::newRow("10 x 3 x 3") << TestDatabase::fixture("study_10x3x3.sql") << "7/2026" << 8450.0
                                << 700.0 << 3550.0;
    QTest::newRow("5 x 2 x 2") << TestDatabase::fixture("worked_example.sql") << "1/2026"
                               << 3250.0 + 300 * 11 - 400 + 100 << 1400.0 << 3400.0;
    QTest::newRow("2 x 2 x 2") << TestDatabase::completeStudy(2, 2, 2) << "S"
                               << 3250.0 + 300 * 11 - 400 + 100 << 3500.0 << 3400.0;
}

void ReportPageTest::tableGeometry() {
    QFETCH(QString, sql);
    QFETCH(QString, numer);
    QFETCH(double, y0);
    QFETCH(double, columnWidth);
    QFETCH(double, nameTop);
    const auto d = draw(sql, numer);
    QVERIFY(d);
    const RecordingSurface& s = d->surface;
    QVERIFY2(hasLine(s, 0, y0, 10000, y0), "the chart's top edge");
    QVERIFY(hasLine(s, 2000 + columnWidth, 2950, 2000 + columnWidth, y0 - 100));
    const auto* name = s.find(d->inputs.grid.text(1, 1));
    QVERIFY(name);
    QCOMPARE(name->y, nameTop);
    QCOMPARE(name->x, 100.0);
    QCOMPARE(s.scaleLeft, -1000.0);
}

void ReportPageTest::referenceLines_data() {
    QTest::addColumn<int>("coRef");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::newRow("assumed Cp") << 0 << 3
                                << QString::fromUtf8("Założona wartość wskaźnika Cp : 1,330");
    QTest::newRow("process Cp") << 1 << 3
                                << QString::fromUtf8("Wartość wskaźnika Cp (proces) : 1,330");
    QTest::newRow("S") << 2 << 1 << QString::fromUtf8("Wartość odchylenia S (proces) : 1,330");
    QTest::newRow("TV") << 3 << 1 << QString::fromUtf8("Zmienność całkowita TV : ");
    QTest::newRow("tolerance") << 4 << 3
                               << QString::fromUtf8("Poziom odniesienia to 15 % tolerancji");
    QTest::newRow("unknown") << 7 << 0 << QString();
    QTest::newRow("empty: as the statistics, mode 0")
        << -1 << 3 << QString::fromUtf8("Założona wartość wskaźnika Cp : ");
}

void ReportPageTest::referenceLines() {
    QFETCH(int, coRef);
    QFETCH(int, lines);
    QFETCH(QString, first);
    ReportInputs in = printableStudy(5, 2, 2, kNames);
    in.analysis[QStringLiteral("CoRef")] = coRef < 0 ? Value() : Value(coRef);
    const auto d = draw(in);
    int count = 0;
    for (const auto& t : d->surface.texts) {
        const bool place = t.y == 1550 || t.y == 1800 || t.y == 2050;
        if (place && std::fabs(t.x + d->surface.textWidth(t.text) - 9900) < 1e-6) {
            ++count;
            if (t.y == 1550) {
                QVERIFY2(t.text.startsWith(first), qPrintable(t.text));
            }
        }
    }
    QCOMPARE(count, lines);
}

// Long texts keep their places and stay inside their cells: the company name shrinks,
// the others end with "…" at the cell's edge (the recording surface is 100 twips a
// character at 10 points).
void ReportPageTest::textsStayInTheirCells_data() {
    QTest::addColumn<QString>("field");  // an analysis field, or "Firma"; empty: none
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<QString>("how");  // "shrunk", "cut" or "whole"
    QTest::newRow("company name, 95 characters") << "Firma" << QString(95, QLatin1Char('F'))
                                                 << "FFF" << 350.0 << 100.0 << 9900.0 << "shrunk";
    QTest::newRow("declared error in the header, 48 characters")
        << "BladP" << QString(48, QLatin1Char('E')) << QString::fromUtf8("Błąd wskazań") << 1225.0
        << 5100.0 << 9900.0 << "cut";
    QTest::newRow("analysis number, 40 characters")
        << "Numer" << QString(40, QLatin1Char('7')) << "Numer analizy" << 2650.0 << 100.0 << 9900.0
        << "cut";
    QTest::newRow("part name, 60 characters")
        << "NazwaC" << QString(60, QLatin1Char('C')) << QString::fromUtf8("Nazwa części") << 725.0
        << 100.0 << 4950.0 << "cut";
    QTest::newRow("appraiser name in the table")
        << "" << QString() << "ANNNNNNNNN" << 3550.0 << 100.0 << 1950.0 << "cut";
    QTest::newRow("appraiser name in the chart")
        << "" << QString() << "ANNNNNNNNN" << 10500.0 << 100.0 << 2900.0 << "whole";
}

void ReportPageTest::textsStayInTheirCells() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(double, y);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(QString, how);
    const QString name30 = QLatin1Char('A') + QString(29, QLatin1Char('N'));  // sorted first
    ReportInputs in = printableStudy(5, 3, 3, {name30, QStringLiteral("B"), QStringLiteral("C")});
    in.analysis[QStringLiteral("CoRef")] = Value(0);
    if (field == QLatin1String("Firma")) {
        in.Firma = text;
    } else if (!field.isEmpty()) {
        in.analysis[field] = text;
    }
    const auto d = draw(in);
    const RecordingSurface& s = d->surface;
    auto extent = [](const RecordingSurface::Text& t) {
        return std::make_pair(t.x, t.x + t.text.size() * 10.0 * t.size);
    };
    const RecordingSurface::Text* found = nullptr;
    for (const auto& t : s.texts) {
        found = t.text.startsWith(start) && t.y == y ? &t : found;
    }
    QVERIFY(found);
    const auto [from, to] = extent(*found);
    QVERIFY2(from >= left && to <= right + 1e-6,
             qPrintable(QStringLiteral("%1 .. %2").arg(from).arg(to)));
    for (const auto& other : s.texts) {  // nothing else on its line is overprinted
        if (&other != found && other.y == y && !other.text.isEmpty()) {
            const auto [otherFrom, otherTo] = extent(other);
            QVERIFY2(otherTo <= from || otherFrom >= to, qPrintable(other.text));
        }
    }
    QCOMPARE(found->text.endsWith(QString::fromUtf8("…")), how == QLatin1String("cut"));
    if (how == QLatin1String("shrunk")) {
        QVERIFY(found->size < 14 && found->bold);
    }
}

// The three percentages share one right edge; the declared error starts at 4500 and
// goes on below the R&R row when it is long, never over it.
void ReportPageTest::resultsColumnsAndDeclaredError() {
    const auto d = draw(TestDatabase::fixture("study_10x3x3.sql"), QStringLiteral("7/2026"), 1,
                        QStringLiteral("UPDATE Analiza SET BladP = '%1';").arg(QString(48, 'E')));
    const RecordingSurface& s = d->surface;
    QSet<double> edges;
    for (const int panel : {Panels::kPercentEV, Panels::kPercentAV, Panels::kPercentRR}) {
        const auto* t = s.find(d->inputs.panels[panel] + QStringLiteral(" %"));
        QVERIFY(t);
        edges << t->x + t->text.size() * 100.0;
    }
    QCOMPARE(edges.size(), 1);
    QVERIFY(*edges.begin() >= 4000 && *edges.begin() <= 4400);
    const double rrRow = s.find(QStringLiteral("R&R ="))->y;
    const auto* first = s.findStarting(QStringLiteral("Deklarowany"));
    QCOMPARE(first->x, 4500.0);
    QCOMPARE(first->y, rrRow);
    QVERIFY(first->x + first->text.size() * 100.0 <= 9900);
    const auto* second = s.find(QString(48, QLatin1Char('E')));
    QVERIFY(second);
    QCOMPARE(second->x, 4500.0);
    QCOMPARE(second->y, rrRow + 250);
}

// One empty value in a series row (a file edited elsewhere) leaves the row a series
// row: its average still prints at 9900 and no separator is drawn for it.
void ReportPageTest::tableWalkFollowsTheLayout() {
    const auto whole = draw(TestDatabase::fixture("worked_example.sql"), QStringLiteral("1/2026"));
    const auto gap = draw(TestDatabase::fixture("worked_example.sql"), QStringLiteral("1/2026"), 1,
                          QStringLiteral("UPDATE DanePom SET P1 = NULL WHERE rowid = "
                                         "(SELECT MIN(rowid) FROM DanePom);"));
    const GridLayout& g = gap->inputs.grid;
    const QString average = g.text(1, g.columns - 1);
    bool printed = false;
    for (const auto& t : gap->surface.texts) {  // 8 points: 80 twips a character
        printed = printed || (t.y == 3250 && t.text == average && t.x + t.text.size() * 80 == 9900);
    }
    QVERIFY(printed);
    QCOMPARE(gap->surface.lines.size(), whole->surface.lines.size());
}

void ReportPageTest::chartAndResults() {
    const auto d = draw(TestDatabase::fixture("study_10x3x3.sql"), QStringLiteral("7/2026"));
    const RecordingSurface& s = d->surface;
    QCOMPARE(s.find(QStringLiteral("Wyniki analizy R&R"))->y, 10900.0);
    QCOMPARE(s.find(QStringLiteral("R&R ="))->y, 12450.0);
    QCOMPARE(s.find(QStringLiteral("OCENA ANALIZY"))->y, 13100.0);
    // the texts of the window's panels, unchanged
    QVERIFY(s.find(d->inputs.panels[Panels::kPercentRR] + QStringLiteral(" %")));
    QCOMPARE(d->inputs.panels[Panels::kPercentRR], QStringLiteral("125,91 "));
    // K = 2, N = 10: slots of 450, the first marks at x 225
    const auto two = draw(printableStudy(10, 2, 2, kNames));
    QCOMPARE(two->surface.circles.first().x, 225.0);
    // zoom 2: radius 60, but the chart's pens stay 2 and 1 pixels
    const auto zoomed = draw(printableStudy(10, 2, 2, kNames), 2);
    for (const auto& c : zoomed->surface.circles) {
        QCOMPARE(c.radius, 60.0);
        QVERIFY(c.width == 1 || c.width == 2);
    }
    QCOMPARE(zoomed->surface.find(QStringLiteral("OCENA ANALIZY"))->y, 26200.0);
    QCOMPARE(zoomed->surface.find(QStringLiteral("OCENA ANALIZY"))->size, 24.0);
}

void ReportPageTest::chartContents_data() {
    QTest::addColumn<QString>("PW");
    QTest::addColumn<int>("circles");
    QTest::addColumn<int>("colouredLines");
    QTest::newRow("everything") << "1,1,1,1,1" << 40 + 10 << 10 + 2 + 1;
    QTest::newRow("nothing") << "0,0,0,0,0" << 0 << 0;
    QTest::newRow("single values only") << "1,0,0,0,0" << 40 << 0;
    QTest::newRow("empty fields") << "NULL,NULL,NULL,NULL,NULL" << 0 << 0;
}

void ReportPageTest::chartContents() {
    QFETCH(QString, PW);
    QFETCH(int, circles);
    QFETCH(int, colouredLines);
    const QStringList f = PW.split(QLatin1Char(','));
    const auto d =
        draw(TestDatabase::completeStudy(5, 2, 4 / 2), QStringLiteral("S"), 1,
             QStringLiteral("UPDATE Ustawienia SET PW1=%1, PW2=%2, PW3=%3, PW4=%4, PW5=%5;")
                 .arg(f[0], f[1], f[2], f[3], f[4]));
    const RecordingSurface& s = d->surface;
    // 5 parts x 2 appraisers x 2 trials: 20 single values and 10 part averages
    QCOMPARE(s.circles.size(), circles == 50 ? 30 : circles == 40 ? 20 : 0);
    int coloured = 0;
    for (const auto& l : s.lines) {
        coloured += l.colour != QColor(Qt::black) || l.style == Surface::LineStyle::Dotted;
    }
    QCOMPARE(coloured, colouredLines == 13 ? 10 + 2 + 1 : 0);
    if (circles == 50) {
        // ranges, averages and mean lines first; the single values last, over them
        const int firstRed = static_cast<int>(
            std::find_if(s.circles.cbegin(), s.circles.cend(),
                         [](const auto& c) { return c.outline == QColor(255, 0, 0); }) -
            s.circles.cbegin());
        QCOMPARE(firstRed, 10);
        // the grand mean's line comes before the first single value
        int lineCount = 0;
        int magentaAt = -1;
        int circleCount = 0;
        int firstRedAt = -1;
        for (int i = 0; i < s.order.size(); ++i) {
            if (s.order[i] == QLatin1String("line") &&
                s.lines[lineCount++].colour == QColor(255, 0, 255)) {
                magentaAt = i;
            } else if (s.order[i] == QLatin1String("circle") && circleCount++ == firstRed) {
                firstRedAt = i;
            }
        }
        QVERIFY(magentaAt >= 0 && magentaAt < firstRedAt);
    }
    // the frame, the names and both scale labels are always there
    QVERIFY(s.find(QStringLiteral("A")) && s.find(QStringLiteral("B")));
}

void ReportPageTest::allValuesEqual() {
    const auto d = draw(printableStudy(5, 2, 2, kNames, [](QVector<SeriesRow>& series) {
        for (SeriesRow& one : series) {
            one.parts.fill(Value(10.0));
        }
    }));
    const RecordingSurface& s = d->surface;
    double nameTop = 0;  // the chart's names stand at y0 + 2050, below the table's
    for (const auto& t : s.texts) {
        if (t.text == QLatin1String("A")) {
            nameTop = qMax(nameTop, t.y);
        }
    }
    const double base = nameTop - 100;
    QVERIFY(!s.circles.isEmpty());
    for (const auto& c : s.circles) {
        QVERIFY(std::isfinite(c.x) && std::isfinite(c.y));
        QCOMPARE(c.y, base);
    }
    for (const auto& l : s.lines) {
        QVERIFY(std::isfinite(l.y1) && std::isfinite(l.y2));
    }
}

void ReportPageTest::pictureAtZoomTwo() {
    const QSize one = PageRender::pictureSize(1);
    const QSize two = PageRender::pictureSize(2);
    QCOMPARE(qint64(two.width()) * two.height(), 4 * qint64(one.width()) * one.height());
    QCOMPARE(one, QSize(794, 1123));  // A4 at 96 dots per inch
}

void ReportPageTest::printerEndsTheDocument() {
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    const AnalysisScreen screen = AnalysisScreen::select(*opened.session, QStringLiteral("1/2026"));
    const ReportInputs in = ReportInputs::gather(*opened.session, screen, {});
    RecordingSurface printer;
    printer.printer = true;
    ReportPage(in, 1).PDT(printer);
    QVERIFY(printer.ended);
    RecordingSurface picture;
    ReportPage(in, 1).PDT(picture);
    QVERIFY(!picture.ended);
}

QTEST_MAIN(ReportPageTest)
#include "tst_report_page.moc"
