#include "database.h"

#include <sqlite3.h>
#include <QFileInfo>

#include "program_lock.h"
#include "sqlite_failure.h"
#include "statement.h"

namespace {

QString failure(const QString& path, const QString& cause) {
    return QString::fromUtf8("Nie można otworzyć bazy danych „%1”: %2").arg(path, cause);
}

// True when the first read of a read-only connection met a change a crash interrupted
// (a hot journal), which only a connection that may write can roll back.
bool meetsInterruptedChange(sqlite3* db) {
    Statement probe(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return !probe.next() && sqlite3_extended_errcode(db) == SQLITE_READONLY_ROLLBACK;
}

// Completes the recovery as an ordinary open does, when no program holds the file.
// Empty when done, else the true cause.
QString recoverInterruptedChange(const QString& path) {
    if (ProgramLock::isHeldByAnother(path)) {
        return QString::fromUtf8(
            "program Kalmet, który używa pliku, odtwarza go właśnie po przerwanej zmianie; "
            "spróbuj ponownie za chwilę.");
    }
    sqlite3* writer = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &writer, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(writer, 2000);
    QString cause;
    Statement read(writer, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (rc != SQLITE_OK || !read.next()) {
        const SqliteFailure f = read.failure().value_or(SqliteFailure::of(writer, rc));
        cause = f.code == SQLITE_READONLY || f.code == SQLITE_CANTOPEN || f.code == SQLITE_PERM
                    ? QString::fromUtf8(
                          "zmiana przerwana przez awarię czeka na wycofanie, a "
                          "pliku lub jego folderu nie można zapisać.")
                    : f.text() + QLatin1Char('.');
    }
    read.reset();
    sqlite3_close_v2(writer);
    return cause;
}

QStringList latin1(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* name : names) {
        out << QString::fromLatin1(name);
    }
    return out;
}

QStringList numbered(const char* prefix, int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) {
        names << QString::fromLatin1(prefix) + QString::number(i);
    }
    return names;
}

// Orders by the user's locale (Polish letters in their places) and breaks ties by the
// exact text, so identical names stand together and different names never interleave.
int compareByLocale(const QCollator& collator, QByteArrayView left, QByteArrayView right) {
    if (left == right) {
        return 0;  // the same text: no need to ask the locale
    }
    const int byLocale = collator.compare(QString::fromUtf8(left), QString::fromUtf8(right));
    return byLocale != 0 ? byLocale : left.compare(right);
}

// The same order as SQLite's collation LOCALE.
int collateByLocale(void* context, int leftSize, const void* left, int rightSize,
                    const void* right) {
    return compareByLocale(*static_cast<const QCollator*>(context),
                           {static_cast<const char*>(left), leftSize},
                           {static_cast<const char*>(right), rightSize});
}

}  // namespace

const std::vector<Database::TableFields>& Database::requiredTables() {
    static const std::vector<TableFields> tables = {
        {"Analiza",
         latin1({"Numer",  "LiczbaN", "LiczbaK",  "LiczbaR",   "Data",  "Temperatura", "Wilgotnosc",
                 "NazwaC", "NumerC",  "Parametr", "Jednostka", "WN",    "GWG",         "DWG",
                 "CoRef",  "NazwaP",  "NumerP",   "ZakresP",   "BladP", "NazwaT",      "Setings"})},
        {"DanePom", latin1({"ID", "Operator"}) + numbered("P", 10) + latin1({"ObX"})},
        {"Ustawienia", latin1({"Firma", "FD", "FP", "POK", "PSR", "IK1", "IK2", "FRTol", "Proc"}) +
                           numbered("PW", 5)},
        {"Trans", latin1({"Nazwa", "Transmisja"})},
    };
    return tables;
}

Database::Database(sqlite3* db, const QString& path, const RegionalSettings& regional)
    : db_(db), path_(path), regional_(regional), collator_(regional.collationLocale()) {}

Database::~Database() {
    sqlite3_close_v2(db_);
}

