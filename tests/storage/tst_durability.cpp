// A program killed at any moment loses nothing it has told the user was stored: a
// child opens the file as the program does, stores series through the record set and
// reports each stored row on a pipe (a second start meanwhile is refused);
// the parent kills it with SIGKILL at a random moment, then checks the file. The
// number of kills is KALMET_DURABILITY_KILLS (100 for the full run), 20 by default.

#include <fcntl.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>
#include <csignal>

#include "record_sets.h"
#include "session.h"
#include "small_disk.h"
#include "test_database.h"

namespace {

const char* const kAnalysis = "D";

// Stores series one after another, for ever, writing each stored number to `out`.
// Opened as the program opens its file, holding the program's lock.
[[noreturn]] void storeUntilKilled(const QString& path, int firstNumber, int out) {
    auto opened = Session::openFile(path, RegionalSettings::polish());
    if (!opened.session) {
        _exit(2);
    }
    if (!opened.session->openSeries(QString::fromLatin1(kAnalysis)).isEmpty()) {
        _exit(3);
    }
    RecordSet* series = opened.session->series();
    for (int number = firstNumber;; ++number) {
        series->addNew();
        const bool set =
            series->setField(QStringLiteral("ID"), Value(QString::fromLatin1(kAnalysis))) &&
            series->setField(QStringLiteral("Operator"), Value(QStringLiteral("A"))) &&
            series->setField(QStringLiteral("P1"), Value(number));
        if (!set || !series->update()) {
            _exit(4);
        }
        const QByteArray line = QByteArray::number(number) + '\n';
        if (write(out, line.constData(), static_cast<size_t>(line.size())) != line.size()) {
            _exit(5);
        }
    }
}

// Reads what arrives on the pipe for a while, appending complete lines to `acknowledged`.
void readFor(int in, int milliseconds, QByteArray* pending, QVector<int>* acknowledged) {
    QElapsedTimer timer;
    timer.start();
    pollfd p{in, POLLIN, 0};
    while (timer.elapsed() < milliseconds) {
        if (poll(&p, 1, 1) > 0 && (p.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = read(in, buffer, sizeof buffer);
            if (n <= 0) {
                return;
            }
            pending->append(buffer, static_cast<int>(n));
        }
    }
    while (pending->contains('\n')) {
        const int end = static_cast<int>(pending->indexOf('\n'));
        *acknowledged << pending->left(end).toInt();
        pending->remove(0, end + 1);
    }
}

QString integrity(sqlite3* db) {
    QString verdict;
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            *static_cast<QString*>(out) += QString::fromUtf8(values[0]);
            return 0;
        },
        &verdict, nullptr);
    return verdict;
}

QSet<int> storedNumbers(sqlite3* db) {
    QSet<int> numbers;
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT P1 FROM DanePom WHERE ID = 'D'", -1, &query, nullptr);
    while (sqlite3_step(query) == SQLITE_ROW) {
        numbers.insert(sqlite3_column_int(query, 0));
    }
    sqlite3_finalize(query);
    return numbers;
}

}  // namespace

class DurabilityTest : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLosesNothingAcknowledged();
    void refusedStoreIsToldAndLosesNothing_data();
    void refusedStoreIsToldAndLosesNothing();
};

