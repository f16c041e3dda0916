#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "value.h"

class Database;

// Historia: every correction of a measured value, kept so that a study's history can be
// shown to an auditor. The table is one of the program's additions to a file
// (SchemaAdditions); a file without it (read-only, or from before them) has no history
// and works as before.
namespace History {

struct Entry {
    QDateTime when;
    QString numer;
    QString appraiser;
    int part = 0;   // from 1
    int trial = 0;  // from 1, the series' place among its appraiser's series
    Value oldValue;
    Value newValue;
    QString why;
};

bool hasTable(Database& db);
// Inside the caller's transaction when there is one. Empty on success, else the cause.
QString record(Database& db, const Entry& entry);
// The entries go with what they describe, in the caller's transaction: every entry of a
// deleted analysis (or of all its series), so none attaches to a later analysis of the
// same number; those of one deleted series, its appraiser's later series moving up a
// trial as the series themselves do. Empty on success (or without the table), else the
// cause.
QString forgetAnalysis(Database& db, const QString& numer);
QString forgetSeries(Database& db, const QString& numer, const QString& appraiser, int trial);
// The analysis's entries, oldest first; empty for a file without the table. Nothing
// when the read failed (the cause in *error).
std::optional<std::vector<Entry>> read(Database& db, const QString& numer, QString* error);

}  // namespace History
