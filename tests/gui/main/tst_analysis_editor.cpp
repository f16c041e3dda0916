#include <unistd.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "analysis_editor.h"
#include "data_grid.h"
#include "editor_steps.h"
#include "number_proposal.h"
#include "record_sets.h"
#include "series_editor.h"
#include "session.h"
#include "small_disk.h"
#include "twips.h"
#include "typing_limit.h"
#include "window_fixture.h"

class AnalysisEditorTest : public QObject {
    Q_OBJECT

private slots:
    void numberProposal_data();
    void numberProposal();
    void referenceModeVisibility_data();
    void referenceModeVisibility();
    void analysisValidation_data();
    void analysisValidation();
    void limitsReadWithTheDecimalReader();
    void newAnalysisIsStoredAndSelected();
    void type1Analysis_data();
    void type1Analysis();
    void hiddenBoxesAreStoredAnyway();
    void duplicateNumberComparesExactly();
    void cancelledEditorLeavesTheSelection();
    void editAnalysis();
    void editAnalysisWithUnknownProfile();
    void programTextIsNeverCut();
    void referenceModeKeepsTheLayout();
};

void AnalysisEditorTest::numberProposal_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("proposal");
    QTest::newRow("number/year") << "12/2005"
                                 << "13/2005";
    QTest::newRow("plain") << "7"
                           << "8";
    QTest::newRow("letter first") << "A1"
                                  << "11";
    QTest::newRow("leading zeros") << "007"
                                   << "807";
    QTest::newRow("nines") << "99-K"
                           << "100-K";
}

void AnalysisEditorTest::numberProposal() {
    QFETCH(QString, last);
    QFETCH(QString, proposal);
    QCOMPARE(proposeAnalysisNumber(last, true, RegionalSettings::polish()), proposal);
    QCOMPARE(proposeAnalysisNumber(QString(), false, RegionalSettings::polish()),
             QStringLiteral("1"));
}

void AnalysisEditorTest::referenceModeVisibility_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("value");
    QTest::addColumn<bool>("limits");
    QTest::addColumn<QString>("caption");
    QTest::newRow("0") << 0 << true << true << QString::fromUtf8("Założone Cp");
    QTest::newRow("1") << 1 << true << true << QStringLiteral("Cp procesu");
    QTest::newRow("2") << 2 << true << false << QStringLiteral("Odchylenie S");
    QTest::newRow("3") << 3 << false << false << QString();
    QTest::newRow("4") << 4 << false << true << QString();
}

void AnalysisEditorTest::referenceModeVisibility() {
    QFETCH(int, mode);
    QFETCH(bool, value);
    QFETCH(bool, limits);
    QFETCH(QString, caption);
    WindowFixture f;
    QVERIFY(f.load());
    NowaA e(*f.window->session(), f.dialogs);
    QCOMPARE(e.list("Combo5")->count(), 5);
    QVERIFY(!e.box("Text4")->isHidden());  // opens with mode 0
    e.list("Combo5")->setCurrentIndex(mode);
    QCOMPARE(!e.box("Text4")->isHidden(), value);
    QCOMPARE(!e.findChild<QLabel*>(QStringLiteral("Label1_0"))->isHidden(), value);
    QCOMPARE(!e.box("Text6")->isHidden(), limits);
    QCOMPARE(!e.box("Text7")->isHidden(), limits);
    QCOMPARE(!e.findChild<QLabel*>(QStringLiteral("Label1_5"))->isHidden(), limits);
    if (value) {
        QCOMPARE(e.findChild<QLabel*>(QStringLiteral("Label1_0"))->text(), caption);
    }
    QCOMPARE(e.list("Combo1")->currentText(), QStringLiteral("10"));
    QCOMPARE(e.list("Combo2")->currentText(), QStringLiteral("2"));
    QCOMPARE(e.list("Combo3")->currentText(), QStringLiteral("2"));
}

