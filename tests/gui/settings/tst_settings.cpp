// The settings window: what it shows, what closing it stores, what it refuses, and
// how every stored change reaches the main window, the editors, the report and the chart.

#include <sqlite3.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "chart_drawing.h"
#include "data_grid.h"
#include "panels.h"
#include "recording_surface.h"
#include "report_inputs.h"
#include "settings_window.h"
#include "typing_limit.h"
#include "window_fixture.h"

namespace {

// The settings row as SQL literals, straight from the file.
QString storedSettings(const QString& path) {
    return TestDatabase::column(
               path,
               "SELECT quote(Firma)||'|'||quote(FD)||'|'||quote(FP)||'|'||quote(POK)||'|'||"
               "quote(PSR)||'|'||quote(IK1)||'|'||quote(IK2)||'|'||quote(FRTol)||'|'||quote(Proc) "
               "FROM Ustawienia")
        .value(0);
}

QStringList resultTexts(const Kalmet& window) {
    QStringList out;
    for (const int i : Panels::resultIndices()) {
        out << window.panel(i)->text();
    }
    return out;
}

QLineEdit* box(QDialog& d, const char* name) {
    return d.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QComboBox* levelBox(QDialog& d) {
    return d.findChild<QComboBox*>(QStringLiteral("Combo1"));
}

// The control that holds the focus, by the name of the field's control (the
// drop-down for its own edit line).
QString focusedControl(QDialog& d) {
    QWidget* w = QApplication::focusWidget() ? QApplication::focusWidget() : d.focusWidget();
    if (w && qobject_cast<QComboBox*>(w->parentWidget())) {
        w = w->parentWidget();
    }
    return w ? w->objectName() : QString();
}

void showAndWait(QDialog& d) {
    d.show();
    QApplication::setActiveWindow(&d);
    QVERIFY(QTest::qWaitForWindowActive(&d));
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void closingUntouchedChangesNothing();
    void levelFollowsTheConfidence_data();
    void levelFollowsTheConfidence();
    void patternsAndToleranceActAtOnce();
    void companyNameOnlyAfterRestart();
    void closingIsRefused_data();
    void closingIsRefused();
    void failedWriteKeepsTheStoredSettings();
    void type1StudyFollowsKAndL();
};

// K and L chosen in the settings are the ones the type-1 study on screen is computed with.
void SettingsTest::type1StudyFollowsKAndL() {
    WindowFixture f(TestDatabase::WithKinds{}, TestDatabase::fixture("type1_studies.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    QCOMPARE(f.window->screen().type1->results->k, 20.0);
    f.onModal = [&](QDialog& d) {
        box(d, "Text10")->setText(QStringLiteral("15"));
        d.findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentText(QStringLiteral("4"));
        d.reject();
    };
    f.find<QAction>("Ustawienia")->trigger();
    const Type1::Results& r = *f.window->screen().type1->results;
    QCOMPARE(r.l, 4);
    QVERIFY(qAbs(*r.cg - 1.3392) < 1e-4);
}

void SettingsTest::closingUntouchedChangesNothing() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql") +
                    QStringLiteral("UPDATE Ustawienia SET POK = 10.5;"));
    QVERIFY(f.load());
    const QString before = storedSettings(f.database.path());
    const QStringList results = resultTexts(*f.window);
    QStringList shown;
    QStringList focusOrder;
    f.onModal = [&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Ustawienia"));
        for (const char* name :
             {"Text5", "Text6", "Text8", "Text2", "Text3", "Text4", "Text7", "Text9"}) {
            shown << box(d, name)->text();
        }
        shown << levelBox(d)->currentText();
        QCOMPARE((QVector<int>{TypingLimit::of(box(d, "Text5")), TypingLimit::of(box(d, "Text6")),
                               TypingLimit::of(box(d, "Text9")), TypingLimit::of(box(d, "Text8"))}),
                 (QVector<int>{10, 10, 2, 0}));
        showAndWait(d);
        for (int i = 0; i < 11; ++i) {
            focusOrder << focusedControl(d);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(d.isHidden());
    };
    f.find<QAction>("Ustawienia")->trigger();
    QCOMPARE(f.modals, QStringList{"Trans"});
    QCOMPARE(shown, (QStringList{"yyyy-mm-dd", "0.00", "Nazwa firmy", "10,5", "30", "5", "3", "15",
                                 "99"}));
    QCOMPARE(focusOrder, (QStringList{"Text5", "Text6", "Combo1", "Text2", "Text3", "Text4",
                                      "Text7", "Text9", "Text10", "Combo2", "Text8"}));
    QCOMPARE(storedSettings(f.database.path()), before);
    QCOMPARE(resultTexts(*f.window), results);
    QVERIFY(f.dialogs.calls.isEmpty());
}

void SettingsTest::levelFollowsTheConfidence_data() {
    QTest::addColumn<int>("storedProc");
    QTest::addColumn<QString>("typed");  // empty: the list item below is chosen
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("ev");
    // EV = mean range 0,015 times 4,56 (99 %) or 3,47 (95 %)
    QTest::newRow("99 typed") << 95 << "99" << -1 << 0 << "0,07 ";
    QTest::newRow("99 chosen") << 95 << "" << 1 << 0 << "0,07 ";
    QTest::newRow("95 chosen") << 99 << "" << 0 << 1 << "0,05 ";
}

void SettingsTest::levelFollowsTheConfidence() {
    QFETCH(int, storedProc);
    QFETCH(QString, typed);
    QFETCH(int, chosen);
    QFETCH(int, level);
    QFETCH(QString, ev);
    WindowFixture f(TestDatabase::fixture("worked_example.sql") +
                    QStringLiteral("UPDATE Ustawienia SET Proc = %1;").arg(storedProc));
    QVERIFY(f.load());
    QCOMPARE(f.session->shared().level, storedProc == 99 ? 0 : 1);
    f.onModal = [&](QDialog& d) {
        QCOMPARE(levelBox(d)->count(), 2);
        QCOMPARE(levelBox(d)->itemText(0), QStringLiteral("95"));
        if (typed.isEmpty()) {
            levelBox(d)->setCurrentIndex(chosen);
        } else {
            levelBox(d)->setEditText(typed);
        }
        d.reject();
    };
    f.find<QAction>("Ustawienia")->trigger();
    QCOMPARE(f.session->shared().level, level);
    QCOMPARE(f.window->panel(Panels::kEV)->text(), ev);
    const QString proc = typed.isEmpty() ? (chosen == 0 ? "95" : "99") : typed;
    QVERIFY(storedSettings(f.database.path()).endsWith(QLatin1Char('|') + proc));
}

// A new number pattern reaches the grid, the results and the chart labels, a new date
// pattern the next proposed date, and a new tolerance share the next calculation.
void SettingsTest::patternsAndToleranceActAtOnce() {
    WindowFixture f(TestDatabase::completeStudy(5, 2, 2, 4));
    QVERIFY(f.load());
    const DataGrid& grid = *f.window->grid();
    int row = -1;
    int column = -1;
    const QRegularExpression threeDecimals(QStringLiteral("^\\d+,\\d{3}$"));
    for (int r = 0; r < grid.rowCount() && row < 0; ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (threeDecimals.match(grid.cellText(r, c)).hasMatch()) {
                row = r;
                column = c;
                break;
            }
        }
    }
    QVERIFY(row >= 0);
    const QString cell = grid.cellText(row, column);
    QCOMPARE(f.window->panel(Panels::kREF)->text(), QStringLiteral("0,150 "));  // 15 % of 1

    f.onModal = [&](QDialog& d) {
        box(d, "Text5")->setText(QStringLiteral("dd.mm.yyyy"));
        box(d, "Text6")->setText(QStringLiteral("0.0000"));
        box(d, "Text9")->setText(QStringLiteral("20"));
        d.reject();
    };
    f.find<QAction>("Ustawienia")->trigger();
    QCOMPARE(f.window->grid()->cellText(row, column), cell + QLatin1Char('0'));
    QCOMPARE(f.window->panel(Panels::kREF)->text(), QStringLiteral("0,2000 "));

    const ReportInputs in = ReportInputs::gather(*f.session, f.window->screen(), {});
    RecordingSurface chart;
    ChartDrawing drawing;
    drawing.Wykres(chart, in);
    const QRegularExpression fourDecimals(QStringLiteral("^-?\\d+,\\d{4}$"));
    int labels = 0;
    for (const auto& t : chart.texts) {
        labels += fourDecimals.match(t.text).hasMatch() ? 1 : 0;
    }
    QCOMPARE(labels, 2);

    QString proposedDate;
    f.onModal = [&](QDialog& d) {
        proposedDate = box(d, "Text12")->text();
        d.reject();
    };
    f.find<QAction>("NowaAnaliza")->trigger();
    QCOMPARE(proposedDate, QStringLiteral("08.12.2026"));
}

void SettingsTest::companyNameOnlyAfterRestart() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    f.onModal = [&](QDialog& d) {
        box(d, "Text8")->setText(QString::fromUtf8("Zakłady Pomiarowe"));
        d.reject();
    };
    f.find<QAction>("Ustawienia")->trigger();
    QCOMPARE(ReportInputs::gather(*f.session, f.window->screen(), {}).Firma.text(),
             QStringLiteral("Nazwa firmy"));
    f.window.reset();
    f.session.reset();
    f.window = std::make_unique<Kalmet>(f.environment);
    QVERIFY(f.load());
    QCOMPARE(ReportInputs::gather(*f.session, f.window->screen(), {}).Firma.text(),
             QString::fromUtf8("Zakłady Pomiarowe"));
}

void SettingsTest::closingIsRefused_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString number = QString::fromUtf8("Pole „%1” musi zawierać liczbę - Popraw");
    QTest::newRow("POK") << "Text2"
                         << "abc" << number.arg("Akceptacja systemu gdy R&R mniejsze do");
    QTest::newRow("PSR empty") << "Text3"
                               << ""
                               << number.arg("Warunkowa akceptacja systemu gdy R&R mniejsze do");
    QTest::newRow("IK1 with a point")
        << "Text4"
        << "5.5"
        << number.arg(QString::fromUtf8("Akceptacja systemu gdy rozdzielczość większa od"));
    QTest::newRow("IK2") << "Text7"
                         << "x"
                         << number.arg(QString::fromUtf8(
                                "Warunkowa akceptacja gdy rozdzielczość większa od"));
    QTest::newRow("FRTol") << "Text9"
                           << "a"
                           << number.arg("Gdy poziomem odnesienia jest tolerancja, ustal RF na");
    QTest::newRow("type-1 K above 50")
        << "Text10"
        << "60"
        << QString::fromUtf8("Pole „Udział tolerancji K” przyjmuje liczby od 1 do 50 - Popraw");
    QTest::newRow("Proc empty") << "Combo1"
                                << "" << number.arg(QString::fromUtf8("Dokładność"));
    QTest::newRow("FD empty") << "Text5"
                              << ""
                              << "Nie podano zapisu daty - Popraw";
    QTest::newRow("FP empty") << "Text6"
                              << ""
                              << "Nie podano zapisu liczb - Popraw";
    QTest::newRow("FP with a unit")
        << "Text6"
        << "0.000 mm"
        << QString::fromUtf8(
               "Zapis liczb „0.000 mm” zamienia liczbę 12,345 w tekst „12,345 mm”, którego "
               "program nie odczyta jako liczby; wyniki analiz byłyby puste - Popraw");
    // Settings that would change the results while looking fine.
    const QString changes = QString::fromUtf8(
        "Zapis liczb „%1” zamienia %2 w „%3”; pokazane liczby różniłyby się od zapisanych i "
        "wyniki byłyby błędne - Popraw");
    QTest::newRow("FP a constant") << "Text6"
                                   << "95" << changes.arg("95", "12,345", "95");
    QTest::newRow("FP drops the sign") << "Text6"
                                       << "0.0;0.0" << changes.arg("0.0;0.0", "-12,345", "12,3");
    const QString tolerance = QString::fromUtf8(
        "Pole „Gdy poziomem odnesienia jest tolerancja, ustal RF na” przyjmuje liczby od 1 do "
        "99 - Popraw");
    QTest::newRow("FRTol 0") << "Text9"
                             << "0" << tolerance;
    QTest::newRow("FRTol negative") << "Text9"
                                    << "-5" << tolerance;
    QTest::newRow("Proc 90") << "Combo1"
                             << "90"
                             << QString::fromUtf8(
                                    "Pole „Dokładność” przyjmuje tylko 95 lub 99 - "
                                    "Popraw");
}

