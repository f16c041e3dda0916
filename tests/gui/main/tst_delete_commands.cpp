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
#include "history.h"
#include "number_proposal.h"
#include "record_sets.h"
#include "series_editor.h"
#include "session.h"
#include "small_disk.h"
#include "twips.h"
#include "typing_limit.h"
#include "window_fixture.h"

class DeleteCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void deleteQuestions_data();
    void deleteQuestions();
    void deleteSeriesRenumbers();
    void deleteAllSeriesOffersNewSeriesAgain();
    void deleteTheOnlyAnalysis();
    void nothingSelectedIsToldNotIgnored();
    void deleteFailureRemovesNothing();
};

void DeleteCommandsTest::deleteQuestions_data() {
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

void DeleteCommandsTest::deleteQuestions() {
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
    // corrections of the first appraiser's three series, and one of another analysis
    for (const auto& [numer, trial] :
         {std::pair{"7/2026", 1}, {"7/2026", 2}, {"7/2026", 3}, {"6/2026", 1}}) {
        QVERIFY(History::record(f.window->session()->database(), {QDateTime::currentDateTime(),
                                                                  QString::fromLatin1(numer),
                                                                  QString::fromUtf8("Anna Żak"),
                                                                  1,
                                                                  trial,
                                                                  1.0,
                                                                  2.0,
                                                                  {}})
                    .isEmpty());
    }
    f.dialogs.answers = {true, true};
    f.find<QAction>(command.toLatin1().constData())->trigger();
    const auto trials = [&](const char* numer) {
        QString error;
        QList<int> out;
        const auto entries =
            History::read(f.window->session()->database(), QString::fromLatin1(numer), &error);
        for (const History::Entry& e : entries.value_or(std::vector<History::Entry>())) {
            out << e.trial;
        }
        return out;
    };
    // the history goes with what it describes; a deleted first series' later trials move up
    const QList<int> kept = command == QLatin1String("UsunDana") ? QList<int>{1, 2} : QList<int>();
    QCOMPARE(trials("7/2026"), kept);
    QCOMPARE(trials("6/2026"), QList<int>{1});
    const auto after = counts();
    if (command == QLatin1String("UsunAnaliza")) {
        QCOMPARE(after, qMakePair(1, 0));
        QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("6/2026"));
    } else {
        QCOMPARE(after, qMakePair(2, command == QLatin1String("UsunDana") ? 8 : 0));
    }
}

void DeleteCommandsTest::deleteSeriesRenumbers() {
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

void DeleteCommandsTest::deleteAllSeriesOffersNewSeriesAgain() {
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

void DeleteCommandsTest::deleteTheOnlyAnalysis() {
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

void DeleteCommandsTest::nothingSelectedIsToldNotIgnored() {
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

void DeleteCommandsTest::deleteFailureRemovesNothing() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    // a failing delete, made after the start (which refuses a file holding a trigger)
    QVERIFY(TestDatabase::runSql(f.database.path(),
                                 QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON Analiza "
                                                "BEGIN SELECT RAISE(ABORT, 'analiza zablokowana'); "
                                                "END;")));
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

QTEST_MAIN(DeleteCommandsTest)
#include "tst_delete_commands.moc"
