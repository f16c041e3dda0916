#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QRandomGenerator>
#include <QtTest>

#include "database.h"
#include "history.h"
#include "session.h"
#include "test_database.h"

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

void HistoryTest::migrationAddsOnlyItsTable() {
    TestDatabase t;
    const QString before = schemaOf(t.path());
    QVERIFY(!hasHistory(t.path()));
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY2(opened.session, qPrintable(opened.error));
    const QString after = schemaOf(t.path());
    QVERIFY(hasHistory(t.path()));
    for (const QString& line : before.split(QLatin1Char('\n'))) {
        QVERIFY2(after.contains(line), qPrintable(line));  // the four tables as they were
    }
    // a table of that name in other letters is the same table to SQLite: used if it has
    // the fields, the start refused if it has not, the file unchanged either way
    for (const auto& [columns, opens] :
         {std::pair{"Kiedy, Numer, Operator, Czesc, Powtorzenie, Bylo, Jest, Dlaczego", true},
          std::pair{"x", false}}) {
        TestDatabase other(
            QStringLiteral("CREATE TABLE historia (%1);").arg(QLatin1String(columns)));
        const QString schema = schemaOf(other.path());
        auto session = Session::openFile(other.path(), RegionalSettings::polish());
        QCOMPARE(bool(session.session), opens);
        QVERIFY2(opens || session.error.contains(QString::fromUtf8("brak pola „Kiedy”")),
                 qPrintable(session.error));
        QCOMPARE(schemaOf(other.path()), schema);
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
            _exit(opened.database && History::migrate(*opened.database).isEmpty() ? 0 : 1);
        }
        usleep(QRandomGenerator::global()->bounded(4000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QString schema = schemaOf(t.path());
        const bool table = schema.contains(QStringLiteral("Historia:"));
        QCOMPARE(schema.contains(QStringLiteral("HistoriaNumer:")), table);
        migrated += table ? 1 : 0;
        auto opened = Session::openFile(t.path(), RegionalSettings::polish());
        QVERIFY2(opened.session, qPrintable(opened.error));
    }
    qInfo("%d of 20 killed migrations had committed", migrated);
}

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