void SettingsTest::closingIsRefused() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    const QString before = storedSettings(f.database.path());
    const QStringList results = resultTexts(*f.window);
    f.onModal = [&](QDialog& d) {
        showAndWait(d);
        if (control == QLatin1String("Combo1")) {
            levelBox(d)->setEditText(text);
        } else {
            box(d, control.toLatin1().constData())->setText(text);
        }
        box(d, "Text8")->setText(QStringLiteral("nie zapisane"));
        box(d, "Text8")->setFocus();
        QSignalSpy closed(&d, &QDialog::finished);
        QTest::keyClick(&d, Qt::Key_Escape);
        QCOMPARE(closed.count(), 0);
        QVERIFY(d.isVisible());
        QCOMPARE(focusedControl(d), control);
        d.hide();
    };
    f.find<QAction>("Ustawienia")->trigger();
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(storedSettings(f.database.path()), before);
    QCOMPARE(resultTexts(*f.window), results);
}

// Another program holds the file: the user is told why, may stay to try again, and the
// settings in the file and in use stay as they were until a write succeeds.
void SettingsTest::failedWriteKeepsTheStoredSettings() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    const QString before = storedSettings(f.database.path());
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(f.database.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    f.dialogs.answers = {false, true};  // stay at the first failure, leave at the second
    int attempts = 0;
    f.onModal = [&](QDialog& d) {
        box(d, "Text6")->setText(QStringLiteral("0.0000"));
        QSignalSpy closed(&d, &QDialog::finished);
        d.reject();
        attempts = 1;
        QCOMPARE(closed.count(), 0);
        d.reject();
        attempts = 2;
        QCOMPARE(closed.count(), 1);
        QVERIFY(!static_cast<Trans&>(d).saved());
    };
    f.find<QAction>("Ustawienia")->trigger();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(attempts, 2);
    QCOMPARE(f.dialogs.calls.size(), 2);
    QVERIFY2(f.dialogs.calls[0].question &&
                 f.dialogs.calls[0].text.contains(QStringLiteral("Przyczyna: ")) &&
                 f.dialogs.calls[0].text.contains(QStringLiteral("zablokowany")),
             qPrintable(f.dialogs.calls[0].text));
    QCOMPARE(storedSettings(f.database.path()), before);
    QCOMPARE(f.session->shared().numberPattern(), QStringLiteral("0.00"));
    QCOMPARE(f.session->settingsRow().field(QStringLiteral("FP")).text(), QStringLiteral("0.00"));
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
