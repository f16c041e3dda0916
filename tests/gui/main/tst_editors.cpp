#include <unistd.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

#include "analysis_editor.h"
#include "data_grid.h"
#include "number_proposal.h"
#include "record_sets.h"
#include "series_editor.h"
#include "session.h"
#include "small_disk.h"
#include "twips.h"
#include "typing_limit.h"
#include "window_fixture.h"

namespace {

const char* const twoAnalyses =
    "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, Data, NazwaC, NumerC, Parametr, WN, "
    "GWG, DWG, "
    "CoRef, NazwaP, NumerP, BladP, NazwaT, Setings) VALUES "
    "('1/2026', 5, 2, 2, '2026-01-10', 'Tuleja', 'T-1', 'Średnica', 1.33, 10.5, 9.5, 3, "
    "'Mikrometr', 'M-1', "
    "'0,002', 'Stary profil', '1200,n,8,1'),"
    "('2/2026', 5, 2, 3, '2026-01-11', 'Wałek', 'W-2', 'Długość', 1, 20, 19, 0, 'Suwmiarka', "
    "'S-2', "
    "'0,02', 'RS232 - COM2', '4800,e,7,2');";

void fillValidAnalysis(NowaA& e) {
    e.box("Text1")->setText(QStringLiteral("Tuleja"));
    e.box("Text2")->setText(QStringLiteral("T-100"));
    e.box("Text3")->setText(QStringLiteral("Średnica"));
    e.box("Text5")->setText(QStringLiteral("mm"));
    e.box("Text4")->setText(QStringLiteral("1,33"));
    e.box("Text6")->setText(QStringLiteral("10,5"));
    e.box("Text7")->setText(QStringLiteral("9,5"));
    e.box("Text8")->setText(QStringLiteral("Mikrometr"));
    e.box("Text9")->setText(QStringLiteral("M-7"));
    e.box("Text15")->setText(QStringLiteral("0,002 mm"));
}

void click(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

QAction* action(WindowFixture& f, const char* name) {
    return f.find<QAction>(name);
}

std::unique_ptr<RecordSet> analysisRow(WindowFixture& f, const QString& numer) {
    auto set = RecordSets::analyses(f.database.db());
    set->find(QStringLiteral("Numer"), Value(numer));
    return set;
}

// Enters one series through the NowaDana command.
void enterSeries(WindowFixture& f, const QString& appraiser, const QStringList& values) {
    f.onModal = [&](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        dane.appraiserBox()->setText(appraiser);
        for (int i = 0; i < values.size(); ++i) {
            dane.valueBoxes()[i]->setText(values[i]);
        }
        click(d, "Command1");
    };
    action(f, "NowaDana")->trigger();
    f.onModal = nullptr;
}

const QList<QStringList> workedSeries = {{"10,01", "10,05", "9,98", "10,10", "10,03"},
                                         {"10,03", "10,04", "9,99", "10,12", "10,02"},
                                         {"10,02", "10,07", "9,97", "10,11", "10,05"},
                                         {"10,00", "10,06", "9,99", "10,09", "10,04"}};

}  // namespace

class EditorsTest : public QObject {
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
    void hiddenBoxesAreStoredAnyway();
    void duplicateNumberComparesExactly();
    void cancelledEditorLeavesTheSelection();
    void editAnalysis();
    void editAnalysisWithUnknownProfile();
    void seriesEditorLayout_data();
    void seriesEditorLayout();
    void seriesValidation();
    void studyCompletes();
    void editSeriesShowsAndStoresFormattedValues();
    void deleteQuestions_data();
    void deleteQuestions();
    void deleteSeriesRenumbers();
    void deleteAllSeriesOffersNewSeriesAgain();
    void deleteTheOnlyAnalysis();
    void nothingSelectedIsToldNotIgnored();
    void apostrophesEverywhere();
    void storeFailureKeepsTheInput();
    void fullDiskKeepsTheInput();
    void programTextIsNeverCut();
    void referenceModeKeepsTheLayout();
    void seriesEditorShowsItsWholeCaption();
    void deleteFailureRemovesNothing();
};

void EditorsTest::numberProposal_data() {
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

void EditorsTest::numberProposal() {
    QFETCH(QString, last);
    QFETCH(QString, proposal);
    QCOMPARE(proposeAnalysisNumber(last, true, RegionalSettings::polish()), proposal);
    QCOMPARE(proposeAnalysisNumber(QString(), false, RegionalSettings::polish()),
             QStringLiteral("1"));
}

void EditorsTest::referenceModeVisibility_data() {
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

void EditorsTest::referenceModeVisibility() {
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

void EditorsTest::analysisValidation_data() {
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

void EditorsTest::analysisValidation() {
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

void EditorsTest::limitsReadWithTheDecimalReader() {
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

void EditorsTest::newAnalysisIsStoredAndSelected() {
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

void EditorsTest::hiddenBoxesAreStoredAnyway() {
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

void EditorsTest::duplicateNumberComparesExactly() {
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

void EditorsTest::cancelledEditorLeavesTheSelection() {
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

void EditorsTest::editAnalysis() {
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

void EditorsTest::editAnalysisWithUnknownProfile() {
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

void EditorsTest::seriesEditorLayout_data() {
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("lastTop");
    QTest::addColumn<int>("buttonTop");
    QTest::addColumn<int>("height");
    QTest::newRow("N = 5") << 5 << 1680 << 2070 << 3000;
    QTest::newRow("N = 10") << 10 << 3330 << 3720 << 4650;
}

void EditorsTest::seriesEditorLayout() {
    QFETCH(int, parts);
    QFETCH(int, lastTop);
    QFETCH(int, buttonTop);
    QFETCH(int, height);
    WindowFixture f;
    QVERIFY(f.load());
    Dane d(*f.window->session(), f.dialogs, Dane::Mode::New, parts);
    const double dpi = d.logicalDpiY();
    QCOMPARE(d.valueBoxes().size(), parts);
    QCOMPARE(d.valueBoxes().last()->y(), Twips::toPixels(lastTop, dpi));
    QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(parts - 1))->text(),
             QString::number(parts));
    QCOMPARE(d.buttonTopTwips(), buttonTop);
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command1"))->y(),
             Twips::toPixels(buttonTop, dpi));
    QCOMPARE(d.heightTwips(), height);
    QCOMPARE(d.height(),
             Twips::toPixels(height - 390, dpi));  // the client area, without the caption bar
    QCOMPARE(TypingLimit::of(d.appraiserBox()), 30);
    // focus order: appraiser, the values, then the buttons
    auto nextTabStop = [](QWidget* w) {
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    QCOMPARE(nextTabStop(d.appraiserBox()), d.valueBoxes().first());
    QCOMPARE(nextTabStop(d.valueBoxes().first()),
             d.valueBoxes().size() > 1 ? d.valueBoxes()[1] : nullptr);
    QCOMPARE(nextTabStop(d.valueBoxes().last())->objectName(), QStringLiteral("Command1"));
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.valueBoxes()[1]->setText(QStringLiteral("10,02"));
    d.valueBoxes()[1]->setFocus();
    QTest::qWait(1);
    QCOMPARE(d.valueBoxes()[1]->selectedText(), QStringLiteral("10,02"));
}

void EditorsTest::seriesValidation() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));  // 2/2026: N 5, K 2, R 3
    QVERIFY(f.load());
    const QStringList values = {"1", "2", "3", "4", "5"};
    enterSeries(f, QStringLiteral("Anna"), values);  // the first series: any name
    auto series = RecordSets::series(f.database.db(), QStringLiteral("2/2026"));
    QCOMPARE(series->recordCount(), 1);
    QCOMPARE(series->field(QStringLiteral("ObX")).number(), 3.0);
    QVERIFY(f.dialogs.calls.isEmpty());
    enterSeries(f, QStringLiteral("Anna"), values);
    enterSeries(f, QStringLiteral("Anna"), values);
    enterSeries(f, QStringLiteral("   "), values);  // blanks pass the required check
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("2/2026"))->recordCount(), 4);

    auto refusal = [&](const QString& appraiser, const QStringList& typed) {
        f.dialogs.calls.clear();
        enterSeries(f, appraiser, typed);
        return f.dialogs.calls.isEmpty() ? QString() : f.dialogs.calls.last().text;
    };
    QCOMPARE(refusal(QString(), values), QStringLiteral("Nie wprowadzono OPERATORA - Popraw"));
    QCOMPARE(refusal(QStringLiteral("Anna"), values),
             QStringLiteral(
                 "Dla podanego operatora wykonano 3 serie pomiarowe.\rWprowadz innego OPERATORA"));
    QCOMPARE(
        refusal(QStringLiteral("anna"), values),
        QString::fromUtf8(
            "W prowadzonym sprawdzeniu występuje już 2 operatorów.\rWprowadz innego OPERATORA"));
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "x", "4", "5"}),
             QString::fromUtf8("Dana nie jest liczbą - Popraw"));
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3", "4", ""}),
             QString::fromUtf8("Dana nie jest liczbą - Popraw"));
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3.5", "4", "5"}),
             QString::fromUtf8("Dana nie jest liczbą - Popraw"));
    QVERIFY(f.dialogs.calls.last().afterBeep);
    QCOMPARE(f.dialogs.calls.last().title, QStringLiteral("UWAGA !!!"));
    QCOMPARE(f.dialogs.calls.last().icon, Dialogs::Icon::Critical);
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3,5", "4", "5"}), QString());
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("2/2026"))->recordCount(), 5);
}

