#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "value.h"

class Database;

// The readings of a study of a kind other than the crossed R&R study, one row each in
// Odczyty, in the order they were taken.
struct ReadingRow {
    Value appraiser;                  // empty where the kind has none
    std::optional<int> part;          // from 1; empty where the kind has one part
    int trial = 0;                    // from 1, the order within appraiser and part
    Value value;                      // a number, or empty
    std::optional<double> reference;  // the part's reference value, where the kind has one
    QString category;                 // an attribute study's answer
};

namespace Readings {

// The readings of an analysis in their order; nothing when the read failed (the cause
// in *cause). A file without the table holds none.
std::optional<QVector<ReadingRow>> read(Database& db, const QString& numer, QString* cause);
// Replaces the readings of an analysis by these, inside the caller's transaction; empty
// on success, else the engine's cause.
QString replace(Database& db, const QString& numer, const QVector<ReadingRow>& rows);
// Removes them, inside the caller's transaction (with the analysis).
QString forget(Database& db, const QString& numer);

}  // namespace Readings
