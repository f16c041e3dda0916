#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QRandomGenerator>
#include <QtTest>

#include "analysis_screen.h"
#include "database.h"
#include "history.h"
#include "schema_additions.h"
#include "session.h"
#include "test_database.h"
#include "window_fixture.h"

namespace {

// The schema of the file as one text, table by table.
QString schemaOf(const QString& path) {
    return TestDatabase::column(path, "SELECT name || ':' || sql FROM sqlite_master ORDER BY name")
               .join(QLatin1Char('\n')) +
           QLatin1Char('\n');
}

bool hasHistory(const QString& path) {
    return schemaOf(path).contains(QStringLiteral("Historia:"));
}

History::Entry entry(int part, const Value& before, const Value& after) {
    return {QDateTime(QDate(2026, 12, 9), QTime(12, 0)),
            QStringLiteral("7/2026"),
            QStringLiteral("Anna Żak"),
            part,
            2,
            before,
            after,
            QString::fromUtf8("Powtórzony")};
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void migrationAddsOnlyItsTable();
    void entriesSurviveTheNextStart();
    void readersNeverMigrate();
    void killedMigrationLeavesOneSchema();
};

// The program's start adds the history, the kind column and the readings table once, in
// one transaction; the studies stay as they were and show the same results; the next
// start changes nothing.
void HistoryTest::migrationAddsOnlyItsTable() {
    TestDatabase t(TestDatabase::fixture("aiag_10x3x3.sql"));
    const AnalysisScreen before = studyInFile(t.path(), QStringLiteral("AIAG"));
    const QStringList rows = TestDatabase::column(
        t.path(), "SELECT group_concat(quote(P1) || quote(P10), ',') FROM DanePom");
    QVERIFY(!hasHistory(t.path()));
    for (int start = 0; start < 2; ++start) {
        auto opened = Session::openFile(t.path(), RegionalSettings::polish());
        QVERIFY2(opened.session, qPrintable(opened.error));
    }
    const QString after = schemaOf(t.path());
    QVERIFY(hasHistory(t.path()) && after.contains(QStringLiteral("Odczyty:")) &&
            after.contains(QStringLiteral("Rodzaj TEXT")));
    QCOMPARE(TestDatabase::column(t.path(),
                                  "SELECT group_concat(quote(P1) || quote(P10), ',') FROM DanePom"),
             rows);
    QCOMPARE(studyInFile(t.path(), QStringLiteral("AIAG")).results, before.results);
    auto again = Session::openFile(t.path(), RegionalSettings::polish());
    QCOMPARE(schemaOf(t.path()), after);
    // a table of that name in other letters is the same table to SQLite: kept as it is if
    // it has the fields, the start refused and the file unchanged if it has not
    for (const auto& [columns, opens] :
         {std::pair{"Kiedy, Numer, Operator, Czesc, Powtorzenie, Bylo, Jest, Dlaczego", true},
          std::pair{"x", false}}) {
        const QString table =
            QStringLiteral("CREATE TABLE historia (%1)").arg(QLatin1String(columns));
        TestDatabase other(table + QLatin1Char(';'));
        const QString schema = schemaOf(other.path());
        auto session = Session::openFile(other.path(), RegionalSettings::polish());
        QCOMPARE(bool(session.session), opens);
        QVERIFY2(opens || session.error.contains(QString::fromUtf8("brak pola „Kiedy”")),
                 qPrintable(session.error));
        QVERIFY(schemaOf(other.path()).contains(table));
        QVERIFY(opens || schemaOf(other.path()) == schema);
    }
}

void HistoryTest::entriesSurviveTheNextStart() {
    TestDatabase t;
    {
        auto opened = Session::openFile(t.path(), RegionalSettings::polish());
        Database& db = opened.session->database();
        QCOMPARE(History::record(db, entry(4, Value(1.03), Value(QStringLiteral("0,30")))),
                 QString());
        QCOMPARE(History::record(db, entry(7, Value(), Value(0.5))), QString());
    }
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());  // migrates again
    QVERIFY(opened.session);
    QString error;
    const auto read = History::read(opened.session->database(), QStringLiteral("7/2026"), &error);
    QVERIFY(read && read->size() == 2);
    const History::Entry& first = read->front();
    QCOMPARE(first.part, 4);
    QCOMPARE(first.trial, 2);
    QCOMPARE(first.oldValue, Value(1.03));
    QCOMPARE(first.newValue, Value(QStringLiteral("0,30")));
    QCOMPARE(first.appraiser, QString::fromUtf8("Anna Żak"));
    QCOMPARE(first.when, QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    QVERIFY(read->back().oldValue.isEmpty());
    QVERIFY(History::read(opened.session->database(), QStringLiteral("8/2026"), &error)->empty());
}

// kalmet-cli reads a file from before the migration, also a read-only one, as it is.
void HistoryTest::readersNeverMigrate() {
    TestDatabase t;
    QVERIFY(QFile::setPermissions(t.path(), QFileDevice::ReadOwner | QFileDevice::ReadUser));
    auto opened =
        Session::openFile(t.path(), RegionalSettings::polish(), Database::Access::ReadOnly);
    QVERIFY2(opened.session, qPrintable(opened.error));
    QString error;
    const auto read = History::read(opened.session->database(), QStringLiteral("7/2026"), &error);
    QVERIFY(read && read->empty());
    QVERIFY(!hasHistory(t.path()));
}

// Killed at a random moment of the migration, the file has the old schema or the whole
// new one, and opens.
void HistoryTest::killedMigrationLeavesOneSchema() {
    int migrated = 0;
    for (int round = 0; round < 20; ++round) {
        TestDatabase t;
        const pid_t child = fork();
        if (child == 0) {
            auto opened = Database::open(t.path(), RegionalSettings::polish());
            _exit(opened.database && SchemaAdditions::add(*opened.database).isEmpty() ? 0 : 1);
        }
        usleep(QRandomGenerator::global()->bounded(4000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QString schema = schemaOf(t.path());
        const bool table = schema.contains(QStringLiteral("Historia:"));
        // all of the additions or none
        for (const char* part : {"HistoriaNumer:", "Odczyty:", "OdczytyNumer:", "Rodzaj TEXT",
                                 "Wzorzec REAL", "ZmProc REAL", "Akceptacja TEXT",
                                 "Rozdzielczosc REAL", "Typ1K REAL", "Typ1L INTEGER"}) {
            QCOMPARE(schema.contains(QString::fromLatin1(part)), table);
        }
        migrated += table ? 1 : 0;
        auto opened = Session::openFile(t.path(), RegionalSettings::polish());
        QVERIFY2(opened.session, qPrintable(opened.error));
    }
    qInfo("%d of 20 killed migrations had committed", migrated);
}

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
