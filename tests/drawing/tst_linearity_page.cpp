#include <QtTest>

#include "analysis_screen.h"
#include "linearity_page.h"
#include "recording_surface.h"
#include "session.h"
#include "test_database.h"

class LinearityPageTest : public QObject {
    Q_OBJECT

private slots:
    void plotAndTables();
};

// The line bias = 0 at the height of zero, each part's mean bias marked in red where it
// stands, the fitted line through its ends, every figure and part on the page.
void LinearityPageTest::plotAndTables() {
    TestDatabase t(TestDatabase::WithKinds{}, TestDatabase::fixture("linearity_studies.sql"));
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY(opened.session);
    const AnalysisScreen screen = AnalysisScreen::select(*opened.session, QStringLiteral("L/AIAG"));
    const ReportInputs inputs =
        ReportInputs::gather(*opened.session, screen, QDateTime(QDate(2026, 12, 10), {}));
    QVERIFY(inputs.linearity);
    RecordingSurface s;
    const LinearityPage page(inputs, 1);
    QVERIFY(page.draw(s));
    const LinearityPage::Scale k = page.scale();
    QVERIFY(std::any_of(s.lines.begin(), s.lines.end(), [&](const RecordingSurface::Line& l) {
        return qAbs(l.y1 - k.y(0)) < 1e-6 && qAbs(l.y2 - k.y(0)) < 1e-6 && l.x2 - l.x1 > 5000;
    }));
    int means = 0;
    for (const RecordingSurface::Circle& c : s.circles) {
        for (const Linearity::PartResult& p : inputs.linearity->parts) {
            means += c.outline == QColor(200, 0, 0) && qAbs(c.x - k.x(p.reference)) < 1e-6 &&
                     qAbs(c.y - k.y(p.bias)) < 1e-6;
        }
    }
    QCOMPARE(means, 5);
    QStringList texts;
    for (const RecordingSurface::Text& text : s.texts) {
        texts << text.text;
    }
    for (const FigureLine& line : inputs.linearityLines) {
        QVERIFY2(texts.contains(line.value), qPrintable(line.value));
    }
    QVERIFY(texts.contains(QStringLiteral("-0,131667")) &&
            texts.contains(QStringLiteral("0,4917")));
    QVERIFY(texts.contains(QStringLiteral("nie do przyjęcia")));
}

QTEST_MAIN(LinearityPageTest)
#include "tst_linearity_page.moc"