void EditorsTest::studyCompletes() {
    WindowFixture f(
        QStringLiteral("UPDATE Ustawienia SET FP = '0.00';"
                       "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) "
                       "VALUES ('1/2026', 5, 2, 2, 3);"));
    QVERIFY(f.load());
    const char* appraisers[] = {"A", "A", "B", "B"};
    for (int i = 0; i < 3; ++i) {
        enterSeries(f, QString::fromLatin1(appraisers[i]), workedSeries[i]);
        QVERIFY(action(f, "NowaDana")->isEnabled());
        QVERIFY(f.window->panel(17)->text().isEmpty());
    }
    enterSeries(f, QStringLiteral("B"), workedSeries[3]);
    QVERIFY(f.dialogs.calls.isEmpty());
    const StudyOutput study =
        studyInFile(f.database.path(), f.find<QComboBox>("Combo1")->currentText());
    QVERIFY(study.complete);
    QCOMPARE(f.window->panel(22)->text(), study.panels[22]);
    QVERIFY(!action(f, "NowaDana")->isEnabled());
    QVERIFY(action(f, "DrukujAnaliza")->isEnabled());
}

// A box the user did not change keeps the stored value, even one the pattern rounds.
void EditorsTest::editSeriesShowsAndStoresFormattedValues() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql") +  // FP 0.000
                    QStringLiteral("UPDATE DanePom SET P2 = 50.0214 WHERE ObX = 50.032;"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);  // 6/2026
    QTest::mouseClick(
        f.window->grid()->viewport(), Qt::LeftButton, {},
        f.window->grid()->visualRect(f.window->grid()->model()->index(2, 3)).center());
    QCOMPARE(f.window->session()->series()->position(), 1);
    QStringList shown;
    f.onModal = [&shown](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        QCOMPARE(dane.windowTitle(), QString::fromUtf8("Popraw serię danych"));
        QVERIFY(!dane.appraiserBox()->isEnabled());
        QCOMPARE(dane.appraiserBox()->text(), QString::fromUtf8("Łukasz"));
        for (QLineEdit* box : dane.valueBoxes()) {
            shown << box->text();
        }
        dane.valueBoxes()[0]->setText(QStringLiteral("50,0126"));
        dane.valueBoxes()[1]->setText(QStringLiteral("50,02"));   // typed back as shown...
        dane.valueBoxes()[1]->setText(QStringLiteral("50,021"));  // ...is left as stored
        click(d, "Command1");
    };
    action(f, "PoprawDana")->trigger();
    QCOMPARE(shown, (QStringList{"50,010", "50,021", "50,032", "50,043", "50,054"}));
    auto series = RecordSets::series(f.database.db(), QStringLiteral("6/2026"));
    series->move(1);
    QCOMPARE(series->field(QStringLiteral("Operator")).text(), QString::fromUtf8("Łukasz"));
    QCOMPARE(series->field(QStringLiteral("P1")).number(), 50.0126);
    QCOMPARE(series->field(QStringLiteral("P2")).number(), 50.0214);
    QVERIFY(std::fabs(series->field(QStringLiteral("ObX")).number() -
                      (50.0126 + 50.0214 + 50.032 + 50.043 + 50.054) / 5) < 1e-12);
    QCOMPARE(series->recordCount(), 3);
}

