#include "sqlite_failure.h"

#include <sqlite3.h>
#include <QStringList>

#include "storage_causes.h"
#include "system_error.h"

SqliteFailure SqliteFailure::of(sqlite3* db, int resultCode) {
    SqliteFailure f;
    f.code = resultCode & 0xFF;
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    // The connection's message may describe an older call; the code's own text then.
    if ((sqlite3_extended_errcode(db) & 0xFF) != f.code) {
        message = sqlite3_errstr(resultCode);
    }
    f.detail = QString::fromUtf8(message);
    // A read the disk failed is reported by SQLite as damage (EIO reads as a corrupt
    // file system): the system's own cause tells the two apart.
    const bool fileFailure = f.code == SQLITE_IOERR || f.code == SQLITE_CANTOPEN ||
                             f.code == SQLITE_FULL || f.code == SQLITE_READONLY ||
                             f.code == SQLITE_CORRUPT;
    f.systemError = db && fileFailure ? sqlite3_system_errno(db) : 0;
    return f;
}

SqliteFailure SqliteFailure::lastOf(sqlite3* db) {
    return of(db, sqlite3_extended_errcode(db));
}

SqliteFailure SqliteFailure::corrupt() {
    SqliteFailure f;
    f.code = SQLITE_CORRUPT;
    return f;
}

bool SqliteFailure::isLocked() const {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

QString SqliteFailure::sentence() const {
    switch (code) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QString::fromUtf8(
                "plik jest zablokowany przez inny program (np. kalmet-cli export-all, który go "
                "czyta); poczekaj, aż skończy, albo zamknij go i spróbuj ponownie");
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return QString::fromUtf8(
                "nie można zapisywać w pliku: plik lub jego folder jest tylko do odczytu");
        case SQLITE_NOTADB:
            return QString::fromUtf8("plik nie jest bazą danych programu Kalmet");
        case SQLITE_CORRUPT:
            return StorageCauses::damagedFile();
        case SQLITE_FULL:
            return QString::fromUtf8("brak miejsca na dysku");
        case SQLITE_IOERR:
            return QString::fromUtf8("błąd odczytu lub zapisu pliku na dysku");
        case SQLITE_NOMEM:
            return QString::fromUtf8("brak pamięci");
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
            return QString::fromUtf8("baza danych nie przyjęła wartości");
        default:
            return QString::fromUtf8("błąd bazy danych");
    }
}

QString SqliteFailure::text() const {
    const bool meaningless =
        detail.isEmpty() || code == SQLITE_OK || detail == QLatin1String("not an error");
    QStringList reasons;
    if (!meaningless) {
        reasons << QStringLiteral("SQLite: ") + detail;
    }
    if (systemError != 0) {
        reasons << QStringLiteral("system: ") + systemErrorText(systemError);
    }
    return reasons.isEmpty()
               ? sentence()
               : QStringLiteral("%1 (%2)").arg(sentence(), reasons.join(QStringLiteral("; ")));
}
