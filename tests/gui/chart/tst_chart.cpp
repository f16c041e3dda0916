#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include "chart_window.h"
#include "printable_study.h"
#include "recording_surface.h"
#include "window_fixture.h"

namespace {

// Adam sorts first, though Zenon's series were stored first.
const QStringList kNames = {QStringLiteral("Zenon"), QStringLiteral("Adam"),
                            QStringLiteral("Maria")};

}  // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void seriesSwitches();
    void labelsAndNamesStayInThePicture();
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
    const ReportInputs in = printableStudy(n, k, k, kNames);
    RecordingSurface s;
    ChartDrawing().Wykres(s, in);
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
    const ReportInputs in = printableStudy(5, 2, 2, kNames);
    ChartDrawing d;
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

// "-1500,125" is wider than the room right of the frame: it is drawn whole, in a
// smaller font, inside the picture; a 30-character name ends in its own section.
void ChartTest::labelsAndNamesStayInThePicture() {
    const QString longName = QLatin1Char('A') + QString(29, QLatin1Char('x'));
    const ReportInputs in =
        printableStudy(5, 3, 2, {longName, "B", "C"},
                       [](QVector<SeriesRow>& series) { series[0].parts[0] = Value(-1500.125); });
    ChartDrawing d;
    d.fontPoints = 10;  // the recording surface's: 100 twips a character
    RecordingSurface s;
    d.Wykres(s, in);
    const auto* label = s.find(QStringLiteral("-1500,125"));
    QVERIFY(label);
    QVERIFY(label->size < 10);
    QVERIFY(label->x >= d.shape1.right() && label->x + 9 * 10 * label->size <= d.pictureWidth);
    const auto* name = s.findStarting(QStringLiteral("Axx"));
    QVERIFY(name->text.endsWith(QString::fromUtf8("…")));
    QVERIFY(name->x + name->text.size() * 100.0 <= d.shape1.width() / 3);
}

void ChartTest::windowOpensWithEveryBoxChecked() {
    WindowFixture f(TestDatabase::completeStudy(5, 2, 2, 3, 0.01, kNames));
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
