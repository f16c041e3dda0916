#include <QtTest>
#include <numeric>

#include "analysis_screen.h"
#include "recording_surface.h"
#include "session.h"
#include "test_database.h"
#include "type1_page.h"

class Type1PageTest : public QObject {
    Q_OBJECT

private slots:
    void chartsAndFigures();
};

// The master's line at the height of its value, every reading in a histogram class, each
// figure with its verdict on the page; a study with too few readings says why instead.
void Type1PageTest::chartsAndFigures() {
    TestDatabase t(TestDatabase::WithKinds{}, TestDatabase::fixture("type1_studies.sql") +
                                                  QStringLiteral("DELETE FROM Odczyty WHERE "
                                                                 "Numer = 'T1/UP' AND "
                                                                 "Powtorzenie > 9;"));
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY(opened.session);
    const AnalysisScreen screen =
        AnalysisScreen::select(*opened.session, QStringLiteral("T1/JASP"));
    const ReportInputs inputs =
        ReportInputs::gather(*opened.session, screen, QDateTime(QDate(2026, 12, 10), {}));
    QCOMPARE(int(inputs.readings.size()), 50);

    RecordingSurface s;
    const double zoom = 1.5;
    const Type1Page page(inputs, zoom);
    QVERIFY(page.draw(s));
    const double masterY = page.runScale().y(-4) * zoom;
    QVERIFY(std::any_of(s.lines.begin(), s.lines.end(), [&](const RecordingSurface::Line& l) {
        return l.colour == QColor(0, 128, 0) && qAbs(l.y1 - masterY) < 1e-6 &&
               qAbs(l.y2 - masterY) < 1e-6;
    }));
    const Type1Page::Classes classes = Type1Page::classesOf(inputs.readings);
    QCOMPARE(std::accumulate(classes.counts.begin(), classes.counts.end(), 0), 50);
    QStringList texts;
    for (const RecordingSurface::Text& text : s.texts) {
        texts << text.text;
    }
    for (const Type1Texts::Line& line : inputs.type1Lines) {
        QVERIFY2(texts.contains(line.caption), qPrintable(line.caption));
        QVERIFY2(texts.contains(line.value), qPrintable(line.value));
    }
    QVERIFY(texts.contains(QStringLiteral("1,19")) && texts.contains(QStringLiteral("1,15")));

    const AnalysisScreen few = AnalysisScreen::select(*opened.session, QStringLiteral("T1/UP"));
    const ReportInputs fewInputs =
        ReportInputs::gather(*opened.session, few, QDateTime(QDate(2026, 12, 10), {}));
    RecordingSurface refused;
    QVERIFY(Type1Page(fewInputs, 1).draw(refused));
    QVERIFY(std::any_of(refused.texts.begin(), refused.texts.end(), [](const auto& text) {
        return text.text.contains(QString::fromUtf8("co najmniej 10 odczytów"));
    }));
}

QTEST_MAIN(Type1PageTest)
#include "tst_type1_page.moc"
