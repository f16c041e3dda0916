#include <QtTest>

#include "analysis_screen.h"
#include "control_chart.h"
#include "recording_surface.h"
#include "session.h"
#include "test_database.h"

namespace {

// A 10 x 3 x 3 study whose first eleven subgroups (appraiser by appraiser, part by part)
// read 0,1 higher in their third trial: eleven ranges above UCL_R, all to be named.
QString elevenWildRanges() {
    QString sql = QStringLiteral(
        "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) VALUES ('S', 10, 3, 3, "
        "3);");
    for (int a = 0; a < 3; ++a) {
        for (int t = 0; t < 3; ++t) {
            QStringList values;
            for (int j = 0; j < 10; ++j) {
                const bool wild = t == 2 && a * 10 + j < 11;
                values << QString::number(10 + 0.01 * j + (wild ? 0.1 : 0), 'f', 3);
            }
            sql += QStringLiteral(
                       "INSERT INTO DanePom (ID, Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, "
                       "P10, ObX) VALUES ('S', '%1', %2, 10);")
                       .arg(QChar(QLatin1Char('A' + a)))
                       .arg(values.join(QLatin1Char(',')));
        }
    }
    return sql;
}

}  // namespace

class ControlChartTest : public QObject {
    Q_OBJECT

private slots:
    void geometryAndEveryFlagNamed();
};

// The limit drawn at the height of its value, each flagged range marked red where its
// point stands, and the warning under the charts naming every one of them.
void ControlChartTest::geometryAndEveryFlagNamed() {
    TestDatabase t(elevenWildRanges());
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY(opened.session);
    const AnalysisScreen screen = AnalysisScreen::select(*opened.session, QStringLiteral("S"));
    const ReportInputs inputs =
        ReportInputs::gather(*opened.session, screen, QDateTime(QDate(2026, 12, 9), {}));
    QVERIFY(inputs.control);
    const ControlLimits::Results& c = *inputs.control;
    QCOMPARE(int(c.flaggedRanges.size()), 11);

    RecordingSurface s;
    const ControlChart chart(inputs, 15000, 10000);
    chart.draw(s);
    const ControlChart::Layout p = chart.layoutOn(s);
    const QStringList& warning = p.warning;
    QVERIFY(warning.size() > 1);
    const QString named = warning.join(QLatin1Char(' '));
    QVERIFY(!named.contains(QString::fromUtf8("…")));
    for (const ControlLimits::Flag& f : c.flaggedRanges) {
        QVERIFY(named.contains(QString::fromUtf8("oceniający %1, część %2")
                                   .arg(QChar(QLatin1Char('A' + f.appraiser)))
                                   .arg(f.part + 1)));
    }
    for (const QString& line : warning) {
        QVERIFY(s.find(line));
    }

    const double ucl = p.ranges.yOf(c.uclR);
    QVERIFY(std::any_of(s.lines.begin(), s.lines.end(), [&](const RecordingSurface::Line& l) {
        return l.y1 == ucl && l.y2 == ucl && l.x1 == p.ranges.left && l.x2 == p.ranges.right &&
               l.colour == QColor(255, 0, 0);
    }));
    int marked = 0;
    for (const RecordingSurface::Circle& circle : s.circles) {
        if (circle.fill == QColor(255, 0, 0)) {
            const ControlLimits::Flag& f = c.flaggedRanges[static_cast<std::size_t>(marked++)];
            QCOMPARE(circle.x, chart.xOf(p.ranges, f.appraiser, f.part));
            QCOMPARE(circle.y, p.ranges.yOf(f.range));
        }
    }
    QCOMPARE(marked, 11);
    for (const RecordingSurface::Text& text : s.texts) {  // nothing runs off the picture
        QVERIFY2(text.x + text.text.size() * 10.0 * text.size <= 15000, qPrintable(text.text));
    }
    QVERIFY(p.ranges.bottom < s.find(warning.first())->y);
}

QTEST_MAIN(ControlChartTest)
#include "tst_control_chart.moc"
