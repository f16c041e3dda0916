#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "program_lock.h"
#include "record_sets.h"
#include "session.h"
#include "shared_values.h"
#include "sqlite_failure.h"
#include "statement.h"
#include "test_database.h"

namespace {

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString makeDatabaseTool() {
    return QStringLiteral(KALMET_BUILD_DIR "/tools/make_database");
}

}  // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void deliveredDatabaseOpens();
    void oneProgramPerFile();
    void everyPathToTheFileMeetsTheLock();
    void failureTextsNameEveryCause_data();
    void failureTextsNameEveryCause();
    void deliveredSettings();
    void missingFileIsNotCreated();
    void foreignFileIsRefusedAndUntouched_data();
    void foreignFileIsRefusedAndUntouched();
    void permissionsAreRefusedWithTheirCause_data();
    void permissionsAreRefusedWithTheirCause();
    void lockedFileIsRefused_data();
    void lockedFileIsRefused();
    void writeWaitsForAReaderAndSaysSo();
    void deliveredFileIsNeverOverwritten();
    void buildPutsTheDatabaseBesideTheProgram();
};

void DatabaseTest::deliveredDatabaseOpens() {
    TestDatabase t;
    // A statement that did not compile fails every run, however often it is reset.
    Statement wrong(t.db(), QStringLiteral("INSERT INTO DanePom (P11) VALUES (?)"));
    for (int round = 0; round < 2; ++round) {
        wrong.reset();
        QVERIFY(!wrong.run() && wrong.failed() && !wrong.error().isEmpty());
    }
    QVERIFY2(t.openError().isEmpty(), qPrintable(t.openError()));
    auto analyses = RecordSets::analyses(t.db());
    QVERIFY(analyses);
    QCOMPARE(analyses->recordCount(), 0);
    QVERIFY(analyses->isEof());
    auto profiles = RecordSets::profiles(t.db());
    QCOMPARE(profiles->recordCount(), 2);
    QCOMPARE(profiles->field(QStringLiteral("Nazwa")).text(), QStringLiteral("RS232 - COM1"));
    QCOMPARE(profiles->field(QStringLiteral("transmisja")).text(), QStringLiteral("9600,n,8,1"));
}

void DatabaseTest::deliveredSettings() {
    TestDatabase t;
    auto settings = RecordSets::settings(t.db());
    QCOMPARE(settings->recordCount(), 1);
    SharedValues shared(RegionalSettings::polish());
    shared.load(*settings);
    QCOMPARE(shared.Firma.text(), QStringLiteral("Nazwa firmy"));
    QCOMPARE(shared.datePattern(), QStringLiteral("yyyy-mm-dd"));
    QCOMPARE(shared.numberPattern(), QStringLiteral("0.000"));
    QCOMPARE(shared.POK.number(), 10.0);
    QCOMPARE(shared.PSR, 30.0f);
    QCOMPARE(shared.IK1.number(), 5.0);
    QCOMPARE(shared.IK2.number(), 3.0);
    QCOMPARE(shared.level, 0);
    QCOMPARE(shared.reportFont, QStringLiteral("Arial CE"));
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(settings->field(QStringLiteral("PW%1").arg(i)).number(), 1.0);
    }
    QCOMPARE(settings->field(QStringLiteral("FRTol")).number(), 15.0);

    // Firma is read at start only; the refresh after the settings window leaves it
    QVERIFY(settings->setField(QStringLiteral("Firma"), Value(QStringLiteral("Inna"))));
    QVERIFY(settings->setField(QStringLiteral("Proc"), Value(QStringLiteral("95"))));
    QVERIFY(settings->setField(QStringLiteral("PSR"), Value(QStringLiteral("10,1"))));
    QVERIFY(settings->update());
    shared.refreshAfterSettingsWindow(*settings);
    QCOMPARE(shared.level, 0);
    QCOMPARE(shared.PSR, 10.1f);
    shared.refreshAfterSettingsCommand(*settings);
    QCOMPARE(shared.level, 1);
    QCOMPARE(shared.Firma.text(), QStringLiteral("Nazwa firmy"));
}

