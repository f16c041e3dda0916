#include "record_set.h"

#include <sqlite3.h>

#include <algorithm>

#include "number_pattern.h"
#include "number_reader.h"
#include "sql_names.h"

namespace {

// SQLite's affinity rule: a declared type with CHAR, CLOB or TEXT holds text; BLOB or
// no type holds what it is given (treated as text here); anything else is a number.
bool isNumericType(const QString& declared) {
    const QString t = declared.toUpper();
    if (t.isEmpty() || t.contains(QLatin1String("BLOB")) || t.contains(QLatin1String("CHAR")) ||
        t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT"))) {
        return false;
    }
    return true;
}

}  // namespace

RecordSet::RecordSet(Database& db, const QString& table)
    : db_(db), table_(table), keyset_(db, table, readError_) {}

std::unique_ptr<RecordSet> RecordSet::open(Database& db, const Query& query, QString* error) {
    std::unique_ptr<RecordSet> set(new RecordSet(db, query.table));
    auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return nullptr;
    };
    if (const QString cause = set->loadColumns(); !cause.isEmpty()) {
        return fail(cause);
    }
    // A row is fetched only when it still meets the query: a damaged index that lists
    // another row is then found out instead of read as data.
    QString fetch = QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(query.table));
    if (!query.where.isEmpty()) {
        fetch += QStringLiteral(" AND (%1)").arg(query.where);
    }
    set->fetch_ = std::make_unique<Statement>(db, fetch);
    set->fetchParameters_ = query.parameters;
    set->position_ = 0;
    const bool storedOrder = query.orderBy.isEmpty();
    QString cause;
    if (query.keysOnDemand && storedOrder && query.where.isEmpty()) {
        return set->keyset_.loadOnDemand(&cause) ? std::move(set) : fail(cause);
    }
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(quoted(query.table));
    if (!query.where.isEmpty()) {
        sql += QStringLiteral(" WHERE ") + query.where;
    }
    if (!storedOrder) {
        sql += QStringLiteral(" ORDER BY ") + query.orderBy;
    }
    if (!set->keyset_.load(sql, query.parameters, storedOrder, &cause)) {
        return fail(cause);
    }
    return set;
}

qint64 RecordSet::keyAt(int position) const {
    return keyset_.keyAt(position).value_or(0);
}

// Empty when the columns are read; else why not: a read that failed says so, and only a
// table that is really not there is called missing.
QString RecordSet::loadColumns() {
    Statement info(db_, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table_)));
    while (info.next()) {
        const QString name = info.column(1).text();
        columnByLowerName_.insert(name.toLower(), static_cast<int>(columns_.size()));
        columns_ << name;
        numeric_ << isNumericType(info.column(2).text());
    }
    if (const std::optional<QString> failed = info.failureText()) {
        return *failed;
    }
    return columns_.isEmpty() ? QString::fromUtf8("brak tabeli „%1”").arg(table_) : QString();
}

void RecordSet::noteReadFailure(const Statement& statement) const {
    if (const std::optional<QString> cause = statement.failureText()) {
        readError_ = *cause;
    }
}

int RecordSet::columnIndex(const QString& name) const {
    return columnByLowerName_.value(name.toLower(), -1);
}

void RecordSet::leaveRow() {
    row_.reset();
    deleted_ = false;
    mode_ = Mode::None;
}

void RecordSet::moveFirst() {
    leaveRow();
    position_ = 0;
}

void RecordSet::moveLast() {
    leaveRow();
    position_ = recordCount() - 1;
    if (position_ < 0) {
        position_ = 0;
    }
}

void RecordSet::moveNext() {
    const bool wasDeleted = deleted_;
    leaveRow();
    if (!wasDeleted && position_ < recordCount()) {
        ++position_;
    }
}

void RecordSet::movePrevious() {
    leaveRow();
    if (position_ >= 0) {
        --position_;
    }
}

void RecordSet::move(int n) {
    const bool wasDeleted = deleted_;
    leaveRow();
    long target = static_cast<long>(position_) + n - (wasDeleted && n > 0 ? 1 : 0);
    target = qBound(-1L, target, static_cast<long>(recordCount()));
    position_ = static_cast<int>(target);
}

bool RecordSet::find(const QString& field, const Value& value) {
    const int column = columnIndex(field);
    const int start = deleted_ ? position_ : qMax(position_, 0);
    leaveRow();
    position_ = recordCount();
    if (column < 0 || start >= recordCount()) {
        return false;
    }
    Statement matches(db_, QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                               .arg(quoted(table_), quoted(columns_[column])));
    matches.bind(1, value);
    int best = recordCount();
    while (matches.next()) {
        const int index = keyset_.positionOf(matches.columnInt64(0));
        if (index >= start && index < best) {
            best = index;
        }
    }
    noteReadFailure(matches);
    checkIndexAround(columns_[column], value);
    position_ = best;
    return best < recordCount();
}

