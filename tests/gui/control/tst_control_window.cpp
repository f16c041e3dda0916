#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "control_window.h"
#include "data_grid.h"
#include "history.h"
#include "series_editor.h"
#include "window_fixture.h"

namespace {

// The charts window asks for the re-measurement; the editor then corrects the value it
// opened on, checked to be the wild reading of the flag.
void remeasureWith(WindowFixture& f, const QString& newValue) {
    f.onModal = [newValue](QDialog& d) {
        auto* dane = qobject_cast<Dane*>(&d);
        if (!dane) {
            d.findChild<QPushButton*>(QStringLiteral("PowtorzPomiar"))->click();
            return;
        }
        QCOMPARE(dane->appraiserBox()->text(), QStringLiteral("B"));
        QLineEdit* box = dane->valueBoxes()[3];
        QCOMPARE(dane->focusWidget(), box);
        QCOMPARE(box->text(), QStringLiteral("1,030"));
        box->setText(newValue);
        d.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    };
}

std::vector<History::Entry> historyOf(WindowFixture& f) {
    QString error;
    return History::read(f.session->database(), QStringLiteral("AIAG"), &error).value();
}

}  // namespace

class ControlWindowTest : public QObject {
    Q_OBJECT

private slots:
    void chartsFollowTheWindowSize();
    void remeasureFromTheWindowIsRecorded();
    void remeasureFromTheGridIsRecorded();
};

void ControlWindowTest::chartsFollowTheWindowSize() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    QVERIFY(f.find<QAction>("KartyKontrolne")->isEnabled());
    f.onModal = [](QDialog& d) {
        auto& w = static_cast<ControlWindow&>(d);
        QCOMPARE(w.windowTitle(), QStringLiteral("Karty kontrolne"));
        w.show();
        w.resize(900, 700);
        const QSize small = w.picture().size();
        w.resize(1300, 900);
        QVERIFY(w.picture().width() > small.width() && w.picture().height() > small.height());
        d.reject();
    };
    f.find<QAction>("KartyKontrolne")->trigger();
    QCOMPARE(f.modals, QStringList{QStringLiteral("ControlWindow")});
    f.window->selectAnalysisAt(1);  // M/5: no range out of control
    f.onModal = [](QDialog& d) {
        QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("PowtorzPomiar"))->isEnabled());
        d.reject();
    };
    f.find<QAction>("KartyKontrolne")->trigger();
}

// "Powtórz pomiar" closes the charts and opens the series editor on B's second trial,
// the fourth part; the correction clears the flag and stands in the history with its reason.
void ControlWindowTest::remeasureFromTheWindowIsRecorded() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    remeasureWith(f, QStringLiteral("0,30"));
    f.find<QAction>("KartyKontrolne")->trigger();
    const std::vector<History::Entry> history = historyOf(f);
    QCOMPARE(history.size(), std::size_t(1));
    QCOMPARE(history[0].part, 4);
    QCOMPARE(history[0].trial, 2);
    QCOMPARE(history[0].oldValue, Value(1.03));
    QVERIFY(history[0].why.startsWith(QString::fromUtf8("Powtórzony pomiar")));
    QVERIFY(f.window->controlWarningLabel()->isHidden());
    int listed = -1;
    QStringList values;
    f.onModal = [&](QDialog& d) {  // the history view lists it, values as stored
        if (auto* table = d.findChild<QTableWidget*>(QStringLiteral("Historia"))) {
            listed = table->rowCount();
            values << table->item(0, 4)->text() << table->item(0, 5)->text();
        } else {
            d.findChild<QPushButton*>(QStringLiteral("Historia"))->click();
        }
        d.reject();
    };
    f.find<QAction>("KartyKontrolne")->trigger();
    QCOMPARE(f.modals.last(), QStringLiteral("HistoriaZmian"));
    QCOMPARE(listed, 1);
    QCOMPARE(values, (QStringList{QStringLiteral("1,03"), QStringLiteral("0,3")}));
}

// A double click on the red range does the same; a plain correction is recorded too.
void ControlWindowTest::remeasureFromTheGridIsRecorded() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    DataGrid* grid = f.window->grid();
    int flaggedRow = -1;
    for (int r = 0; r < grid->rows(); ++r) {
        flaggedRow = grid->isFlagged(r, 5) ? r : flaggedRow;
    }
    QVERIFY(flaggedRow > 0);
    remeasureWith(f, QStringLiteral("0,31"));
    emit grid->cellDoubleClicked(flaggedRow, 5);
    QCOMPARE(historyOf(f).size(), std::size_t(1));
    emit grid->cellDoubleClicked(1, 2);  // not a flagged cell: nothing opens
    QCOMPARE(f.modals.size(), 1);
}

QTEST_MAIN(ControlWindowTest)
#include "tst_control_window.moc"
