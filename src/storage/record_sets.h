#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "record_set.h"

// The record sets the program keeps on its database, and the series-count query.
// Analysis numbers and appraiser names are bound parameters: an apostrophe in them is
// data, never SQL, and they are compared exactly as stored.
namespace RecordSets {

// Each is null when its rows cannot be read, with the engine's cause in *error.
// "Select * from Analiza", in the order the rows were stored.
std::unique_ptr<RecordSet> analyses(Database& db, QString* error = nullptr);
// Only the analyses of one number, found through the number's index: for a reader of
// one analysis, whose cost must not grow with the file.
std::unique_ptr<RecordSet> analysesNumbered(Database& db, const QString& numer,
                                            QString* error = nullptr);
// "Select * from Ustawienia"
std::unique_ptr<RecordSet> settings(Database& db, QString* error = nullptr);
// "Select * from Trans"
std::unique_ptr<RecordSet> profiles(Database& db, QString* error = nullptr);
// The series of one analysis, appraisers in the locale's text order, each appraiser's
// series in the order they were stored.
// Null when the series cannot be read, with the cause in *error.
std::unique_ptr<RecordSet> series(Database& db, const QString& numer, QString* error = nullptr);
// How many analyses name a data-transmission profile; empty when the query fails.
std::optional<int> countAnalysesNaming(Database& db, const QString& profile);
// How many series one appraiser has in one analysis; empty when the query fails.
std::optional<int> countSeries(Database& db, const QString& numer, const QString& appraiser);

}  // namespace RecordSets