// A search goes through the field's index, whose damage would make a stored row look
// absent (or another row look found): the entries from the value on, read on past it, and
// the two before it, must each name a row that holds what the entry says. A few rowid lookups; a
// disagreement or a read that fails is told as a damaged file.
void RecordSet::checkIndexAround(const QString& field, const Value& value) const {
    const QString column = quoted(field);
    const QString table = quoted(table_);
    Statement check(
        db_,
        QStringLiteral("SELECT count(*) FROM (SELECT * FROM (SELECT rowid AS r, %1 AS v FROM %2 "
                       "WHERE %1 >= ?1 ORDER BY %1 LIMIT (SELECT count(*) FROM %2 WHERE %1 = "
                       "?1) + 3) UNION ALL SELECT * FROM (SELECT rowid, %1 FROM %2 WHERE %1 < ?1 "
                       "ORDER BY %1 DESC LIMIT 2)) AS i WHERE NOT EXISTS (SELECT 1 FROM %2 AS t "
                       "NOT INDEXED WHERE t.rowid = i.r AND t.%1 IS i.v)")
            .arg(column, table));
    check.bind(1, value);
    if (!check.next()) {
        noteReadFailure(check);
    } else if (check.columnInt64(0) != 0) {
        readError_ = SqliteFailure::corrupt().text();
    }
}

const QVector<Value>* RecordSet::currentRow() const {
    if (!hasCurrentRow()) {
        return nullptr;
    }
    if (!row_) {
        const std::optional<qint64> key = keyset_.keyAt(position_);
        if (!key) {
            return nullptr;  // the keys could not be read; nothing is kept
        }
        fetch_->reset();
        fetch_->bindInt64(1, *key);
        for (int i = 0; i < fetchParameters_.size(); ++i) {
            fetch_->bind(i + 2, fetchParameters_[i]);
        }
        QVector<Value> values(columns_.size());
        const bool found = fetch_->next();
        if (found) {
            for (int i = 0; i < values.size(); ++i) {
                values[i] = fetch_->column(i);
            }
        }
        const bool failed = fetch_->failed() || !fetch_->isValid();
        noteReadFailure(*fetch_);
        fetch_->reset();
        if (!failed && !found) {
            readError_ = QString::fromUtf8(
                             "%1: indeks tabeli „%2” wskazuje wiersz, którego tabela "
                             "nie zwraca")
                             .arg(SqliteFailure::corrupt().sentence(), table_);
        }
        if (failed || !found) {
            return nullptr;  // never kept: the next read tries again
        }
        row_ = std::move(values);
    }
    return &*row_;
}

Value RecordSet::field(const QString& name) const {
    const int column = columnIndex(name);
    if (column < 0) {
        return {};
    }
    if (mode_ != Mode::None) {
        return buffer_[column];
    }
    const QVector<Value>* row = currentRow();
    return row ? (*row)[column] : Value();
}

Value RecordSet::fieldAt(int position, const QString& name) const {
    return readFieldAt(position, name).value_or(Value());
}

std::optional<Value> RecordSet::readFieldAt(int position, const QString& name) const {
    const int column = columnIndex(name);
    if (column < 0 || position < 0 || position >= recordCount()) {
        return Value();
    }
    if (position == position_ && hasCurrentRow()) {
        const QString before = readError_;
        readError_.clear();
        const Value value = field(name);
        const bool failed = !readError_.isEmpty();
        readError_ = failed ? readError_ : before;
        return failed ? std::nullopt : std::optional<Value>(value);
    }
    const std::optional<qint64> key = keyset_.keyAt(position);
    if (!key) {
        return std::nullopt;
    }
    Statement one(db_, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                           .arg(quoted(columns_[column]), quoted(table_)));
    one.bindInt64(1, *key);
    if (one.next()) {
        return one.column(0);
    }
    noteReadFailure(one);
    if (one.failed() || !one.isValid()) {
        return std::nullopt;
    }
    return Value();
}

