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

class SeriesEditorTest : public QObject {
    Q_OBJECT

private slots:
    void seriesEditorLayout_data();
    void seriesEditorLayout();
    void seriesValidation();
    void wedgeDecimalsOnAnEnglishDesktop_data();
    void wedgeDecimalsOnAnEnglishDesktop();
    void studyCompletes();
    void editSeriesShowsAndStoresFormattedValues();
    void storeFailureKeepsTheInput();
    void fullDiskKeepsTheInput();
    void seriesEditorShowsItsWholeCaption();
    void apostrophesEverywhere();
};

void SeriesEditorTest::seriesEditorLayout_data() {
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("lastTop");
    QTest::addColumn<int>("buttonTop");
    QTest::addColumn<int>("height");
    QTest::newRow("N = 5") << 5 << 1680 << 2070 << 3000;
    QTest::newRow("N = 10") << 10 << 3330 << 3720 << 4650;
}

void SeriesEditorTest::seriesEditorLayout() {
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

void SeriesEditorTest::seriesValidation() {
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
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3.5.1", "4", "5"}),
             QString::fromUtf8("Dana nie jest liczbą - Popraw"));
    QVERIFY(f.dialogs.calls.last().afterBeep);
    QCOMPARE(f.dialogs.calls.last().title, QStringLiteral("UWAGA !!!"));
    QCOMPARE(f.dialogs.calls.last().icon, Dialogs::Icon::Critical);
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3,5", "4", "5"}), QString());
    QCOMPARE(RecordSets::series(f.database.db(), QStringLiteral("2/2026"))->recordCount(), 5);
    // a wedge gauge's "3.5" is the regional "3,5"
    QCOMPARE(refusal(QStringLiteral("   "), {"1", "2", "3.5", "4", "5"}), QString());
    auto stored = RecordSets::series(f.database.db(), QStringLiteral("2/2026"));
    int typedWithComma = 0;
    for (stored->moveFirst(); !stored->isEof(); stored->moveNext()) {
        typedWithComma += stored->field(QStringLiteral("P3")) == Value(3.5);
    }
    QCOMPARE(typedWithComma, 2);
}

// A wedge gauge types the decimal of its own desktop: on a desktop whose decimal is "."
// a "," is the decimal unless it may be grouping, which is refused, never guessed.
void SeriesEditorTest::wedgeDecimalsOnAnEnglishDesktop_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");  // NaN: refused
    QTest::newRow("2,5") << "2,5" << 2.5;
    QTest::newRow("12,34") << "12,34" << 12.34;
    QTest::newRow("3.5") << "3.5" << 3.5;
    QTest::newRow("0,125: grouping or decimal") << "0,125" << qQNaN();
    QTest::newRow("1,250.5: grouping and decimal") << "1,250.5" << 1250.5;
}

void SeriesEditorTest::wedgeDecimalsOnAnEnglishDesktop() {
    QFETCH(QString, typed);
    QFETCH(double, stored);
    WindowFixture f(QString::fromUtf8(twoAnalyses), RegionalSettings::english());
    QVERIFY(f.load());
    enterSeries(f, QStringLiteral("Anna"),
                {QStringLiteral("1"), typed, QStringLiteral("3"), QStringLiteral("4"),
                 QStringLiteral("5")});
    auto series = RecordSets::series(f.database.db(), QStringLiteral("2/2026"));
    if (qIsNaN(stored)) {
        QCOMPARE(series->recordCount(), 0);
        QVERIFY(f.dialogs.texts().last().contains(QString::fromUtf8("niejednoznaczna")));
        return;
    }
    QCOMPARE(series->recordCount(), 1);
    QCOMPARE(series->field(QStringLiteral("P2")).number(), stored);
}

void SeriesEditorTest::studyCompletes() {
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
    const AnalysisScreen study =
        studyInFile(f.database.path(), f.find<QComboBox>("Combo1")->currentText());
    QVERIFY(study.hasCompleteStudy());
    QCOMPARE(f.window->panel(22)->text(), study.results[22]);
    QVERIFY(!action(f, "NowaDana")->isEnabled());
    QVERIFY(action(f, "DrukujAnaliza")->isEnabled());
}

// A box the user did not change keeps the stored value, even one the pattern rounds.
void SeriesEditorTest::editSeriesShowsAndStoresFormattedValues() {
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

void SeriesEditorTest::storeFailureKeepsTheInput() {
    WindowFixture f(QString::fromUtf8(twoAnalyses));
    QVERIFY(f.load());
    // a failing store, made after the start (which refuses a file holding a trigger)
    QVERIFY(TestDatabase::runSql(
        f.database.path(),
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DanePom WHEN NEW.Operator = 'Zenon' "
                       "BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END;")));
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
void SeriesEditorTest::fullDiskKeepsTheInput() {
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

void SeriesEditorTest::seriesEditorShowsItsWholeCaption() {
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

void SeriesEditorTest::apostrophesEverywhere() {
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

QTEST_MAIN(SeriesEditorTest)
#include "tst_series_editor.moc"
