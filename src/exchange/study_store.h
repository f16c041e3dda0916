#pragma once

#include <QHash>
#include <QString>

#include "report_inputs.h"
#include "study_file.h"

class Database;

// Between the database and a study file: the stored analysis as a file, and a file
// stored as a new analysis.
namespace StudyStore {

// The analysis the inputs were gathered from: its fields and stored values.
StudyFile fileOf(const ReportInputs& inputs);

// When the readings were taken, for a DFQ: the analysis date when it reads as one
// (yyyy-mm-dd), else the day the inputs were gathered.
QDateTime readingsDate(const ReportInputs& inputs);

// The first header field (the file's "#" lines, then those given, which win) that the
// analysis editor would refuse, as "FIELD: why"; empty when all are right. The file's
// numbers are read with the decimal of its data.
QString refusedField(const StudyFile& study, const QHash<QString, QString>& header);

// Stores the study as a new analysis with the number and header fields given (over those
// the file names), N, K and R from the file, the series with their averages; all in one
// transaction, so an import is whole or absent. Nothing is stored with a refused field.
// Empty on success, else the cause.
QString storeNew(Database& db, const StudyFile& study, const QString& numer,
                 const QHash<QString, QString>& header);

// The series of the study under an analysis number, inside the caller's transaction.
QString storeSeries(Database& db, const StudyFile& study, const QString& numer);
// Its series or, for another kind, its readings; likewise.
QString storeValues(Database& db, const StudyFile& study, const QString& numer);

}  // namespace StudyStore
