#include "keyset.h"

#include <algorithm>

#include "sql_names.h"
#include "statement.h"

Keyset::Keyset(Database& db, const QString& table, QString& readError)
    : db_(db), table_(table), readError_(readError) {}

void Keyset::noteFailure(const Statement& statement) const {
    if (const std::optional<QString> cause = statement.failureText()) {
        readError_ = *cause;
    }
}

// Rows in stored (rowid) order come fastest unordered, from whatever small index covers
// them, and sorted here; a table scan would read every page of the table.
bool Keyset::load(const QString& sql, const QVector<Value>& parameters, bool storedOrder,
                  QString* error) {
    return readKeys(sql, parameters, storedOrder, error);
}

bool Keyset::readKeys(const QString& sql, const QVector<Value>& parameters, bool storedOrder,
                      QString* error) const {
    Statement keys(db_, sql);
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
    positionsValid_ = false;
    return true;
}

bool Keyset::loadOnDemand(QString* error) {
    Statement count(db_, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table_)));
    if (!count.next()) {
        *error = count.error();
        return false;
    }
    onDemand_ = true;
    onDemandCount_ = static_cast<int>(count.columnInt64(0));
    return true;
}

// The keys of one page of rows: counted from the end for the last page (the start-up
// shows the last row), from the start for any other.
bool Keyset::loadPageAround(int position) const {
    constexpr int kPage = 256;
    const bool last = position >= onDemandCount_ - kPage;
    const int first = last ? onDemandCount_ - 1 : position / kPage * kPage;
    Statement page(db_,
                   QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid %2 LIMIT %3 OFFSET %4")
                       .arg(quoted(table_), last ? QStringLiteral("DESC") : QStringLiteral("ASC"))
                       .arg(kPage)
                       .arg(last ? 0 : first));
    for (int p = first; p >= 0 && p < onDemandCount_ && page.next(); p += last ? -1 : 1) {
        knownKeys_.insert(p, page.columnInt64(0));
    }
    noteFailure(page);
    return page.error().isEmpty() && knownKeys_.contains(position);
}

bool Keyset::loadAll() const {
    if (!onDemand_) {
        return true;
    }
    QString error;
    if (!readKeys(QStringLiteral("SELECT rowid FROM %1").arg(quoted(table_)), {}, true, &error)) {
        readError_ = error;
        return false;  // the keys stay to be loaded: the next read tries again
    }
    onDemand_ = false;
    knownKeys_.clear();
    // Only this record set changes the table, so the loaded keys are its rows; should
    // another program have added or removed rows meanwhile, the loaded ones count.
    return true;
}

std::optional<qint64> Keyset::keyAt(int position) const {
    if (onDemand_) {
        if (const auto it = knownKeys_.constFind(position); it != knownKeys_.constEnd()) {
            return *it;
        }
        // Past a few pages, the whole keyset costs less than more of them.
        if (knownKeys_.size() < 16 * 256 && loadPageAround(position)) {
            return knownKeys_.value(position);
        }
        if (!loadAll()) {
            return std::nullopt;
        }
    }
    if (position >= 0 && position < keys_.size()) {
        return keys_[position];
    }
    return std::nullopt;
}

// In stored order a row's position is the number of rows stored before it, counted
// from whichever end of the table is nearer (the last rows are the ones most used).
int Keyset::countedPosition(qint64 key) const {
    const int last = onDemandCount_ - 1;
    if (last < 0) {
        return -1;
    }
    if (!knownKeys_.contains(last)) {
        loadPageAround(last);
    }
    for (auto it = knownKeys_.cbegin(); it != knownKeys_.cend(); ++it) {
        if (it.value() == key) {
            return it.key();
        }
    }
    // A user who walks many analyses is served faster by the whole keyset.
    if (++countedLookups_ > 16) {
        return loadAll() ? positionOf(key) : -1;
    }
    const bool fromEnd = key > knownKeys_.value(last) / 2;
    Statement count(db_,
                    QStringLiteral("SELECT count(*) FROM %1 WHERE rowid %2 ?")
                        .arg(quoted(table_), fromEnd ? QStringLiteral(">=") : QStringLiteral("<")));
    count.bindInt64(1, key);
    if (!count.next()) {
        noteFailure(count);
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

int Keyset::positionOf(qint64 key) const {
    if (onDemand_) {
        return countedPosition(key);
    }
    if (ascending_) {
        const auto it = std::lower_bound(keys_.cbegin(), keys_.cend(), key);
        return it != keys_.cend() && *it == key ? static_cast<int>(it - keys_.cbegin()) : -1;
    }
    if (!positionsValid_) {
        positions_.clear();
        positions_.reserve(keys_.size());
        for (int i = 0; i < keys_.size(); ++i) {
            positions_.insert(keys_[i], i);
        }
        positionsValid_ = true;
    }
    return positions_.value(key, -1);
}

int Keyset::append(qint64 key) {
    if (onDemand_) {
        knownKeys_.insert(onDemandCount_, key);
        return onDemandCount_++;
    }
    ascending_ = ascending_ && (keys_.isEmpty() || keys_.back() < key);
    keys_.push_back(key);
    if (positionsValid_) {
        positions_.insert(keys_.back(), static_cast<int>(keys_.size()) - 1);
    }
    return static_cast<int>(keys_.size()) - 1;
}

void Keyset::remove(int position) {
    if (!onDemand_) {
        keys_.remove(position);
        positionsValid_ = false;
        return;
    }
    QHash<int, qint64> moved;
    for (auto it = knownKeys_.cbegin(); it != knownKeys_.cend(); ++it) {
        if (it.key() != position) {
            moved.insert(it.key() > position ? it.key() - 1 : it.key(), it.value());
        }
    }
    knownKeys_ = std::move(moved);
    --onDemandCount_;
}
