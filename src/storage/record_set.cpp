#include "record_set.h"

#include <sqlite3.h>

#include <algorithm>

#include "number_pattern.h"
#include "number_reader.h"

namespace {

QString quoted(const QString& identifier) {
    QString id = identifier;
    id.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + id + QLatin1Char('"');
}

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

RecordSet::RecordSet(Database& db, const QString& table) : db_(db), table_(table) {}

std::unique_ptr<RecordSet> RecordSet::open(Database& db, const Query& query, QString* error) {
    std::unique_ptr<RecordSet> set(new RecordSet(db, query.table));
    auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return nullptr;
    };
    if (!set->loadColumns()) {
        return fail(QString::fromUtf8("brak tabeli „%1”").arg(query.table));
    }
    // A row is fetched only when it still meets the query: a damaged index that lists
    // another row is then found out instead of read as data.
    QString fetch = QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(query.table));
    if (!query.where.isEmpty()) {
        fetch += QStringLiteral(" AND (%1)").arg(query.where);
    }
    set->fetch_ = std::make_unique<Statement>(db.handle(), fetch);
    set->fetchParameters_ = query.parameters;
    set->position_ = 0;
    const bool storedOrder = query.orderBy.isEmpty();
    if (query.keysOnDemand && storedOrder && query.where.isEmpty()) {
        Statement count(db.handle(),
                        QStringLiteral("SELECT count(*) FROM %1").arg(quoted(query.table)));
        if (!count.next()) {
            return fail(count.error());
        }
        set->onDemand_ = true;
        set->onDemandCount_ = static_cast<int>(count.columnInt64(0));
        return set;
    }
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(quoted(query.table));
    if (!query.where.isEmpty()) {
        sql += QStringLiteral(" WHERE ") + query.where;
    }
    if (!storedOrder) {
        sql += QStringLiteral(" ORDER BY ") + query.orderBy;
    }
    QString cause;
    if (!set->loadKeys(sql, query.parameters, storedOrder, &cause)) {
        return fail(cause);
    }
    return set;
}

// Rows in stored (rowid) order come fastest unordered, from whatever small index covers
// them, and sorted here; a table scan would read every page of the table.
bool RecordSet::loadKeys(const QString& sql, const QVector<Value>& parameters, bool storedOrder,
                         QString* error) const {
    Statement keys(db_.handle(), sql);
    for (int i = 0; i < parameters.size(); ++i) {
        keys.bind(i + 1, parameters[i]);
    }
    QVector<qint64> loaded;
    while (keys.next()) {
        loaded.push_back(keys.columnInt64(0));
    }
    if (!keys.isValid() || !keys.error().isEmpty()) {
        *error = keys.error();
        return false;
    }
    if (storedOrder) {
        std::sort(loaded.begin(), loaded.end());
    }
    keys_ = std::move(loaded);
    ascending_ = std::is_sorted(keys_.cbegin(), keys_.cend());
    keyIndexValid_ = false;
    return true;
}

// The keys of one page of rows: counted from the end for the last page (the start-up
// shows the last row), from the start for any other.
bool RecordSet::loadKeyPage(int position) const {
    constexpr int kPage = 256;
    const bool last = position >= onDemandCount_ - kPage;
    const int first = last ? onDemandCount_ - 1 : position / kPage * kPage;
    Statement page(db_.handle(),
                   QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid %2 LIMIT %3 OFFSET %4")
                       .arg(quoted(table_), last ? QStringLiteral("DESC") : QStringLiteral("ASC"))
                       .arg(kPage)
                       .arg(last ? 0 : first));
    for (int p = first; p >= 0 && p < onDemandCount_ && page.next(); p += last ? -1 : 1) {
        knownKeys_.insert(p, page.columnInt64(0));
    }
    noteReadFailure(page);
    return page.error().isEmpty() && knownKeys_.contains(position);
}

void RecordSet::loadAllKeys() const {
    if (!onDemand_) {
        return;
    }
    QString error;
    if (!loadKeys(QStringLiteral("SELECT rowid FROM %1").arg(quoted(table_)), {}, true, &error)) {
        readError_ = error;
        return;  // the keys stay to be loaded: the next read tries again
    }
    onDemand_ = false;
    knownKeys_.clear();
    // Only this record set changes the table, so the loaded keys are its rows; should
    // another program have added or removed rows meanwhile, the loaded ones count.
}

// The rows after a deleted one move up by one place.
void RecordSet::forgetKnownKey(int position) {
    QHash<int, qint64> moved;
    for (auto it = knownKeys_.cbegin(); it != knownKeys_.cend(); ++it) {
        if (it.key() != position) {
            moved.insert(it.key() > position ? it.key() - 1 : it.key(), it.value());
        }
    }
    knownKeys_ = std::move(moved);
    --onDemandCount_;
}

qint64 RecordSet::keyAt(int position) const {
    return findKey(position).value_or(0);
}

std::optional<qint64> RecordSet::findKey(int position) const {
    if (onDemand_) {
        if (const auto it = knownKeys_.constFind(position); it != knownKeys_.constEnd()) {
            return *it;
        }
        // Past a few pages, the whole keyset costs less than more of them.
        if (knownKeys_.size() < 16 * 256 && loadKeyPage(position)) {
            return knownKeys_.value(position);
        }
        loadAllKeys();
        if (onDemand_) {
            return std::nullopt;  // the keys could not be read
        }
    }
    if (position >= 0 && position < keys_.size()) {
        return keys_[position];
    }
    return std::nullopt;
}

