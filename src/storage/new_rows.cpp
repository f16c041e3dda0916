#include "new_rows.h"

#include <QStringList>

#include "database.h"
#include "sql_names.h"
#include "statement.h"

namespace NewRows {

namespace {

QString insertInto(const char* table, const QStringList& columns) {
    QStringList names;
    for (const QString& column : columns) {
        names << quoted(column);
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(table), names.join(QStringLiteral(", ")),
             QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
}

}  // namespace

QString insertAnalysis(Database& db, const QVector<std::pair<QString, Value>>& fields) {
    QStringList columns;
    for (const auto& [name, value] : fields) {
        columns << name;
    }
    Statement insert(db, insertInto("Analiza", columns));
    for (int i = 0; i < fields.size(); ++i) {
        insert.bind(i + 1, fields[i].second);
    }
    return insert.run() ? QString() : insert.error();
}

QString insertSeries(Database& db, const QString& numer, const QVector<SeriesRow>& series) {
    const int parts = series.isEmpty() ? 0 : static_cast<int>(series.first().parts.size());
    QStringList columns{QStringLiteral("ID"), QStringLiteral("Operator")};
    for (int j = 1; j <= parts; ++j) {
        columns << QStringLiteral("P%1").arg(j);
    }
    columns << QStringLiteral("ObX");
    Statement insert(db, insertInto("DanePom", columns));
    for (const SeriesRow& row : series) {
        insert.reset();
        insert.bind(1, Value(numer));
        insert.bind(2, row.appraiser);
        for (int j = 0; j < parts; ++j) {
            insert.bind(j + 3, row.parts.value(j));
        }
        insert.bind(parts + 3, row.average);
        if (!insert.run()) {
            return insert.error();
        }
    }
    return {};
}

bool numberTaken(Database& db, const QString& numer) {
    Statement query(db, QStringLiteral("SELECT 1 FROM Analiza WHERE Numer = ?"));
    query.bind(1, Value(numer));
    return query.next();
}

}  // namespace NewRows