void AnalysisEditorTest::analysisValidation_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");
    QTest::newRow("number") << "Text11"
                            << "" << 0 << "Nie wprowadzono NUMERU ANALIZY - Popraw" << true;
    QTest::newRow("duplicate") << "Text11"
                               << "2/2026" << 0
                               << "Zarejestrowano analizę o podanym numerze - Popraw" << true;
    QTest::newRow("date") << "Text12"
                          << "" << 0 << "Nie wprowadzono DATY ANALIZY - Popraw" << true;
    QTest::newRow("part name") << "Text1"
                               << "" << 0 << "Nie wprowadzono NAZWY CZĘŚCI - Popraw" << true;
    QTest::newRow("part number") << "Text2"
                                 << "" << 0 << "Nie wprowadzono NUMERU CZĘŚCI - Popraw" << true;
    QTest::newRow("characteristic")
        << "Text3"
        << "" << 0 << "Nie wprowadzono CHARAKTERYSTYKI - Popraw" << true;
    QTest::newRow("gauge name") << "Text8"
                                << "" << 0 << "Nie wprowadzono NAZWY PRZYRZĄDU - Popraw" << true;
    QTest::newRow("gauge number") << "Text9"
                                  << "" << 0 << "Nie wprowadzono NUMERU PRZYRZĄDU - Popraw" << true;
    QTest::newRow("gauge error") << "Text15"
                                 << "" << 0 << "Nie wprowadzono BŁĘDU WSKAZAŃ - Popraw" << true;
    QTest::newRow("assumed Cp") << "Text4"
                                << "1.33" << 0 << "Nie wprowadzono - Założone Cp - Popraw" << true;
    QTest::newRow("deviation") << "Text4"
                               << "" << 2 << "Nie wprowadzono - Odchylenie S - Popraw" << true;
    QTest::newRow("upper") << "Text6"
                           << "abc" << 4 << "Nie wprowadzono - GWG - Popraw" << true;
    QTest::newRow("lower") << "Text7"
                           << "" << 1 << "Nie wprowadzono - DWG - Popraw" << true;
    QTest::newRow("equal limits") << "Text7"
                                  << "10,50" << 0 << "Nieprawidłowe wartości GWG i DWG - Popraw !"
                                  << false;
    QTest::newRow("reversed limits")
        << "Text7"
        << "11" << 4 << "Nieprawidłowe wartości GWG i DWG - Popraw !" << false;
}

void AnalysisEditorTest::analysisValidation() {
    QFETCH(QString, box);
    QFETCH(QString, value);
    QFETCH(int, mode);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    NowaA e(*f.window->session(), f.dialogs);
    e.box("Text11")->setText(QStringLiteral("3/2026"));
    e.box("Text12")->setText(QStringLiteral("2026-12-08"));
    fillValidAnalysis(e);
    e.list("Combo5")->setCurrentIndex(mode);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QVERIFY(e.Sprawdz());
    QVERIFY(f.dialogs.calls.isEmpty());
    e.box(box.toLatin1().constData())->setText(value);
    QVERIFY(!e.Sprawdz());
    QCOMPARE(f.dialogs.calls.size(), 1);
    const auto& call = f.dialogs.calls[0];
    QCOMPARE(call.text, message);
    QCOMPARE(call.title, QStringLiteral("UWAGA !!!"));
    QCOMPARE(call.icon, Dialogs::Icon::Critical);
    QCOMPARE(call.afterBeep, beep);
    const QString focused =
        message.startsWith(QString::fromUtf8("Nieprawidłowe")) ? QStringLiteral("Text6") : box;
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                         : e.focusWidget()->objectName(),
             focused);
}

void AnalysisEditorTest::limitsReadWithTheDecimalReader() {
    WindowFixture f;
    QVERIFY(f.load());
    NowaA e(*f.window->session(), f.dialogs);
    e.box("Text11")->setText(QStringLiteral("1"));
    e.box("Text12")->setText(QStringLiteral("x"));
    fillValidAnalysis(e);
    e.box("Text6")->setText(QStringLiteral("10,5"));
    e.box("Text7")->setText(QStringLiteral("10,4"));
    QVERIFY(e.Sprawdz());
    e.box("Text1")->setText(QStringLiteral("   "));  // blanks count as an entry
    QVERIFY(e.Sprawdz());
    e.list("Combo5")->setCurrentIndex(2);  // S only: the limits are not compared
    e.box("Text7")->setText(QStringLiteral("99"));
    QVERIFY(e.Sprawdz());
}

