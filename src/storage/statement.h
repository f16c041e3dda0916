#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

#include "sqlite_failure.h"
#include "value.h"

class Database;
struct sqlite3;
struct sqlite3_stmt;

// One prepared SQL statement; every value goes in as a bound parameter. Only storage/
// makes them: the rest of the program reads and writes through storage's functions.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    // On a connection the Database does not hold yet (its own checks while it opens).
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return stmt_ != nullptr; }
    // Parameters are numbered from 1.
    void bind(int index, const Value& value);
    void bindInt64(int index, qint64 value);
    // true while a row is available; errors end the walk and show in error().
    bool next();
    // Runs a statement that returns no rows; false on error.
    bool run();
    // Ready for the next run with new bindings; a prepare failure stays.
    void reset();

    int columnCount() const;
    Value column(int index) const;
    qint64 columnInt64(int index) const;
    // How a column's value is stored, in the order SQLite sorts the kinds, and its text
    // or bytes as stored (for sorting as SQLite would).
    enum class Storage { Empty, Number, Text, Bytes };
    Storage columnStorage(int index) const;
    QByteArray columnBytes(int index) const;

    // Empty while nothing failed; else the Polish cause with the engine's text.
    QString error() const { return failure_ ? failure_->text() : QString(); }
    bool failed() const { return failure_.has_value(); }
    // Why the statement could not be prepared or run; nothing while it has not failed.
    std::optional<QString> failureText() const;
    const std::optional<SqliteFailure>& failure() const { return failure_; }

private:
    QByteArrayView columnView(int index) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::optional<SqliteFailure> failure_;
};