void DatabaseTest::missingFileIsNotCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KALMET.MDB"));
    const auto opened = Database::open(path, RegionalSettings::polish());
    QVERIFY(!opened.database);
    QVERIFY2(opened.error.contains(path), qPrintable(opened.error));
    QVERIFY2(opened.error.contains(QStringLiteral("nie istnieje")), qPrintable(opened.error));
    QVERIFY(!QFile::exists(path));
}

void DatabaseTest::foreignFileIsRefusedAndUntouched_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("extraSql");
    QTest::addColumn<QString>("cause");
    QTest::newRow("text file") << QByteArray("Kalmet? To nie jest baza.\n") << QString()
                               << QString::fromUtf8("nie jest bazą danych");
    QTest::newRow("empty file") << QByteArray() << QString()
                                << QString::fromUtf8("brak tabeli „Analiza”");
    QTest::newRow("missing table") << QByteArray() << QStringLiteral("DROP TABLE Trans;")
                                   << QString::fromUtf8("brak tabeli „Trans”");
    QTest::newRow("missing field")
        << QByteArray() << QStringLiteral("ALTER TABLE DanePom DROP COLUMN P7;")
        << QString::fromUtf8("w tabeli „DanePom” brak pola „P7”");
    QTest::newRow("missing settings row")
        << QByteArray() << QStringLiteral("DELETE FROM Ustawienia;")
        << QString::fromUtf8("brak wiersza ustawień");
    // what would run on the program's own writes, or stand for data it does not know
    QTest::newRow("a trigger")
        << QByteArray()
        << QStringLiteral(
               "CREATE TABLE Historia (Kiedy, Numer, Operator, Czesc, Powtorzenie, "
               "Bylo, Jest, Dlaczego); CREATE TRIGGER wipe AFTER INSERT ON Historia "
               "BEGIN DELETE FROM DanePom; END;")
        << QString::fromUtf8("wyzwalacz „wipe” na tabeli „Historia”");
    QTest::newRow("a view") << QByteArray()
                            << QStringLiteral("CREATE VIEW wszystko AS SELECT * FROM DanePom;")
                            << QString::fromUtf8("widok „wszystko”");
}

void DatabaseTest::foreignFileIsRefusedAndUntouched() {
    QFETCH(QByteArray, content);
    QFETCH(QString, extraSql);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KALMET.MDB"));
    if (extraSql.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else {
        QVERIFY(TestDatabase::runSql(path, TestDatabase::schema() + extraSql));
    }
    const QByteArray before = fileHash(path);
    const auto opened = Database::open(path, RegionalSettings::polish());
    QVERIFY(!opened.database);
    QVERIFY2(opened.error.contains(path), qPrintable(opened.error));
    QVERIFY2(opened.error.contains(cause), qPrintable(opened.error));
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("KALMET.MDB")});
}

void DatabaseTest::permissionsAreRefusedWithTheirCause_data() {
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("wal");
    QTest::addColumn<bool>("readOnlyAccess");
    QTest::addColumn<QString>("cause");  // empty: opens
    const QString readOnly = QStringLiteral("tylko do odczytu");
    QTest::newRow("read-only file") << 0444 << 0755 << false << false << readOnly;
    QTest::newRow("writable file, read-only folder") << 0666 << 0555 << false << false << readOnly;
    QTest::newRow("WAL file, read-only folder") << 0666 << 0555 << true << false << readOnly;
    QTest::newRow("read-only file, reader") << 0444 << 0555 << false << true << QString();
    QTest::newRow("writable everything") << 0666 << 0777 << false << false << QString();
}

