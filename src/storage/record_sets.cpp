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

std::unique_ptr<RecordSet> series(Database& db, const QString& numer, QString* error) {
    return RecordSet::open(db,
                           {QStringLiteral("DanePom"),
                            QStringLiteral("ID = ?"),
                            {Value(numer)},
                            QStringLiteral("Operator COLLATE LOCALE, rowid")},
                           error);
}

std::optional<int> countSeries(Database& db, const QString& numer, const QString& appraiser) {
    Statement count(db.handle(),
                    QStringLiteral("SELECT count(ID) FROM DanePom WHERE ID = ? AND Operator = ?"));
    count.bind(1, Value(numer));
    count.bind(2, Value(appraiser));
    if (!count.next()) {
        return std::nullopt;
    }
    return static_cast<int>(count.columnInt64(0));
}

std::optional<int> countAnalysesNaming(Database& db, const QString& profile) {
    Statement count(db.handle(), QStringLiteral("SELECT count(*) FROM Analiza WHERE NazwaT = ?"));
    count.bind(1, Value(profile));
    if (!count.next()) {
        return std::nullopt;
    }
    return static_cast<int>(count.columnInt64(0));
}

}  // namespace RecordSets
