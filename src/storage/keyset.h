#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

#include "database.h"
#include "value.h"

class Statement;

// Which rows a record set holds and in what order: the keys (rowids) its query found,
// plus the rows added through it, minus the rows deleted through it. A whole table in
// stored order may be held on demand: the count at once, the keys of a page of rows
// when a row of it is first reached, all of them when that costs less. A read that
// fails is told through the read-error text given at construction and never kept: the
// next call tries again.
class Keyset {
public:
    Keyset(Database& db, const QString& table, QString& readError);

    // The keys of a query ("SELECT rowid ..."), at once; false with the cause.
    bool load(const QString& sql, const QVector<Value>& parameters, bool storedOrder,
              QString* error);
    // The whole table in stored order, its keys loaded when needed; false with the cause.
    bool loadOnDemand(QString* error);

    int count() const { return onDemand_ ? onDemandCount_ : static_cast<int>(keys_.size()); }
    // Nothing when the keys cannot be read now, or the position holds no row.
    std::optional<qint64> keyAt(int position) const;
    // -1 when the key is not held or cannot be placed now.
    int positionOf(qint64 key) const;
    // Every key in memory; false when they cannot be read now.
    bool loadAll() const;

    // A row added through the record set goes last; its position is returned.
    int append(qint64 key);
    // The rows after a deleted one move up by one place.
    void remove(int position);

private:
    bool readKeys(const QString& sql, const QVector<Value>& parameters, bool storedOrder,
                  QString* error) const;
    bool loadPageAround(int position) const;
    int countedPosition(qint64 key) const;
    void noteFailure(const Statement& statement) const;

    Database& db_;
    QString table_;
    QString& readError_;
    mutable QVector<qint64> keys_;
    mutable bool ascending_ = true;  // keys in rowid order: found by binary search
    mutable QHash<qint64, int> positions_;
    mutable bool positionsValid_ = false;
    // Held on demand: the count of rows and the keys known so far by position.
    mutable bool onDemand_ = false;
    int onDemandCount_ = 0;
    mutable QHash<int, qint64> knownKeys_;
    mutable int countedLookups_ = 0;
};