void EditorsTest::deleteQuestions_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("question");
    QTest::newRow("analysis") << "UsunAnaliza"
                              << QString::fromUtf8("Czy jesteś pewien, że usunąć sprawdzenie ?");
    QTest::newRow("series") << "UsunDana"
                            << QString::fromUtf8("Czy jesteś pewien, że usunąć serię danych ?");
    QTest::newRow("all series") << "UsunDanaW"
                                << QString::fromUtf8(
                                       "Czy jesteś pewien, że usunąć wszystkie serie danych ?");
}

void EditorsTest::deleteQuestions() {
    QFETCH(QString, command);
    QFETCH(QString, question);
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    auto counts = [&] {
        return qMakePair(
            RecordSets::analyses(f.database.db())->recordCount(),
            RecordSets::series(f.database.db(), QStringLiteral("7/2026"))->recordCount());
    };
    const auto before = counts();
    for (const QVector<bool>& answers : {QVector<bool>{false}, QVector<bool>{true, false}}) {
        f.dialogs.calls.clear();
        f.dialogs.answers = answers;
        f.find<QAction>(command.toLatin1().constData())->trigger();
        QCOMPARE(counts(), before);
        QCOMPARE(f.dialogs.calls.size(), answers.size());
    }
    QCOMPARE(f.dialogs.calls[0].text, question);
    QCOMPARE(f.dialogs.calls[0].title, QStringLiteral("Uwaga !"));
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Question);
    QVERIFY(f.dialogs.calls[0].afterBeep && f.dialogs.calls[0].question);
    QCOMPARE(f.dialogs.calls[1].text,
             QString::fromUtf8("Program gotowy do usunięcia danych - KONTYNUOWAĆ ?"));
    QCOMPARE(f.dialogs.calls[1].title, QStringLiteral("Uwaga !!!"));
    QCOMPARE(f.dialogs.calls[1].icon, Dialogs::Icon::Critical);
    QVERIFY(f.dialogs.calls[1].afterBeep);
    f.dialogs.answers = {true, true};
    f.find<QAction>(command.toLatin1().constData())->trigger();
    const auto after = counts();
    if (command == QLatin1String("UsunAnaliza")) {
        QCOMPARE(after, qMakePair(1, 0));
        QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("6/2026"));
    } else {
        QCOMPARE(after, qMakePair(2, command == QLatin1String("UsunDana") ? 8 : 0));
    }
}