QVector<Value> RecordSet::column(const QString& name) const {
    if (!keyset_.loadAll()) {
        return {};  // the cause is in readError()
    }
    const int column = columnIndex(name);
    QVector<Value> values(keyset_.count());
    if (column < 0) {
        return values;
    }
    // Unordered, so that an index holding the field serves the walk.
    Statement all(
        db_,
        QStringLiteral("SELECT rowid, %1 FROM %2").arg(quoted(columns_[column]), quoted(table_)));
    while (all.next()) {
        const int index = keyset_.positionOf(all.columnInt64(0));
        if (index >= 0) {
            values[index] = all.column(1);
        }
    }
    noteReadFailure(all);
    return values;
}

std::optional<Value> RecordSet::convertForColumn(int column, const Value& value) {
    const RegionalSettings& rs = db_.regional();
    if (value.isEmpty()) {
        return value;
    }
    if (numeric_[column]) {
        if (value.isNumber()) {
            return value;
        }
        if (const auto number = readLocaleNumber(value.text(), rs)) {
            return Value(*number);
        }
        error_ = QString::fromUtf8("„%1” nie jest liczbą (pole %2).")
                     .arg(value.text(), columns_[column]);
        return std::nullopt;
    }
    return value.isNumber() ? Value(formatGeneralNumber(value.number(), rs)) : value;
}

bool RecordSet::setField(const QString& name, const Value& value) {
    error_.clear();
    const int column = columnIndex(name);
    if (column < 0) {
        error_ = QString::fromUtf8("brak pola „%1” w tabeli „%2”.").arg(name, table_);
        return false;
    }
    if (mode_ == Mode::None) {
        const QVector<Value>* row = currentRow();
        if (!row) {
            error_ = QString::fromUtf8("brak bieżącego wiersza.");
            return false;
        }
        buffer_ = *row;
        dirty_ = QVector<bool>(columns_.size(), false);
        mode_ = Mode::Editing;
    }
    const auto converted = convertForColumn(column, value);
    if (!converted) {
        return false;
    }
    buffer_[column] = *converted;
    dirty_[column] = true;
    return true;
}

void RecordSet::addNew() {
    row_.reset();
    deleted_ = false;
    buffer_ = QVector<Value>(columns_.size());
    dirty_ = QVector<bool>(columns_.size(), false);
    mode_ = Mode::Adding;
}

bool RecordSet::insertRow() {
    QStringList names;
    QStringList marks;
    QVector<Value> values;
    for (int i = 0; i < columns_.size(); ++i) {
        if (dirty_[i]) {
            names << quoted(columns_[i]);
            marks << QStringLiteral("?");
            values << buffer_[i];
        }
    }
    const QString sql =
        names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table_))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(table_), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    Statement insert(db_, sql);
    for (int i = 0; i < values.size(); ++i) {
        insert.bind(i + 1, values[i]);
    }
    if (!insert.run()) {
        error_ = insert.error();
        return false;
    }
    position_ = keyset_.append(db_.lastInsertedRow());
    return true;
}

bool RecordSet::updateRow() {
    QStringList assignments;
    QVector<Value> values;
    for (int i = 0; i < columns_.size(); ++i) {
        if (dirty_[i]) {
            assignments << quoted(columns_[i]) + QStringLiteral(" = ?");
            values << buffer_[i];
        }
    }
    if (assignments.isEmpty()) {
        return true;
    }
    Statement change(db_, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                              .arg(quoted(table_), assignments.join(QLatin1Char(','))));
    int i = 0;
    for (; i < values.size(); ++i) {
        change.bind(i + 1, values[i]);
    }
    change.bindInt64(i + 1, keyAt(position_));
    if (!change.run()) {
        error_ = change.error();
        return false;
    }
    if (db_.changedRows() == 0) {
        error_ = QString::fromUtf8("wiersz nie istnieje już w bazie danych.");
        return false;
    }
    return true;
}

bool RecordSet::update() {
    error_.clear();
    if (mode_ == Mode::None) {
        return true;
    }
    const bool written = mode_ == Mode::Adding ? insertRow() : updateRow();
    if (!written) {
        return false;  // the edit stays pending: the caller may correct and retry
    }
    row_.reset();
    mode_ = Mode::None;
    return true;
}

void RecordSet::cancelUpdate() {
    mode_ = Mode::None;
}

bool RecordSet::deleteCurrent() {
    error_.clear();
    mode_ = Mode::None;
    if (!hasCurrentRow()) {
        error_ = QString::fromUtf8("brak bieżącego wiersza do usunięcia.");
        return false;
    }
    Statement remove(db_, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(table_)));
    remove.bindInt64(1, keyAt(position_));
    if (!remove.run()) {
        error_ = remove.error();
        return false;
    }
    keyset_.remove(position_);
    row_.reset();
    deleted_ = true;
    return true;
}
