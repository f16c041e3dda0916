#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include "../report/recording_surface.h"
#include "chart_window.h"
#include "window_fixture.h"

namespace {

QString study(int n, int k, int r) {
    QString sql = QStringLiteral(
                      "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) VALUES ('S', "
                      "%1, %2, %3, 3);")
                      .arg(n)
                      .arg(k)
                      .arg(r);
    const char* names[] = {"Zenon", "Adam", "Maria"};  // Adam sorts first
    for (int a = 0; a < k; ++a) {
        for (int t = 0; t < r; ++t) {
            QStringList columns;
            QStringList values;
            for (int j = 1; j <= n; ++j) {
                columns << QStringLiteral("P%1").arg(j);
                values << QString::number(10 + 0.01 * ((j * 7 + a * 3 + t * 5) % 11), 'f', 3);
            }
            sql += QStringLiteral(
                       "INSERT INTO DanePom (ID, Operator, %1, ObX) VALUES ('S', '%2', "
                       "%3, 10);")
                       .arg(columns.join(QLatin1Char(',')), QString::fromLatin1(names[a]),
                            values.join(QLatin1Char(',')));
        }
    }
    return sql;
}

ChartDrawing classicShapes() {
    ChartDrawing d;
    d.shape1 = QRectF(60, 120, 9015, 3345);
    d.shape2 = QRectF(60, 3450, 9015, 285);
    return d;
}

}  // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void seriesSwitches();
    void windowOpensWithEveryBoxChecked();
};

void ChartTest::geometry_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::addColumn<QVector<double>>("separators");
    QTest::addColumn<QVector<double>>("names");
    QTest::addColumn<double>("firstColumn");
    QTest::addColumn<double>("lastColumn");
    QTest::newRow("10 x 3 x 3") << 10 << 3 << QVector<double>{3065, 6070}
                                << QVector<double>{100, 3105, 6110} << 210.0 << 8910.0;
    QTest::newRow("5 x 2 x 2") << 5 << 2 << QVector<double>{4567.5} << QVector<double>{100, 4607.5}
                               << 60 - 450.5 + 901.0 << 60 - 450.5 + 901.0 * 10;
}

void ChartTest::geometry() {
    QFETCH(int, n);
    QFETCH(int, k);
    QFETCH(QVector<double>, separators);
    QFETCH(QVector<double>, names);
    QFETCH(double, firstColumn);
    QFETCH(double, lastColumn);
    WindowFixture f(study(n, k, k));
    QVERIFY(f.load());
    const ReportInputs in = ReportInputs::gather(*f.session, f.window->screen(), {});
    RecordingSurface s;
    classicShapes().Wykres(s, in);
    QVector<double> drawnSeparators;
    for (const auto& l : s.lines) {
        if (l.colour == QColor(Qt::black) && l.x1 == l.x2 && l.style == Surface::LineStyle::Solid) {
            drawnSeparators << l.x1;
        }
    }
    QCOMPARE(drawnSeparators, separators);
    QVector<double> nameLefts;
    for (int i = 0; i < k; ++i) {
        nameLefts << s.texts[i].x;
    }
    QCOMPARE(nameLefts, names);
    QCOMPARE(s.texts[0].text, QStringLiteral("Adam"));  // first in sort order, leftmost
    QCOMPARE(s.circles.first().x, firstColumn);
    QCOMPARE(s.circles.last().x, lastColumn);
    QCOMPARE(s.circles.first().radius, 30.0);
}

void ChartTest::seriesSwitches() {
    WindowFixture f(study(5, 2, 2));
    QVERIFY(f.load());
    const ReportInputs in = ReportInputs::gather(*f.session, f.window->screen(), {});
    ChartDrawing d = classicShapes();
    RecordingSurface all;
    d.Wykres(all, in);
    QCOMPARE(all.circles.size(), 20 + 10);
    d.series[0] = false;  // no measured values; everything else stays
    RecordingSurface noValues;
    d.Wykres(noValues, in);
    QCOMPARE(noValues.circles.size(), 10);
    QCOMPARE(noValues.lines.size(), all.lines.size());
    d.series = {};
    RecordingSurface none;
    d.Wykres(none, in);
    QVERIFY(none.circles.isEmpty());
    QCOMPARE(none.lines.size(), 1);      // the one separator
    QCOMPARE(none.texts.size(), 2 + 2);  // names and both scale labels
}

void ChartTest::windowOpensWithEveryBoxChecked() {
    WindowFixture f(study(5, 2, 2));
    QVERIFY(f.load());
    int opened = 0;
    f.onModal = [&](QDialog& d) {
        auto& chart = static_cast<KalmetWyk&>(d);
        ++opened;
        QCOMPARE(chart.windowTitle(), QStringLiteral("Wykres"));
        for (int i = 0; i < 5; ++i) {
            auto* box = chart.findChild<QCheckBox*>(QStringLiteral("SSCheck1_%1").arg(i));
            QVERIFY(box->isChecked());
            if (opened == 1) {
                const int draws = chart.drawCount();
                box->click();  // toggles and redraws
                QVERIFY(!box->isChecked());
                QCOMPARE(chart.drawCount(), draws + 1);
            }
        }
        QVERIFY(chart.drawCount() >= 1);
        QCOMPARE(chart.picture().size(),
                 chart.findChild<QWidget*>(QStringLiteral("Picture1"))->size());
        d.reject();
    };
    f.find<QAction>("WykKalmet")->trigger();
    f.find<QPushButton>("SSCommand1")->click();
    QCOMPARE(opened, 2);
}

QTEST_MAIN(ChartTest)
#include "tst_chart.moc"