void EditorsTest::deleteSeriesRenumbers() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    DataGrid* grid = f.window->grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 4)).center());
    const Value secondSeriesValue = f.window->session()->series()->field(QStringLiteral("P3"));
    f.dialogs.answers = {true, true};
    action(f, "UsunDana")->trigger();
    auto series = RecordSets::series(f.database.db(), QStringLiteral("7/2026"));
    QCOMPARE(series->recordCount(), 8);
    for (series->moveFirst(); !series->isEof(); series->moveNext()) {
        QVERIFY(series->field(QStringLiteral("P3")) != secondSeriesValue);
    }
    // the block of the first appraiser is short now: no summary, the rest moves up
    QCOMPARE(grid->cellText(1, 0), QStringLiteral("1"));
    QCOMPARE(grid->cellText(2, 0), QStringLiteral("2"));
    QCOMPARE(grid->cellText(3, 0), QStringLiteral("3"));
    QCOMPARE(grid->cellText(3, 1), QString::fromUtf8("Bogdan Ślęzak"));
    QVERIFY(f.window->panel(17)->text().isEmpty());
    QVERIFY(action(f, "NowaDana")->isEnabled());
}

void EditorsTest::deleteAllSeriesOffersNewSeriesAgain() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    QVERIFY(!action(f, "NowaDana")->isEnabled());
    f.dialogs.answers = {true, true};
    action(f, "UsunDanaW")->trigger();
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("7/2026"))->recordCount(), 0);
    QCOMPARE(RecordSets::analyses(f.database.db())->recordCount(), 2);
    QVERIFY(action(f, "NowaDana")->isEnabled());
    QVERIFY(f.window->grid()->isHidden());
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("7/2026"));
}

