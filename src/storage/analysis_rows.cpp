#include "analysis_rows.h"

#include "database.h"
#include "sql_names.h"

namespace {

QString selectOf(const QStringList& fields) {
    QStringList names;
    for (const QString& field : fields) {
        names << quoted(field);
    }
    return QStringLiteral("SELECT %1 FROM Analiza ORDER BY rowid")
        .arg(names.join(QStringLiteral(", ")));
}

}  // namespace

AnalysisRows::AnalysisRows(Database& db, const QStringList& fields) : rows_(db, selectOf(fields)) {}

// A statement stepped past its end would start again: the end is remembered.
bool AnalysisRows::next() {
    atEnd_ = atEnd_ || !rows_.next();
    return !atEnd_;
}

std::optional<int> AnalysisRows::count(Database& db) {
    Statement count(db, QStringLiteral("SELECT count(*) FROM Analiza"));
    return count.next() ? std::optional<int>(static_cast<int>(count.columnInt64(0))) : std::nullopt;
}
