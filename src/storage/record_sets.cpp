#include "record_sets.h"

#include "statement.h"

namespace RecordSets {

std::unique_ptr<RecordSet> analyses(Database& db, QString* error) {
    return RecordSet::open(db, {QStringLiteral("Analiza"), {}, {}, {}, true}, error);
}

std::unique_ptr<RecordSet> analysesNumbered(Database& db, const QString& numer, QString* error) {
    return RecordSet::open(
        db, {QStringLiteral("Analiza"), QStringLiteral("Numer = ?"), {Value(numer)}, {}}, error);
}

std::unique_ptr<RecordSet> settings(Database& db, QString* error) {
    return RecordSet::open(db, {QStringLiteral("Ustawienia"), {}, {}, {}}, error);
}

std::unique_ptr<RecordSet> profiles(Database& db, QString* error) {
    return RecordSet::open(db, {QStringLiteral("Trans"), {}, {}, {}}, error);
}

namespace {

// The analysis's series as the index lists them (ID, Operator), read on past their end
// and with the two entries before them, against the rows the index points to: a row whose
// appraiser or analysis a damaged page changed, or a damaged index entry (which hides the
// series after it from a search, but not from a scan that reads it), would otherwise be
// read as another study and judged. A few rowid lookups, whatever the file's size. Empty
// when they agree, else the cause.
QString seriesDisagreeingWithIndex(Database& db, const QString& numer) {
    Statement check(
        db, QStringLiteral(
                "SELECT count(*) FROM (SELECT * FROM (SELECT rowid AS r, ID, Operator FROM DanePom "
                "WHERE ID >= ?1 ORDER BY ID, Operator LIMIT (SELECT count(*) FROM DanePom WHERE "
                "ID = ?1) + 3) UNION ALL SELECT * FROM (SELECT rowid, ID, Operator FROM DanePom "
                "WHERE ID < ?1 ORDER BY ID DESC, Operator DESC LIMIT 2)) AS i WHERE NOT EXISTS "
                "(SELECT 1 FROM DanePom AS t NOT INDEXED WHERE t.rowid = i.r AND t.ID IS i.ID AND "
                "t.Operator IS i.Operator)"));
    check.bind(1, Value(numer));
    if (!check.next()) {
        return check.failureText().value_or(SqliteFailure::corrupt().text());
    }
    return check.columnInt64(0) == 0 ? QString()
                                     : QString::fromUtf8("%1: serie niezgodne z indeksem")
                                           .arg(SqliteFailure::corrupt().sentence());
}

}  // namespace

std::unique_ptr<RecordSet> series(Database& db, const QString& numer, QString* error) {
    if (const QString damage = seriesDisagreeingWithIndex(db, numer); !damage.isEmpty()) {
        if (error) {
            *error = damage;
        }
        return nullptr;
    }
    return RecordSet::open(db,
                           {QStringLiteral("DanePom"),
                            QStringLiteral("ID = ?"),
                            {Value(numer)},
                            QStringLiteral("Operator COLLATE LOCALE, rowid")},
                           error);
}

std::optional<int> countSeries(Database& db, const QString& numer, const QString& appraiser) {
    Statement count(db,
                    QStringLiteral("SELECT count(ID) FROM DanePom WHERE ID = ? AND Operator = ?"));
    count.bind(1, Value(numer));
    count.bind(2, Value(appraiser));
    if (!count.next()) {
        return std::nullopt;
    }
    return static_cast<int>(count.columnInt64(0));
}

std::optional<int> countAnalysesNaming(Database& db, const QString& profile) {
    Statement count(db, QStringLiteral("SELECT count(*) FROM Analiza WHERE NazwaT = ?"));
    count.bind(1, Value(profile));
    if (!count.next()) {
        return std::nullopt;
    }
    return static_cast<int>(count.columnInt64(0));
}

}  // namespace RecordSets
