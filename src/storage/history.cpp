#include "history.h"

#include "database.h"
#include "schema_additions.h"
#include "statement.h"

namespace History {

bool hasTable(Database& db) {
    return SchemaAdditions::hasHistory(db);
}

QString record(Database& db, const Entry& e) {
    Statement insert(db, QStringLiteral("INSERT INTO Historia (Kiedy, Numer, Operator, Czesc, "
                                        "Powtorzenie, Bylo, Jest, Dlaczego) VALUES (?, ?, ?, ?, ?, "
                                        "?, ?, ?)"));
    insert.bind(1, Value(e.when.toString(Qt::ISODate)));
    insert.bind(2, Value(e.numer));
    insert.bind(3, Value(e.appraiser));
    insert.bindInt64(4, e.part);
    insert.bindInt64(5, e.trial);
    insert.bind(6, e.oldValue);
    insert.bind(7, e.newValue);
    insert.bind(8, Value(e.why));
    return insert.run() ? QString() : insert.error();
}

QString forgetAnalysis(Database& db, const QString& numer) {
    if (!hasTable(db)) {
        return {};
    }
    Statement remove(db, QStringLiteral("DELETE FROM Historia WHERE Numer = ?"));
    remove.bind(1, Value(numer));
    return remove.run() ? QString() : remove.error();
}

QString forgetSeries(Database& db, const QString& numer, const QString& appraiser, int trial) {
    if (!hasTable(db)) {
        return {};
    }
    Statement remove(db, QStringLiteral("DELETE FROM Historia WHERE Numer = ? AND Operator = ? AND "
                                        "Powtorzenie = ?"));
    Statement renumber(db, QStringLiteral("UPDATE Historia SET Powtorzenie = Powtorzenie - 1 WHERE "
                                          "Numer = ? AND Operator = ? AND Powtorzenie > ?"));
    for (Statement* statement : {&remove, &renumber}) {
        statement->bind(1, Value(numer));
        statement->bind(2, Value(appraiser));
        statement->bindInt64(3, trial);
        if (!statement->run()) {
            return statement->error();
        }
    }
    return {};
}

std::optional<std::vector<Entry>> read(Database& db, const QString& numer, QString* error) {
    std::vector<Entry> out;
    if (!hasTable(db)) {
        return out;
    }
    Statement query(db, QStringLiteral("SELECT Kiedy, Operator, Czesc, Powtorzenie, Bylo, Jest, "
                                       "Dlaczego FROM Historia WHERE Numer = ? ORDER BY rowid"));
    query.bind(1, Value(numer));
    while (query.next()) {
        Entry e;
        e.when = QDateTime::fromString(query.column(0).toText(db.regional()), Qt::ISODate);
        e.numer = numer;
        e.appraiser = query.column(1).toText(db.regional());
        e.part = static_cast<int>(query.columnInt64(2));
        e.trial = static_cast<int>(query.columnInt64(3));
        e.oldValue = query.column(4);
        e.newValue = query.column(5);
        e.why = query.column(6).toText(db.regional());
        out.push_back(e);
    }
    if (query.failed()) {
        *error = query.error();
        return std::nullopt;
    }
    return out;
}

}  // namespace History