void EditorsTest::deleteTheOnlyAnalysis() {
    WindowFixture f(QStringLiteral(
        "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR) VALUES ('1', 5, 2, 2);"));
    QVERIFY(f.load());
    f.dialogs.answers = {true, true};
    action(f, "UsunAnaliza")->trigger();
    QCOMPARE(RecordSets::analyses(f.database.db())->recordCount(), 0);
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), 0);
    QVERIFY(f.window->panel(10)->text().isEmpty());
    f.dialogs.calls.clear();
    action(f, "UsunAnaliza")->trigger();  // nothing left to delete
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY(!f.dialogs.calls[0].question);
}

void EditorsTest::nothingSelectedIsToldNotIgnored() {
    WindowFixture f;
    QVERIFY(f.load());
    for (const char* command :
         {"NowaDana", "PoprawDana", "UsunDana", "UsunDanaW", "UsunAnaliza", "PoprawAnaliza"}) {
        f.dialogs.calls.clear();
        action(f, command)->trigger();
        QCOMPARE(f.dialogs.calls.size(), 1);
        QVERIFY(!f.dialogs.calls[0].question);
        QCOMPARE(f.dialogs.calls[0].title, QStringLiteral("UWAGA !!!"));
    }
    QVERIFY(f.modals.isEmpty());
}

void EditorsTest::apostrophesEverywhere() {
    WindowFixture f;
    QVERIFY(f.load());
    const QString numer = QStringLiteral("O'Neil/1");
    const QString appraiser = QStringLiteral("D'Artagnan -- ;");
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        fillValidAnalysis(e);
        e.box("Text11")->setText(numer);
        e.list("Combo1")->setCurrentText(QStringLiteral("5"));
        click(d, "Command1");
    };
    action(f, "NowaAnaliza")->trigger();
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), numer);
    enterSeries(f, appraiser, {"1", "2", "3", "4", "5"});
    enterSeries(f, appraiser, {"1", "2", "3", "4", "6"});
    f.dialogs.calls.clear();
    enterSeries(f, appraiser, {"1", "2", "3", "4", "7"});  // R = 2: the third is refused
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY(
        f.dialogs.calls[0].text.startsWith(QStringLiteral("Dla podanego operatora wykonano 2")));
    QCOMPARE(f.window->grid()->cellText(1, 1), appraiser);
    f.onModal = [](QDialog& d) {
        static_cast<Dane&>(d).valueBoxes()[4]->setText(QStringLiteral("9"));
        click(d, "Command1");
    };
    action(f, "PoprawDana")->trigger();
    auto series = RecordSets::series(f.database.db(), numer);
    QCOMPARE(series->recordCount(), 2);
    QCOMPARE(series->field(QStringLiteral("P5")).number(), 9.0);
    f.dialogs.answers = {true, true};
    action(f, "UsunAnaliza")->trigger();
    QCOMPARE(RecordSets::analyses(f.database.db())->recordCount(), 0);
    QCOMPARE(RecordSets::series(f.database.db(), numer)->recordCount(), 0);
}

