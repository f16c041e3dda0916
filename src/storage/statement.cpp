#include "statement.h"

#include <sqlite3.h>

#include "database.h"

Statement::Statement(const Database& db, const QString& sql) : Statement(db.handle(), sql) {}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray text = sql.toUtf8();
    const int rc =
        sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        failure_ = SqliteFailure::of(db_, rc);
        stmt_ = nullptr;
    }
}

std::optional<QString> Statement::failureText() const {
    if (failure_) {
        return failure_->text();
    }
    if (!stmt_) {
        return SqliteFailure::lastOf(db_).text();
    }
    return std::nullopt;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, const Value& value) {
    if (!stmt_) {
        return;
    }
    if (value.isNumber()) {
        sqlite3_bind_double(stmt_, index, value.number());
    } else if (value.isText()) {
        const QByteArray text = value.text().toUtf8();
        sqlite3_bind_text(stmt_, index, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(stmt_, index);
    }
}

void Statement::bindInt64(int index, qint64 value) {
    if (stmt_) {
        sqlite3_bind_int64(stmt_, index, value);
    }
}

bool Statement::next() {
    if (!stmt_) {
        return false;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc != SQLITE_DONE) {
        failure_ = SqliteFailure::of(db_, rc);
    }
    return false;
}

bool Statement::run() {
    if (!stmt_) {
        return false;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) {
        return true;
    }
    failure_ = SqliteFailure::of(db_, rc);
    return false;
}

// A statement that could not be prepared keeps its failure: every later run fails with
// it, so a failed INSERT never reads as success.
void Statement::reset() {
    if (!stmt_) {
        return;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    failure_.reset();
}

int Statement::columnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

Value Statement::column(int index) const {
    switch (columnStorage(index)) {
        case Storage::Number:
            return Value(sqlite3_column_double(stmt_, index));
        case Storage::Text:
        case Storage::Bytes:
            return Value(QString::fromUtf8(columnView(index)));
        case Storage::Empty:
            break;
    }
    return Value();
}

Statement::Storage Statement::columnStorage(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return Storage::Number;
        case SQLITE_TEXT:
            return Storage::Text;
        case SQLITE_BLOB:
            return Storage::Bytes;
        default:
            return Storage::Empty;
    }
}

QByteArray Statement::columnBytes(int index) const {
    return columnView(index).toByteArray();
}

// A text as UTF-8 whatever the file's encoding, other bytes as stored; valid until the
// next step.
QByteArrayView Statement::columnView(int index) const {
    const void* data = sqlite3_column_type(stmt_, index) == SQLITE_TEXT
                           ? static_cast<const void*>(sqlite3_column_text(stmt_, index))
                           : sqlite3_column_blob(stmt_, index);
    return {static_cast<const char*>(data), sqlite3_column_bytes(stmt_, index)};
}

qint64 Statement::columnInt64(int index) const {
    return sqlite3_column_int64(stmt_, index);
}
