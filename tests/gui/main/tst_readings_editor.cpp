#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QtTest>

#include "analysis_editor.h"
#include "editor_steps.h"
#include "linearity_texts.h"
#include "readings_editor.h"
#include "scripted_gauge.h"
#include "window_fixture.h"

namespace {

QStringList storedReadings(WindowFixture& f, const char* numer) {
    return TestDatabase::column(
        f.database.path(),
        QStringLiteral("SELECT coalesce(Wartosc, '-') FROM Odczyty WHERE Numer = '%1' ORDER BY "
                       "Powtorzenie")
            .arg(QLatin1String(numer))
            .toUtf8()
            .constData());
}

// A reading as the gauge sends it.
void gauge(Odczyty& editor, double value) {
    editor.takeReading(value);
}

}  // namespace

class ReadingsEditorTest : public QObject {
    Q_OBJECT

private slots:
    void readingsTypedPastedAndMeasured();
    void linearityStudyFromItsEditorToItsPage();
};

// The readings of a type-1 study: a pasted column in either decimal is stored at once, a
// paste with a text is refused naming the cell, a typed cell and Ctrl+Z, the gauge fills
// the next empty row; the window shows the study anew when the editor closes; the
// commands of the crossed study are off for it.
void ReadingsEditorTest::readingsTypedPastedAndMeasured() {
    WindowFixture f(TestDatabase::WithKinds{}, TestDatabase::fixture("type1_studies.sql") +
                                                   QStringLiteral("UPDATE Analiza SET NazwaT = "
                                                                  "'Suwmiarka', Setings = "
                                                                  "'9600,n,8,1,/dev/ttyUSB0' "
                                                                  "WHERE Numer = 'T1/UP';"));
    QPointer<ScriptedGauge> gauge;
    f.openGauge = [&gauge](const TransmissionSettings&, QString*) {
        auto made = std::make_unique<ScriptedGauge>();
        gauge = made.get();
        return std::unique_ptr<GaugeSource>(std::move(made));
    };
    QVERIFY(f.load());
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("T1/UP"));
    QVERIFY(!action(f, "Anova")->isEnabled() && !action(f, "UsunDana")->isEnabled());
    QVERIFY(action(f, "DrukujAnaliza")->isEnabled());
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<Odczyty&>(d);
        QCOMPARE(e.readings().size(), 12);
        e.table()->setCurrentIndex(e.table()->model()->index(12, 0));
        QVERIFY(e.paste(QStringLiteral("0,414\r\n0.416\n\n")));
        QCOMPARE(e.readings().size(), 14);
        QVERIFY(!e.paste(QStringLiteral("0,5\tabc\n")));
        QCOMPARE(f.dialogs.texts().last(),
                 QString::fromUtf8("Nie wklejono: w schowku są komórki, które nie są liczbami "
                                   "(wiersz 1, kolumna 2: „abc”)."));
        QVERIFY(e.table()->model()->setData(e.table()->model()->index(0, 0), QStringLiteral("0,42"),
                                            Qt::EditRole));
        QVERIFY(e.undo());
        QCOMPARE(*e.readings().first().value, 0.412);
        gauge->send(0.419);
        QCOMPARE(e.readings().size(), 15);
        QVERIFY(e.gaugeStatus()->text().contains(QString::fromUtf8("odczyt 15: 0,419")));
        d.accept();
    };
    QVERIFY(action(f, "NowaDana")->isEnabled());
    action(f, "NowaDana")->trigger();
    QCOMPARE(storedReadings(f, "T1/UP").size(), 15);
    QCOMPARE(
        storedReadings(f, "T1/UP").mid(12),
        (QStringList{QStringLiteral("0.414"), QStringLiteral("0.416"), QStringLiteral("0.419")}));
    QCOMPARE(f.window->screen().readings.size(), 15);
    QVERIFY(f.window->screen().hasKindResults());
}

// A bias and linearity study: the editor of its kind stores the process variation, its
// readings editor takes part, reference and reading (a pasted block across the columns,
// the gauge's reading for the part above), and its page shows the verdict.
void ReadingsEditorTest::linearityStudyFromItsEditorToItsPage() {
    WindowFixture f(TestDatabase::WithKinds{}, TestDatabase::fixture("linearity_studies.sql"));
    QVERIFY(f.load());
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("L/OK"));
    QCOMPARE(f.find<QLabel>("OcenaLiniowosci")->text(),
             LinearityTexts::verdict(*f.window->screen().linearity->results));
    QVERIFY(f.window->screen().linearity->results->acceptable);
    QVERIFY(!action(f, "KartyKontrolne")->isEnabled());

    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<Odczyty&>(d);
        QCOMPARE(e.table()->model()->columnCount(), 3);
        e.table()->setCurrentIndex(e.table()->model()->index(50, 0));
        QVERIFY(e.paste(QStringLiteral("6;30;30,001\n6\t30\t29.999\n")));
        QCOMPARE(e.readings().size(), 52);
        gauge(e, 30.002);
        QCOMPARE(e.readings().last().part, std::optional<double>(6));
        QCOMPARE(e.readings().last().reference, std::optional<double>(30));
        d.accept();
    };
    action(f, "NowaDana")->trigger();
    QCOMPARE(f.window->screen().linearity->results->g, 6);
    QCOMPARE(f.window->screen().linearity->results->m, 3);  // the new part's readings

    f.newKind = StudyKind::Linearity;
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.windowTitle(), QString::fromUtf8("Nowa analiza — obciążenie i liniowość"));
        QVERIFY(!e.box("Text18")->isHidden() && e.box("Text16")->isHidden());
        fillValidAnalysis(e);
        e.box("Text18")->setText(QStringLiteral("0,6"));
        click(d, "Command1");
    };
    action(f, "NowaAnaliza")->trigger();
    QCOMPARE(f.window->screen().kind, StudyKind::Linearity);
    QVERIFY(f.find<QLabel>("PowodLiniowosci")->isVisibleTo(f.window.get()));
    QCOMPARE(TestDatabase::column(f.database.path(),
                                  "SELECT ZmProc FROM Analiza WHERE Rodzaj = 'linearity' "
                                  "ORDER BY rowid DESC LIMIT 1"),
             QStringList{QStringLiteral("0.6")});
}

QTEST_MAIN(ReadingsEditorTest)
#include "tst_readings_editor.moc"