void DurabilityTest::killedWriterLosesNothingAcknowledged() {
    const int kills = qEnvironmentVariableIntValue("KALMET_DURABILITY_KILLS") > 0
                          ? qEnvironmentVariableIntValue("KALMET_DURABILITY_KILLS")
                          : 20;
    TestDatabase t(
        QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR) "
                       "VALUES ('D', 5, 2, 2);"));
    QRandomGenerator random(20261209);
    QVector<int> acknowledged;
    int next = 1;
    for (int round = 0; round < kills; ++round) {
        int channel[2];
        QCOMPARE(pipe(channel), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            storeUntilKilled(t.path(), next, channel[1]);
        }
        close(channel[1]);
        QByteArray pending;
        const int before = static_cast<int>(acknowledged.size());
        // Most kills come while rows are being stored, however slowly a loaded or
        // instrumented machine starts the writer; every fourth may hit its start-up.
        QElapsedTimer starting;
        starting.start();
        while (round % 4 != 3 && acknowledged.size() == before && starting.elapsed() < 5000) {
            readFor(channel[0], 10, &pending, &acknowledged);
        }
        readFor(channel[0], 5 + static_cast<int>(random.bounded(60)), &pending, &acknowledged);
        if (round % 5 == 0 && acknowledged.size() > before) {
            // A second start while the first program is storing is refused.
            const auto second = Session::openFile(t.path(), RegionalSettings::polish());
            QVERIFY(!second.session);
            QVERIFY2(second.error.contains(QString::fromUtf8("innym uruchomionym programie")),
                     qPrintable(second.error));
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        readFor(channel[0], 0, &pending, &acknowledged);  // lines already on the pipe
        close(channel[0]);
        QVERIFY2(WIFSIGNALED(status),
                 qPrintable(QStringLiteral("the writer ended with %1 in round %2")
                                .arg(WEXITSTATUS(status))
                                .arg(round)));
        // A line cut in half by the kill is a row the writer may or may not have
        // committed; the next writer starts past it either way.
        next = (acknowledged.isEmpty() ? next : acknowledged.last()) + 2;

        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(t.path().toUtf8().constData(), &db), SQLITE_OK);
        const QString verdict = integrity(db);
        const QSet<int> stored = storedNumbers(db);
        sqlite3_close(db);
        QCOMPARE(verdict, QStringLiteral("ok"));
        for (const int number : acknowledged) {
            QVERIFY2(stored.contains(number),
                     qPrintable(QStringLiteral("row %1 lost in round %2").arg(number).arg(round)));
        }
    }
    qInfo("%d rows acknowledged over %d kills", int(acknowledged.size()), kills);
    QVERIFY2(acknowledged.size() > kills, "the writer stored too little to prove anything");
}

void DurabilityTest::refusedStoreIsToldAndLosesNothing_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("cause");
    QTest::newRow("write lock of another program") << "lock"
                                                   << "zablokowany przez inny program";
    QTest::newRow("full disk") << "full"
                               << "brak miejsca na dysku";
}

// A store that cannot be made is refused with its cause, the file stays whole with
// every row stored before, and the same store succeeds once the obstacle has gone.
void DurabilityTest::refusedStoreIsToldAndLosesNothing() {
    QFETCH(QString, obstacle);
    QFETCH(QString, cause);
    const bool full = obstacle == QLatin1String("full");
    QTemporaryDir plain;
    std::unique_ptr<SmallDisk> small;
    if (full) {
        small = std::make_unique<SmallDisk>();
        if (!small->mounted()) {
            QSKIP("a small file system cannot be mounted here");
        }
    }
    const QString folder = full ? small->path() : plain.path();
    const QString path = folder + QStringLiteral("/KALMET.MDB");
    QVERIFY(TestDatabase::runSql(
        path, TestDatabase::schema() + QStringLiteral("INSERT INTO Analiza (Numer) VALUES ('D');"
                                                      "INSERT INTO DanePom (ID, P1) VALUES "
                                                      "('D', 1);")));
    auto opened = Database::open(path, RegionalSettings::polish());
    QVERIFY2(opened.database, qPrintable(opened.error));
    auto series = RecordSets::series(*opened.database, QString::fromLatin1(kAnalysis));
    QVERIFY(series);

    sqlite3* other = nullptr;
    if (full) {
        QVERIFY(small->fill());
    } else {
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    auto store = [&] {
        series->addNew();
        const bool set = series->setField(QStringLiteral("ID"), Value(QStringLiteral("D"))) &&
                         series->setField(QStringLiteral("P1"), Value(2));
        if (set && series->update()) {
            return QString();
        }
        const QString error = series->lastError();
        series->cancelUpdate();
        return error.isEmpty() ? QStringLiteral("?") : error;
    };
    const QString refused = store();
    QVERIFY2(refused.contains(cause), qPrintable(refused));

    if (full) {
        QVERIFY(small->empty());
    } else {
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    QCOMPARE(store(), QString());
    series.reset();
    opened.database.reset();
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const QString verdict = integrity(db);
    const QSet<int> stored = storedNumbers(db);
    sqlite3_close(db);
    QCOMPARE(verdict, QStringLiteral("ok"));
    QCOMPARE(stored, (QSet<int>{1, 2}));
}

QTEST_GUILESS_MAIN(DurabilityTest)
#include "tst_durability.moc"