void AnalysisEditorTest::newAnalysisIsStoredAndSelected() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    f.onModal = [](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.windowTitle(), QStringLiteral("Nowa analiza"));
        QCOMPARE(e.box("Text11")->text(), QStringLiteral("3/2026"));
        QCOMPARE(e.box("Text12")->text(), QStringLiteral("2026-12-08"));
        QCOMPARE(e.list("Combo4")->count(), 3);
        QCOMPARE(e.list("Combo4")->currentText(), QStringLiteral("Brak"));
        fillValidAnalysis(e);
        e.list("Combo1")->setCurrentText(QStringLiteral("7"));
        e.list("Combo3")->setCurrentText(QStringLiteral("3"));
        e.box("Text13")->setText(QStringLiteral("20,5"));
        e.list("Combo4")->setCurrentIndex(2);
        click(d, "Command1");
    };
    action(f, "NowaAnaliza")->trigger();
    auto row = analysisRow(f, QStringLiteral("3/2026"));
    QVERIFY(row->hasCurrentRow());
    QCOMPARE(row->field(QStringLiteral("LiczbaN")).number(), 7.0);
    QCOMPARE(row->field(QStringLiteral("LiczbaK")).number(), 2.0);
    QCOMPARE(row->field(QStringLiteral("LiczbaR")).number(), 3.0);
    QCOMPARE(row->field(QStringLiteral("WN")).number(), 1.33);
    QCOMPARE(row->field(QStringLiteral("GWG")).number(), 10.5);
    QCOMPARE(row->field(QStringLiteral("Temperatura")).text(), QStringLiteral("20,5"));
    QCOMPARE(row->field(QStringLiteral("NumerC")).text(), QStringLiteral("T-100"));
    QCOMPARE(row->field(QStringLiteral("CoRef")).number(), 0.0);
    QCOMPARE(row->field(QStringLiteral("NazwaT")).text(), QStringLiteral("RS232 - COM2"));
    QCOMPARE(row->field(QStringLiteral("Setings")).text(), QStringLiteral("4800,e,7,2"));
    auto* combo = f.find<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("3/2026"));
    QCOMPARE(f.window->panel(0)->text(), QStringLiteral(" Tuleja"));
    QCOMPARE(f.window->panel(10)->text(), QStringLiteral("7 "));
}

void AnalysisEditorTest::type1Analysis_data() {
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("refusal");  // empty: stored
    QTest::newRow("both limits") << "-4"
                                 << "3,5"
                                 << "-11,5"
                                 << "0,01"
                                 << "";
    QTest::newRow("upper only: lower at zero") << "0,4"
                                               << "1,6"
                                               << ""
                                               << ""
                                               << "";
    QTest::newRow("no master") << ""
                               << "3,5"
                               << "-11,5"
                               << ""
                               << "Nie wprowadzono WARTOŚCI WZORCA - Popraw";
    QTest::newRow("no limits") << "-4"
                               << ""
                               << ""
                               << ""
                               << "Nie wprowadzono GRANIC TOLERANCJI (GWG lub DWG) - Popraw";
    QTest::newRow("lower only, above zero")
        << "5"
        << ""
        << "4"
        << ""
        << "Tolerancja GWG − DWG nie jest dodatnia (brakująca granica to zero) - Popraw !";
    QTest::newRow("resolution zero") << "-4"
                                     << "3,5"
                                     << "-11,5"
                                     << "0"
                                     << "Rozdzielczość musi być liczbą dodatnią - Popraw";
}