bool RecordSet::loadColumns() {
    Statement info(db_.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table_)));
    while (info.next()) {
        const QString name = info.column(1).text();
        columnByLowerName_.insert(name.toLower(), static_cast<int>(columns_.size()));
        columns_ << name;
        numeric_ << isNumericType(info.column(2).text());
    }
    return !columns_.isEmpty();
}

void RecordSet::noteReadFailure(const Statement& statement) const {
    if (statement.failed() || !statement.isValid()) {
        readError_ =
            statement.failed() ? statement.error() : SqliteFailure::lastOf(db_.handle()).text();
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

// In stored order a row's position is the number of rows stored before it, counted
// from whichever end of the table is nearer (the last rows are the ones most used).
int RecordSet::positionOfKey(qint64 key) const {
    const int last = onDemandCount_ - 1;
    if (last < 0) {
        return -1;
    }
    if (!knownKeys_.contains(last)) {
        loadKeyPage(last);
    }
    for (auto it = knownKeys_.cbegin(); it != knownKeys_.cend(); ++it) {
        if (it.value() == key) {
            return it.key();
        }
    }
    // A user who walks many analyses is served faster by the whole keyset.
    if (++countedLookups_ > 16) {
        loadAllKeys();
        return onDemand_ ? -1 : indexOfKey(key);  // -1: the keys could not be read
    }
    const bool fromEnd = key > knownKeys_.value(last) / 2;
    Statement count(db_.handle(),
                    QStringLiteral("SELECT count(*) FROM %1 WHERE rowid %2 ?")
                        .arg(quoted(table_), fromEnd ? QStringLiteral(">=") : QStringLiteral("<")));
    count.bindInt64(1, key);
    if (!count.next()) {
        noteReadFailure(count);
        return -1;
    }
    const auto counted = static_cast<int>(count.columnInt64(0));
    const int position = fromEnd ? onDemandCount_ - counted : counted;
    if (position < 0 || position > last) {
        return -1;
    }
    knownKeys_.insert(position, key);
    return position;
}

int RecordSet::indexOfKey(qint64 key) const {
    if (onDemand_) {
        return positionOfKey(key);
    }
    if (ascending_) {
        const auto it = std::lower_bound(keys_.cbegin(), keys_.cend(), key);
        return it != keys_.cend() && *it == key ? static_cast<int>(it - keys_.cbegin()) : -1;
    }
    if (!keyIndexValid_) {
        keyIndex_.clear();
        keyIndex_.reserve(keys_.size());
        for (int i = 0; i < keys_.size(); ++i) {
            keyIndex_.insert(keys_[i], i);
        }
        keyIndexValid_ = true;
    }
    return keyIndex_.value(key, -1);
}

bool RecordSet::find(const QString& field, const Value& value) {
    const int column = columnIndex(field);
    const int start = deleted_ ? position_ : qMax(position_, 0);
    leaveRow();
    position_ = recordCount();
    if (column < 0 || start >= recordCount()) {
        return false;
    }
    Statement matches(db_.handle(), QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                                        .arg(quoted(table_), quoted(columns_[column])));
    matches.bind(1, value);
    int best = recordCount();
    while (matches.next()) {
        const int index = indexOfKey(matches.columnInt64(0));
        if (index >= start && index < best) {
            best = index;
        }
    }
    noteReadFailure(matches);
    position_ = best;
    return best < recordCount();
}

const QVector<Value>* RecordSet::currentRow() const {
    if (!hasCurrentRow()) {
        return nullptr;
    }
    if (!row_) {
        const std::optional<qint64> key = findKey(position_);
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
    const std::optional<qint64> key = findKey(position);
    if (!key) {
        return std::nullopt;
    }
    Statement one(db_.handle(), QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
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
    loadAllKeys();
    const int column = columnIndex(name);
    QVector<Value> values(keys_.size());
    if (column < 0) {
        return values;
    }
    // Unordered, so that an index holding the field serves the walk.
    Statement all(
        db_.handle(),
        QStringLiteral("SELECT rowid, %1 FROM %2").arg(quoted(columns_[column]), quoted(table_)));
    while (all.next()) {
        const int index = indexOfKey(all.columnInt64(0));
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
    Statement insert(db_.handle(), sql);
    for (int i = 0; i < values.size(); ++i) {
        insert.bind(i + 1, values[i]);
    }
    if (!insert.run()) {
        error_ = insert.error();
        return false;
    }
    const qint64 key = sqlite3_last_insert_rowid(db_.handle());
    if (onDemand_) {
        knownKeys_.insert(onDemandCount_, key);
        position_ = onDemandCount_++;
        return true;
    }
    ascending_ = ascending_ && (keys_.isEmpty() || keys_.back() < key);
    keys_.push_back(key);
    if (keyIndexValid_) {
        keyIndex_.insert(keys_.back(), static_cast<int>(keys_.size()) - 1);
    }
    position_ = static_cast<int>(keys_.size()) - 1;
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
    Statement change(db_.handle(), QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
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
    if (sqlite3_changes(db_.handle()) == 0) {
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
    Statement remove(db_.handle(),
                     QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(table_)));
    remove.bindInt64(1, keyAt(position_));
    if (!remove.run()) {
        error_ = remove.error();
        return false;
    }
    if (onDemand_) {
        forgetKnownKey(position_);
    } else {
        keys_.remove(position_);
    }
    keyIndexValid_ = false;
    row_.reset();
    deleted_ = true;
    return true;
}
