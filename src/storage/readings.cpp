#include "readings.h"

#include "database.h"
#include "schema_additions.h"
#include "statement.h"

namespace Readings {

namespace {

Value optionalNumber(const std::optional<double>& number) {
    return number ? Value(*number) : Value();
}

}  // namespace

std::optional<QVector<ReadingRow>> read(Database& db, const QString& numer, QString* cause) {
    QVector<ReadingRow> rows;
    if (!SchemaAdditions::hasKinds(db)) {
        return rows;
    }
    Statement query(db, QStringLiteral("SELECT Oceniajacy, Czesc, Powtorzenie, Wartosc, "
                                       "Odniesienie, Kategoria FROM Odczyty WHERE Numer = ? "
                                       "ORDER BY Oceniajacy, Czesc, Powtorzenie, rowid"));
    query.bind(1, Value(numer));
    while (query.next()) {
        ReadingRow row;
        row.appraiser = query.column(0);
        if (query.column(1).isNumber()) {
            row.part = static_cast<int>(query.column(1).number());
        }
        row.trial = query.column(2).isNumber() ? static_cast<int>(query.column(2).number()) : 0;
        row.value = query.column(3);
        if (query.column(4).isNumber()) {
            row.reference = query.column(4).number();
        }
        row.category = query.column(5).isText() ? query.column(5).text() : QString();
        rows << row;
    }
    if (query.failed()) {
        *cause = query.error();
        return std::nullopt;
    }
    return rows;
}

QString replace(Database& db, const QString& numer, const QVector<ReadingRow>& rows) {
    if (const QString cause = forget(db, numer); !cause.isEmpty()) {
        return cause;
    }
    Statement insert(db, QStringLiteral("INSERT INTO Odczyty (Numer, Oceniajacy, Czesc, "
                                        "Powtorzenie, Wartosc, Odniesienie, Kategoria) VALUES "
                                        "(?, ?, ?, ?, ?, ?, ?)"));
    for (const ReadingRow& row : rows) {
        insert.reset();
        insert.bind(1, Value(numer));
        insert.bind(2, row.appraiser);
        insert.bind(3, row.part ? Value(*row.part) : Value());
        insert.bindInt64(4, row.trial);
        insert.bind(5, row.value);
        insert.bind(6, optionalNumber(row.reference));
        insert.bind(7, row.category.isEmpty() ? Value() : Value(row.category));
        if (!insert.run()) {
            return insert.error();
        }
    }
    return {};
}

QString forget(Database& db, const QString& numer) {
    if (!SchemaAdditions::hasKinds(db)) {
        return {};
    }
    Statement remove(db, QStringLiteral("DELETE FROM Odczyty WHERE Numer = ?"));
    remove.bind(1, Value(numer));
    return remove.run() ? QString() : remove.error();
}

}  // namespace Readings
