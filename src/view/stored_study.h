#pragma once

#include <QString>
#include <QVector>

#include "readings.h"
#include "regional_settings.h"
#include "series_row.h"
#include "study.h"

class RecordSet;
struct SharedValues;

// A study as the file stores it, made into the methods' input: the analysis row, its
// series and the settings row.
namespace StoredStudy {

// The settings alone (the analysis fields and readings still to come).
Study withSettings(const RecordSet& settingsRow, const SharedValues& shared);

// Reads the current analysis row, the whole series record set (leaving it at its end)
// and the settings row.
Study fromRecordSets(const RecordSet& analysis, RecordSet& series, const RecordSet& settingsRow,
                     const SharedValues& shared);

// The current analysis row of a kind other than the crossed study, with its readings and
// the settings row.
Study fromReadings(StudyKind kind, const RecordSet& analysis, const QVector<ReadingRow>& rows,
                   const RecordSet& settingsRow, const SharedValues& shared);

// Adds series read elsewhere to a study of the crossed kind.
void addSeries(Study& study, const QVector<SeriesRow>& series);

// Why no result may be made from the readings: a text or an infinity where a measured
// value belongs. Empty when there is none.
QString damageIn(const Study& study, const RegionalSettings& regional);

}  // namespace StoredStudy