// The editor of a type-1 study asks for the master, the limits and the resolution in
// place of the counts and the reference mode, and stores the kind with them.
void AnalysisEditorTest::type1Analysis() {
    QFETCH(QString, master);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(QString, resolution);
    QFETCH(QString, refusal);
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    f.newKind = StudyKind::Type1;
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.windowTitle(), QString::fromUtf8("Nowa analiza — badanie typu 1"));
        QVERIFY(e.list("Combo1")->isHidden() && e.list("Combo5")->isHidden());
        QVERIFY(!e.box("Text16")->isHidden() && !e.box("Text7")->isHidden());
        fillValidAnalysis(e);
        e.box("Text16")->setText(master);
        e.box("Text6")->setText(upper);
        e.box("Text7")->setText(lower);
        e.box("Text17")->setText(resolution);
        click(d, "Command1");
        if (d.isVisible()) {
            d.reject();
        }
    };
    action(f, "NowaAnaliza")->trigger();
    auto row = analysisRow(f, QStringLiteral("3/2026"));
    QCOMPARE(f.dialogs.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(row->hasCurrentRow(), refusal.isEmpty());
    if (refusal.isEmpty()) {
        QCOMPARE(row->field(QStringLiteral("Rodzaj")).text(), QStringLiteral("type1"));
        QCOMPARE(row->field(QStringLiteral("Wzorzec")).number(),
                 master.replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
        QVERIFY(row->field(QStringLiteral("LiczbaN")).isEmpty());
        QCOMPARE(f.window->screen().kind, StudyKind::Type1);
    }
}

void AnalysisEditorTest::hiddenBoxesAreStoredAnyway() {
    WindowFixture f;
    QVERIFY(f.load());
    f.onModal = [](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.box("Text11")->text(), QStringLiteral("1"));
        fillValidAnalysis(e);
        e.box("Text7")->setText(
            QStringLiteral("11"));  // would fail the limits, but they are hidden
        e.list("Combo5")->setCurrentIndex(3);
        click(d, "Command1");
    };
    action(f, "NowaAnaliza")->trigger();
    auto row = analysisRow(f, QStringLiteral("1"));
    QVERIFY(row->hasCurrentRow());
    QCOMPARE(row->field(QStringLiteral("CoRef")).number(), 3.0);
    QCOMPARE(row->field(QStringLiteral("WN")).number(), 1.33);
    QCOMPARE(row->field(QStringLiteral("GWG")).number(), 10.5);
    QCOMPARE(row->field(QStringLiteral("DWG")).number(), 11.0);
    QCOMPARE(row->field(QStringLiteral("Setings")).text(), QStringLiteral("X"));
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("TV"));
}

void AnalysisEditorTest::duplicateNumberComparesExactly() {
    WindowFixture f(QStringLiteral("INSERT INTO Analiza (Numer) VALUES ('A1');"));
    QVERIFY(f.load());
    NowaA e(*f.window->session(), f.dialogs);
    e.box("Text12")->setText(QStringLiteral("x"));
    fillValidAnalysis(e);
    e.box("Text11")->setText(QStringLiteral("A1"));
    QVERIFY(!e.Sprawdz());
    e.box("Text11")->setText(QStringLiteral("a1"));
    QVERIFY(e.Sprawdz());
    e.box("Text11")->setText(QStringLiteral("A1 "));
    QVERIFY(e.Sprawdz());
}

void AnalysisEditorTest::cancelledEditorLeavesTheSelection() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    f.onModal = [](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        fillValidAnalysis(e);
        e.box("Text11")->setText(QStringLiteral("1/2026"));
        click(d, "Command1");  // refused: the number exists
        click(d, "Command2");
    };
    action(f, "NowaAnaliza")->trigger();
    QCOMPARE(RecordSets::analyses(f.database.db())->recordCount(), 2);
    QCOMPARE(f.dialogs.calls.size(), 1);
    // the duplicate search moved the record set; the selection is back on 2/2026
    QCOMPARE(f.window->session()->analyses().field(QStringLiteral("Numer")).text(),
             QStringLiteral("2/2026"));
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), 2);
}

void AnalysisEditorTest::editAnalysis() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    f.onModal = [](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.windowTitle(), QString::fromUtf8("Popraw analizę"));
        QCOMPARE(e.box("Text11")->text(), QStringLiteral("2/2026"));
        QCOMPARE(e.list("Combo3")->currentText(), QStringLiteral("3"));
        QCOMPARE(e.list("Combo5")->currentIndex(), 0);
        QCOMPARE(e.box("Text4")->text(), QStringLiteral("1"));
        QCOMPARE(e.box("Text6")->text(), QStringLiteral("20"));
        QCOMPARE(e.list("Combo4")->currentText(), QStringLiteral("RS232 - COM2"));
        for (const char* name : {"Text11", "Text12"}) {
            QVERIFY(!e.box(name)->isEnabled());
        }
        for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
            QVERIFY(!e.list(name)->isEnabled());
        }
        e.box("Text1")->setText(QString::fromUtf8("Wałek stopniowany"));
        e.box("Text12")->setText(QString());  // a disabled date is not asked for
        e.list("Combo4")->setCurrentIndex(0);
        click(d, "Command1");
    };
    action(f, "PoprawAnaliza")->trigger();
    auto row = analysisRow(f, QStringLiteral("2/2026"));
    QCOMPARE(row->field(QStringLiteral("NazwaC")).text(), QString::fromUtf8("Wałek stopniowany"));
    QCOMPARE(row->field(QStringLiteral("Data")).text(), QStringLiteral("2026-01-11"));
    QCOMPARE(row->field(QStringLiteral("LiczbaR")).number(), 3.0);
    QCOMPARE(row->field(QStringLiteral("NazwaT")).text(), QStringLiteral("Brak"));
    QCOMPARE(row->field(QStringLiteral("Setings")).text(), QStringLiteral("X"));
    QCOMPARE(f.window->panel(0)->text(), QString::fromUtf8(" Wałek stopniowany"));
}

