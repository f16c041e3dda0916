#pragma once

#include <QString>

struct sqlite3;

// A failure of the database engine as the user reads it: a Polish sentence for the
// kind of failure, with the engine's own text after it as the detail. The engine's
// "not an error" is never shown as a cause.
struct SqliteFailure {
    int code = 0;  // the primary result code (SQLITE_BUSY, SQLITE_CORRUPT, ...)
    QString detail;
    // The system's own error behind a file failure (ENOSPC, EIO, EACCES), 0 for none.
    int systemError = 0;

    static SqliteFailure of(sqlite3* db, int resultCode);
    static SqliteFailure lastOf(sqlite3* db);
    // Damage the engine did not report itself (rows that contradict the index).
    static SqliteFailure corrupt();

    bool isLocked() const;
    QString sentence() const;
    // The sentence with the details: "błąd odczytu lub zapisu pliku na dysku (SQLite: disk
    // I/O error; system: ...)".
    QString text() const;
};
