#pragma once

#include <QString>
#include <QVector>
#include <utility>

#include "series_row.h"
#include "value.h"

class Database;

// Rows a study file or a verification adds, written as the caller's transaction goes:
// nothing here begins or commits.
namespace NewRows {

// One row of Analiza with the fields given (by column name); empty on success, else the
// engine's cause.
QString insertAnalysis(Database& db, const QVector<std::pair<QString, Value>>& fields);
// The series of an analysis, in order, each with the values of its parts (P1 ..) and
// its average.
QString insertSeries(Database& db, const QString& numer, const QVector<SeriesRow>& series);
// Whether an analysis of that number is stored.
bool numberTaken(Database& db, const QString& numer);

}  // namespace NewRows