Database::Opened Database::open(const QString& path, const RegionalSettings& regional,
                                Access access) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {nullptr, failure(path, QString::fromUtf8("plik nie istnieje."))};
    }
    if (!info.isFile()) {
        return {nullptr, failure(path, QString::fromUtf8("to nie jest plik."))};
    }
    if (!info.isReadable()) {
        return {nullptr, failure(path, QString::fromUtf8("brak prawa do odczytu pliku."))};
    }
    const bool writing = access == Access::ReadWrite;
    sqlite3* raw = nullptr;
    const QByteArray name = path.toUtf8();
    // A connection lives on the thread that opened it: SQLite's own locking of each call
    // is left out.
    const int flags =
        (writing ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(name.constData(), &raw, flags, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path, regional));
    if (rc != SQLITE_OK) {
        return {nullptr, failure(path, SqliteFailure::of(raw, rc).text() + QLatin1Char('.'))};
    }
    if (writing && (!info.isWritable() || sqlite3_db_readonly(raw, "main") == 1)) {
        return {nullptr, failure(path, QString::fromUtf8(
                                           "plik jest tylko do odczytu, a program zapisuje w nim "
                                           "każdą zmianę."))};
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_handler(raw, &Database::waitForAccess, db.get());
    if (!writing && meetsInterruptedChange(raw)) {
        if (const QString problem = recoverInterruptedChange(path); !problem.isEmpty()) {
            return {nullptr, failure(path, problem)};
        }
    }
    if (const QString problem = db->validate(); !problem.isEmpty()) {
        return {nullptr, failure(path, problem)};
    }
    // The settings every verdict reads are checked for readers too: a damaged row would
    // judge every study with empty limits.
    if (const QString problem = db->checkIntegrity(); !problem.isEmpty()) {
        return {nullptr, failure(path, problem)};
    }
    if (writing) {
        if (const QString problem = db->probeWrite(); !problem.isEmpty()) {
            return {nullptr, failure(path, problem)};
        }
        db->exec("PRAGMA synchronous=FULL");
    }
    // Each page is checked as it is first read: a malformed one is a damaged file, never
    // read as data.
    db->exec("PRAGMA cell_size_check=ON");
    db->setMapped(true);
    db->registerCollation();
    return {std::move(db), {}};
}

// The settings and profile tables, which the start-up reads whole and the settings
// window writes back, are checked before anything is read from them as data. The
// analysis and series tables grow with the user's work: checking them here would make
// every start cost a read of the whole file. Their pages are checked as they are read,
// and a damaged page is reported then (RecordSet::readError), never taken for data.
QString Database::checkIntegrity() const {
    for (const char* table : {"Ustawienia", "Trans"}) {
        Statement check(db_,
                        QStringLiteral("PRAGMA quick_check(\"%1\")").arg(QLatin1String(table)));
        if (!check.next()) {
            return check.error() + QLatin1Char('.');
        }
        const QString verdict = check.column(0)
                                    .text()
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                    .join(QStringLiteral("; "));
        if (verdict == QLatin1String("ok")) {
            continue;
        }
        // a page the disk would not give is a read error, not proven damage
        const bool unread = verdict.contains(QLatin1String("unable to get the page"));
        return QString::fromUtf8(unread ? "błąd odczytu pliku na dysku (SQLite: %1)."
                                        : "plik bazy danych jest uszkodzony (SQLite: %1).")
            .arg(verdict);
    }
    return {};
}

// Takes the write lock and writes one page in a transaction that is rolled back: a
// file that another program holds, or that cannot be written (the file itself, or
// its folder, where the journal must be created), is refused now, not at the user's
// first change. The file's contents stay as they were.
QString Database::probeWrite() {
    if (!exec("BEGIN IMMEDIATE")) {
        return SqliteFailure::lastOf(db_).text() + QLatin1Char('.');
    }
    // A real change (an unchanged value would not reach the pager), to a table of its
    // own that the rollback takes away again.
    Statement touch(db_, QStringLiteral("CREATE TABLE kalmet_write_probe (x)"));
    const bool written = touch.run();
    const QString cause = written ? QString() : touch.error() + QLatin1Char('.');
    exec("ROLLBACK");
    return cause;
}

QString Database::checkTable(const char* table, const QStringList& fields) const {
    Statement info(db_,
                   QStringLiteral("PRAGMA table_info(\"%1\")").arg(QString::fromLatin1(table)));
    QStringList present;
    while (info.next()) {
        present << info.column(1).text().toLower();
    }
    if (info.failed() || !info.isValid()) {
        // A file held by another program, or one that cannot be read, is not called
        // foreign: the cause says what is wrong.
        const SqliteFailure f = info.failure().value_or(SqliteFailure::lastOf(db_));
        return (f.code == SQLITE_NOTADB || f.code == SQLITE_ERROR
                    ? QString::fromUtf8("plik nie jest bazą danych programu Kalmet (%1)")
                          .arg(f.detail)
                    : f.text()) +
               QLatin1Char('.');
    }
    if (present.isEmpty()) {
        return QString::fromUtf8("w bazie danych brak tabeli „%1”.")
            .arg(QString::fromLatin1(table));
    }
    for (const QString& field : fields) {
        if (!present.contains(field.toLower())) {
            return QString::fromUtf8("w tabeli „%1” brak pola „%2”.")
                .arg(QString::fromLatin1(table), field);
        }
    }
    return {};
}

