#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

#include "database.h"
#include "keyset.h"
#include "statement.h"
#include "value.h"

// Row access over a Keyset of one table (which rows, in what order: see keyset.h) and
// the edit buffer. It has a current row that the move operations position; fields are read and
// written by name without regard to letter case ("NUmerC" is "NumerC"). Changes reach the file on
// update(), one commit each. Text written to a number field is read with the user's regional
// settings; a text that is not a number is refused and the field keeps its value.
class RecordSet {
public:
    struct Query {
        QString table;
        QString where;  // with "?" placeholders, without "WHERE"
        QVector<Value> parameters;
        QString orderBy;  // without "ORDER BY"
        // A whole table in stored order (no condition, no order) may load its keys when
        // first needed: the count at once, the last rows next, the rest only when a row
        // before them is reached. For a set that only this record set changes.
        bool keysOnDemand = false;
    };

    // Null when the query cannot be run; the reason is in *error.
    static std::unique_ptr<RecordSet> open(Database& db, const Query& query,
                                           QString* error = nullptr);

    int recordCount() const { return keyset_.count(); }
    bool isEof() const { return !deleted_ && position_ >= recordCount(); }
    bool isBof() const { return position_ < 0 || (recordCount() == 0 && !deleted_); }
    bool hasCurrentRow() const { return !deleted_ && position_ >= 0 && position_ < recordCount(); }
    int position() const { return position_; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Moves n rows from the current one (negative: back); stops at either end.
    void move(int n);

    // Searches forward from the current row (included) for the first row whose field
    // equals the value exactly; leaves the record set at its end when there is none.
    bool find(const QString& field, const Value& value);

    // The current row's field, or the value being edited; empty without a current row.
    Value field(const QString& name) const;
    // One field of the row at a position, without moving the current row.
    Value fieldAt(int position, const QString& name) const;
    // The same, but nothing when the read failed (the cause goes to readError()).
    std::optional<Value> readFieldAt(int position, const QString& name) const;
    // All values of one field, in record-set order (for walking large sets at once).
    QVector<Value> column(const QString& name) const;

    // Starts or continues an edit of the current row (or of the new row after
    // addNew()). False, with the row left as it was, when the value does not fit.
    [[nodiscard]] bool setField(const QString& name, const Value& value);
    void addNew();
    // Writes the pending new row or edit and commits it.
    [[nodiscard]] bool update();
    void cancelUpdate();

    // Deletes the current row and commits; the deleted row stays current (with no
    // fields) until the next move, and moveNext() then goes to the row after it.
    [[nodiscard]] bool deleteCurrent();

    QString lastError() const { return error_; }
    // The cause of the last read that failed (a damaged file, a lock held too long);
    // empty while every read since clearReadError() succeeded. A failed read gives
    // empty values, which must never be taken for data.
    QString readError() const { return readError_; }
    void clearReadError() { readError_.clear(); }

private:
    enum class Mode { None, Editing, Adding };

    RecordSet(Database& db, const QString& table);
    int columnIndex(const QString& name) const;
    void noteReadFailure(const Statement& statement) const;
    void checkIndexAround(const QString& field, const Value& value) const;
    QString loadColumns();
    const QVector<Value>* currentRow() const;
    qint64 keyAt(int position) const;
    void leaveRow();
    std::optional<Value> convertForColumn(int column, const Value& value);
    bool insertRow();
    bool updateRow();

    Database& db_;
    QString table_;
    QStringList columns_;
    QVector<bool> numeric_;
    QHash<QString, int> columnByLowerName_;

    mutable QString readError_;  // before the keyset, which reports into it
    Keyset keyset_;
    int position_ = -1;
    bool deleted_ = false;

    mutable std::unique_ptr<Statement> fetch_;
    QVector<Value> fetchParameters_;  // the query's, after the row's key
    mutable std::optional<QVector<Value>> row_;

    Mode mode_ = Mode::None;
    QVector<Value> buffer_;
    QVector<bool> dirty_;
    QString error_;
};