void AnalysisEditorTest::editAnalysisWithUnknownProfile() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    QString shown;
    f.onModal = [&shown](QDialog& d) {
        shown = static_cast<NowaA&>(d).list("Combo4")->currentText();
        click(d, "Command1");
    };
    action(f, "PoprawAnaliza")->trigger();
    QCOMPARE(shown, QStringLiteral("Brak"));
    auto row = analysisRow(f, QStringLiteral("1/2026"));
    QCOMPARE(row->field(QStringLiteral("NazwaT")).text(), QStringLiteral("Brak"));
    QCOMPARE(row->field(QStringLiteral("Setings")).text(), QStringLiteral("X"));
}

void AnalysisEditorTest::programTextIsNeverCut() {
    WindowFixture f(QString::fromUtf8(twoAnalyses) +
                    QStringLiteral("UPDATE Ustawienia SET FD = 'dd mmmm yy';"
                                   "UPDATE Analiza SET NazwaC = '%1' WHERE Numer = '2/2026';")
                        .arg(QString(35, QLatin1Char('x'))));
    QVERIFY(f.load());
    QString proposed;
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        proposed = e.box("Text12")->text();
        fillValidAnalysis(e);
        click(d, "Command1");
    };
    action(f, "NowaAnaliza")->trigger();
    QCOMPARE(proposed, QString::fromUtf8("08 grudnia 26"));
    QCOMPARE(analysisRow(f, QStringLiteral("3/2026"))->field(QStringLiteral("Data")).text(),
             QString::fromUtf8("08 grudnia 26"));
    // A stored name longer than the box's limit is shown and stored back whole...
    f.window->selectAnalysisAt(1);
    QString shown;
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        shown = e.box("Text1")->text();
        e.show();
        QTest::keyClick(e.box("Text1"), Qt::Key_End);
        QTest::keyClicks(e.box("Text1"), QStringLiteral("yy"));  // ...but cannot grow
        click(d, "Command1");
    };
    action(f, "PoprawAnaliza")->trigger();
    QCOMPARE(shown.size(), 35);
    QCOMPARE(analysisRow(f, QStringLiteral("2/2026"))->field(QStringLiteral("NazwaC")).text(),
             QString(35, QLatin1Char('x')));
    // What the user types stops at the limit.
    NowaA e(*f.window->session(), f.dialogs);
    e.show();
    QTest::keyClicks(e.box("Text2"), QString(25, QLatin1Char('7')));
    QCOMPARE(e.box("Text2")->text(), QString(20, QLatin1Char('7')));
}

void AnalysisEditorTest::referenceModeKeepsTheLayout() {
    WindowFixture f;
    QVERIFY(f.load());
    NowaA e(*f.window->session(), f.dialogs);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    auto places = [&e] {
        QList<QRect> rects;
        for (QWidget* w : e.findChildren<QWidget*>()) {
            if (w->isVisible() && w->parentWidget() && w->parentWidget()->parentWidget() == &e) {
                rects << w->geometry();
            }
        }
        return rects;
    };
    QApplication::processEvents();
    const QList<QRect> first = places();
    for (int mode = 1; mode < 5; ++mode) {
        e.list("Combo5")->setCurrentIndex(mode);
        QApplication::processEvents();
        for (const QRect& r : places()) {
            QVERIFY2(first.contains(r), qPrintable(QString::number(mode)));
        }
    }
}

QTEST_MAIN(AnalysisEditorTest)
#include "tst_analysis_editor.moc"