// A trigger would run on the program's own writes (a correction that deletes every
// series), a view would stand for data the program does not know: neither is ever in a
// file the program made, so a file holding one is refused, never changed.
QString Database::foreignObjects() const {
    Statement objects(db_, QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master WHERE "
                                          "type IN ('trigger', 'view') ORDER BY rowid"));
    if (objects.next()) {
        const QString name = objects.column(1).text();
        return objects.column(0).text() == QLatin1String("trigger")
                   ? QString::fromUtf8(
                         "plik zawiera wyzwalacz „%1” na tabeli „%2”, który "
                         "zmieniałby dane przy zapisie programu.")
                         .arg(name, objects.column(2).text())
                   : QString::fromUtf8("plik zawiera widok „%1”, którego program nie zna.")
                         .arg(name);
    }
    return objects.failed() ? objects.error() + QLatin1Char('.') : QString();
}

QString Database::validate() const {
    for (const TableFields& required : requiredTables()) {
        if (const QString problem = checkTable(required.table, required.fields);
            !problem.isEmpty()) {
            return problem;
        }
    }
    if (const QString problem = foreignObjects(); !problem.isEmpty()) {
        return problem;
    }
    Statement rows(db_, QStringLiteral("SELECT count(*) FROM Ustawienia"));
    if (!rows.next()) {
        return rows.error() + QLatin1Char('.');
    }
    if (rows.columnInt64(0) < 1) {
        return QString::fromUtf8("w tabeli „Ustawienia” brak wiersza ustawień.");
    }
    return {};
}

// Another program (kalmet-cli export-all reading a large file, say) holds the file: wait
// as long as a pass over the largest file takes, telling whoever listens now and then.
int Database::waitForAccess(void* self, int attempt) {
    auto* db = static_cast<Database*>(self);
    if (attempt == 0) {
        db->waitStarted_.start();
        db->lastNotice_ = 0;
    }
    const qint64 waited = db->waitStarted_.elapsed();
    if (waited >= db->longestWait_) {
        return 0;
    }
    if (db->waiting_ && waited >= 300 && waited - db->lastNotice_ >= 250) {
        db->lastNotice_ = waited;
        db->waiting_(static_cast<int>(waited));
    }
    sqlite3_sleep(attempt < 10 ? 5 : 25);
    return 1;
}

void Database::setWaitingNotice(std::function<void(int waitedMs)> notice) {
    waiting_ = std::move(notice);
}

void Database::setLongestWait(int ms) {
    longestWait_ = ms;
}

int Database::collate(QByteArrayView left, QByteArrayView right) const {
    return compareByLocale(collator_, left, right);
}

void Database::registerCollation() {
    sqlite3_create_collation_v2(db_, "LOCALE", SQLITE_UTF8, &collator_, collateByLocale, nullptr);
}

QString Database::create(const QString& path, const QByteArray& script) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString cause;
    if (rc != SQLITE_OK) {
        cause = SqliteFailure::of(db, rc).text();
    } else if (const int failed = sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr);
               failed != SQLITE_OK) {
        cause = SqliteFailure::of(db, failed).text();
    }
    sqlite3_close_v2(db);
    return cause;
}

QString Database::engineVersion() {
    return QString::fromLatin1(sqlite3_libversion());
}

bool Database::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Database::begin() {
    return exec("BEGIN IMMEDIATE");
}

void Database::setMapped(bool mapped) {
    exec(mapped ? "PRAGMA mmap_size=1073741824" : "PRAGMA mmap_size=0");
}

bool Database::beginRead() {
    return exec("BEGIN DEFERRED");
}

bool Database::commit() {
    return exec("COMMIT");
}

void Database::rollback() {
    exec("ROLLBACK");
}

qint64 Database::lastInsertedRow() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changedRows() const {
    return sqlite3_changes(db_);
}

QString Database::lastError() const {
    return SqliteFailure::lastOf(db_).text();
}