void DatabaseTest::permissionsAreRefusedWithTheirCause() {
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);
    QFETCH(bool, wal);
    QFETCH(bool, readOnlyAccess);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KALMET.MDB"));
    QVERIFY(TestDatabase::runSql(
        path,
        TestDatabase::schema() + (wal ? QStringLiteral("PRAGMA journal_mode=WAL;") : QString())));
    const QByteArray before = fileHash(path);
    QVERIFY(chmod(path.toUtf8().constData(), static_cast<mode_t>(fileMode)) == 0);
    QVERIFY(chmod(dir.path().toUtf8().constData(), static_cast<mode_t>(folderMode)) == 0);
    const QString error = TestDatabase::openAsUser(
        path, readOnlyAccess ? Database::Access::ReadOnly : Database::Access::ReadWrite);
    chmod(dir.path().toUtf8().constData(), 0700);
    if (cause.isEmpty()) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
    } else {
        QVERIFY2(error.contains(cause) && error.contains(path), qPrintable(error));
        QVERIFY2(!error.contains(QString::fromUtf8("nie jest bazą")), qPrintable(error));
    }
    QCOMPARE(fileHash(path), before);
}

void DatabaseTest::lockedFileIsRefused_data() {
    QTest::addColumn<QString>("lock");
    QTest::newRow("write lock") << "BEGIN IMMEDIATE";
    QTest::newRow("exclusive lock") << "BEGIN EXCLUSIVE";
}

void DatabaseTest::lockedFileIsRefused() {
    QFETCH(QString, lock);
    TestDatabase t;
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(t.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "SELECT count(*) FROM Analiza", nullptr, nullptr, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, lock.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "UPDATE Ustawienia SET Firma = Firma", nullptr, nullptr, nullptr),
             SQLITE_OK);
    const auto opened = Database::open(t.path(), RegionalSettings::polish());
    QVERIFY(!opened.database);
    QVERIFY2(opened.error.contains(QStringLiteral("zablokowany przez inny program")),
             qPrintable(opened.error));
    QVERIFY2(!opened.error.contains(QString::fromUtf8("nie jest bazą")), qPrintable(opened.error));
    // a reader still works beside a write lock (not beside an exclusive one)
    const auto reader =
        Database::open(t.path(), RegionalSettings::polish(), Database::Access::ReadOnly);
    QCOMPARE(reader.database != nullptr, lock == QLatin1String("BEGIN IMMEDIATE"));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// kalmet-cli export-all holds a read lock for as long as a large file takes: the