void EditorsTest::storeFailureKeepsTheInput() {
    WindowFixture f(
        QString::fromUtf8(twoAnalyses) +
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DanePom WHEN NEW.Operator = 'Zenon' "
                       "BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END;"));
    QVERIFY(f.load());
    int shows = 0;
    f.onModal = [&shows](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        if (++shows == 1) {
            dane.appraiserBox()->setText(QStringLiteral("Zenon"));
            for (QLineEdit* box : dane.valueBoxes()) {
                box->setText(QStringLiteral("1"));
            }
            click(d, "Command1");
        } else {
            QCOMPARE(dane.appraiserBox()->text(), QStringLiteral("Zenon"));  // nothing lost
            QCOMPARE(dane.valueBoxes()[4]->text(), QStringLiteral("1"));
            click(d, "Command2");
        }
    };
    action(f, "NowaDana")->trigger();
    QCOMPARE(shows, 2);
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY(f.dialogs.calls[0].text.contains(QString::fromUtf8("dysk pełny")));
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("2/2026"))->recordCount(), 0);
}

// A real full disk (a small file system filled up): the store is refused with its
// cause, the editor comes back with the input, and the same input is stored once
// there is room again.
void EditorsTest::fullDiskKeepsTheInput() {
    SmallDisk small;
    if (!small.mounted()) {
        QSKIP("a small file system cannot be mounted here");
    }
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    const QString path = small.filePath(QStringLiteral("KALMET.MDB"));
    QVERIFY(QFile::copy(f.database.path(), path));
    {
        auto opened = Session::openFolder(small.path(), f.regional);
        QVERIFY2(opened.session, qPrintable(opened.error));
        f.session = std::move(opened.session);
        f.window->load(*f.session);
    }
    QVERIFY(small.fill());
    int shows = 0;
    f.onModal = [&](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        if (++shows == 1) {
            dane.appraiserBox()->setText(QStringLiteral("Zenon"));
            for (QLineEdit* box : dane.valueBoxes()) {
                box->setText(QStringLiteral("1,5"));
            }
        } else {
            QCOMPARE(dane.appraiserBox()->text(), QStringLiteral("Zenon"));
            QCOMPARE(dane.valueBoxes()[4]->text(), QStringLiteral("1,5"));
            QVERIFY(small.empty());  // room again
        }
        click(d, "Command1");
    };
    action(f, "NowaDana")->trigger();
    QCOMPARE(shows, 2);
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY2(f.dialogs.calls[0].text.contains(QString::fromUtf8("brak miejsca na dysku")),
             qPrintable(f.dialogs.calls[0].text));
    QCOMPARE(f.session->series()->recordCount(), 1);  // stored once, at the second try
    f.window.reset();
    f.session.reset();
}

void EditorsTest::deleteFailureRemovesNothing() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql") +
                    QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON Analiza "
                                   "BEGIN SELECT RAISE(ABORT, 'analiza zablokowana'); END;"));
    QVERIFY(f.load());
    f.dialogs.answers = {true, true};
    action(f, "UsunAnaliza")->trigger();
    QCOMPARE(RecordSets::analyses(f.database.db())->recordCount(), 2);
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("7/2026"))->recordCount(), 9);
    QVERIFY(f.dialogs.calls.last().text.contains(QStringLiteral("analiza zablokowana")));
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), 2);
    QCOMPARE(f.window->panel(17)->text(), QStringLiteral("0,019 "));
    // the record sets still know both analyses
    QCOMPARE(f.window->session()->analyses().recordCount(), 2);
    f.window->selectAnalysisAt(0);
    QCOMPARE(f.window->panel(0)->text(), QString::fromUtf8(" Wałek"));
}

void EditorsTest::programTextIsNeverCut() {
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

void EditorsTest::referenceModeKeepsTheLayout() {
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

void EditorsTest::seriesEditorShowsItsWholeCaption() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    for (const Dane::Mode mode : {Dane::Mode::New, Dane::Mode::Edit}) {
        Dane d(*f.window->session(), f.dialogs, mode, 5);
        const QString caption = d.windowTitle();
        QFont title = QApplication::font();
        title.setBold(true);
        QVERIFY(d.width() > QFontMetrics(title).horizontalAdvance(caption) + 90);
    }
}

QTEST_MAIN(EditorsTest)
#include "tst_editors.moc"
