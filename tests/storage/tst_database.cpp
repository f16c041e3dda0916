#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>

#include "record_sets.h"
#include "shared_values.h"
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
    void deliveredSettings();
    void missingFileIsNotCreated();
    void foreignFileIsRefusedAndUntouched_data();
    void foreignFileIsRefusedAndUntouched();
    void readOnlyFileIsRefused();
    void lockedFileIsRefused();
    void deliveredFileIsNeverOverwritten();
    void buildPutsTheDatabaseBesideTheProgram();
};

void DatabaseTest::deliveredDatabaseOpens() {
    TestDatabase t;
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

void DatabaseTest::readOnlyFileIsRefused() {
    TestDatabase t;
    QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::ReadUser);
    if (QFileInfo(t.path()).isWritable()) {
        QSKIP("running as root: file permissions do not stop writes");
    }
    const auto opened = Database::open(t.path(), RegionalSettings::polish());
    QVERIFY(!opened.database);
    QVERIFY2(opened.error.contains(QStringLiteral("tylko do odczytu")), qPrintable(opened.error));
}

void DatabaseTest::lockedFileIsRefused() {
    TestDatabase t;
    QVERIFY(t.db().begin());  // another connection holds the write lock
    const auto opened = Database::open(t.path(), RegionalSettings::polish());
    QVERIFY(!opened.database);
    QVERIFY2(opened.error.contains(QStringLiteral("zablokowany")), qPrintable(opened.error));
    t.db().rollback();
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

QTEST_GUILESS_MAIN(DatabaseTest)
#include "tst_database.moc"