// program's write waits for it (longer than the 2 s an open waits) and says so meanwhile.
void DatabaseTest::writeWaitsForAReaderAndSaysSo() {
    TestDatabase t;
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY2(opened.session, qPrintable(opened.error));
    Session& session = *opened.session;
    int notices = 0;
    session.database().setWaitingNotice([&notices](int) { ++notices; });
    std::atomic<bool> holding = false;
    std::thread reader([&] {
        sqlite3* db = nullptr;
        sqlite3_open(t.path().toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN; SELECT count(*) FROM Analiza;", nullptr, nullptr, nullptr);
        holding = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    while (!holding) {
        std::this_thread::yield();
    }
    QElapsedTimer waited;
    waited.start();
    RecordSet& row = session.settingsRow();
    const bool stored =
        row.setField(QStringLiteral("Firma"), Value(QStringLiteral("Z"))) && row.update();
    reader.join();
    QVERIFY2(stored, qPrintable(row.lastError()));
    QVERIFY(waited.elapsed() >= 2400);
    QVERIFY(notices > 0);
}

void DatabaseTest::deliveredFileIsNeverOverwritten() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KALMET.MDB"));
    QCOMPARE(QProcess::execute(makeDatabaseTool(), {QStringLiteral(KALMET_SCHEMA), path}), 0);
    {
        auto opened = Database::open(path, RegionalSettings::polish());
        QVERIFY2(opened.database, qPrintable(opened.error));
        auto analyses = RecordSets::analyses(*opened.database);
        analyses->addNew();
        QVERIFY(analyses->setField(QStringLiteral("Numer"), Value(QStringLiteral("1/2026"))));
        QVERIFY(analyses->update());
    }
    const QByteArray withData = fileHash(path);
    QCOMPARE(QProcess::execute(makeDatabaseTool(), {QStringLiteral(KALMET_SCHEMA), path}), 0);
    QCOMPARE(fileHash(path), withData);

    // also a file that is not a database at all stays as it is
    const QString other = dir.filePath(QStringLiteral("other.MDB"));
    QFile file(other);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("user's file");
    file.close();
    QCOMPARE(QProcess::execute(makeDatabaseTool(), {QStringLiteral(KALMET_SCHEMA), other}), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("user's file"));
}

void DatabaseTest::buildPutsTheDatabaseBesideTheProgram() {
    const QString delivered = QStringLiteral(KALMET_BUILD_DIR "/KALMET.MDB");
    QVERIFY(QFile::exists(delivered));
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("KALMET.MDB"));
    QVERIFY(QFile::copy(delivered, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    const auto opened = Database::open(copy, RegionalSettings::polish());
    QVERIFY2(opened.database, qPrintable(opened.error));
}

void DatabaseTest::oneProgramPerFile() {
    TestDatabase t;
    auto first = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY2(first.session, qPrintable(first.error));
    const auto second = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY(!second.session);
    QVERIFY2(second.error.contains(QString::fromUtf8("innym uruchomionym programie Kalmet")),
             qPrintable(second.error));
    const auto reader =
        Session::openFile(t.path(), RegionalSettings::polish(), Database::Access::ReadOnly);
    QVERIFY2(reader.session, qPrintable(reader.error));
    first.session.reset();
    QVERIFY(Session::openFile(t.path(), RegionalSettings::polish()).session);
    // A program that dies holds nothing.
    const pid_t child = fork();
    if (child == 0) {
        auto held = ProgramLock::take(t.path());
        raise(held.lock ? SIGKILL : SIGTERM);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QVERIFY(ProgramLock::take(t.path()).lock);
}

// Every name of one file meets one lock: a symbolic or hard link in another folder
// is refused while a program has the file, and a lock file left beside it by an
// earlier version refuses nothing.
void DatabaseTest::everyPathToTheFileMeetsTheLock() {
    TestDatabase t;
    QTemporaryDir other;
    const QString symlink = other.filePath(QStringLiteral("KALMET.MDB"));
    const QString hardlink = other.filePath(QStringLiteral("KOPIA.MDB"));
    QVERIFY(QFile::link(t.path(), symlink));
    QCOMPARE(::link(t.path().toUtf8().constData(), hardlink.toUtf8().constData()), 0);
    QFile stale(t.path() + QStringLiteral(".lock"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    auto first = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY2(first.session, qPrintable(first.error));
    for (const QString& path : {symlink, hardlink}) {
        const auto second = Session::openFile(path, RegionalSettings::polish());
        QVERIFY2(!second.session, qPrintable(path));
        QVERIFY(second.error.contains(QString::fromUtf8("innym uruchomionym programie Kalmet")));
    }
    first.session.reset();
    QVERIFY(Session::openFile(hardlink, RegionalSettings::polish()).session);
}

void DatabaseTest::failureTextsNameEveryCause_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("text");
    QTest::newRow("engine and system") << SQLITE_IOERR << "disk I/O error" << EIO
                                       << QString::fromUtf8(
                                              "błąd odczytu lub zapisu pliku na dysku (SQLite: "
                                              "disk I/O error; system: błąd odczytu lub "
                                              "zapisu na dysku)");
    QTest::newRow("engine only") << SQLITE_CORRUPT << "database disk image is malformed" << 0
                                 << QString::fromUtf8(
                                        "plik bazy danych jest uszkodzony (SQLite: "
                                        "database disk image is malformed)");
    QTest::newRow("no reason given")
        << SQLITE_FULL << "not an error" << 0 << QString::fromUtf8("brak miejsca na dysku");
}

void DatabaseTest::failureTextsNameEveryCause() {
    QFETCH(int, code);
    QFETCH(QString, detail);
    QFETCH(int, systemError);
    QFETCH(QString, text);
    SqliteFailure failure;
    failure.code = code;
    failure.detail = detail;
    failure.systemError = systemError;
    QCOMPARE(failure.text(), text);
}

QTEST_GUILESS_MAIN(DatabaseTest)
#include "tst_database.moc"
