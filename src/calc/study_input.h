#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "factor_tables.h"
#include "regional_settings.h"
#include "series_row.h"
#include "shown_numbers.h"
#include "value.h"

class RecordSet;
struct SharedValues;

// One measurement series as the record set delivers it.
using SeriesInput = SeriesRow;

// Everything the R&R statistics read: the analysis header, the settings, and the
// series in record-set order (appraisers together, in the locale's order).
struct StudyInput {
    Value parts;          // LiczbaN
    Value appraisers;     // LiczbaK
    Value trials;         // LiczbaR
    Value referenceMode;  // CoRef
    Value WN;
    Value GWG;
    Value DWG;
    Value FRTol;
    QString numberPattern;  // FP
    int level = 0;
    Value POK;
    float PSR = 0.0f;
    Value IK1;
    Value IK2;
    QVector<SeriesInput> series;
    // Where the texts of the numbers already shown are kept; none: each is made anew.
    ShownNumbers* shown = nullptr;

    // N as a count of part fields: the stored LiczbaN, limited to the ten fields P1..P10.
    static int partCount(const Value& liczbaN);
    // The reference mode 0..4 that CoRef names (empty counts as 0); none for a text or
    // any other number. The statistics, the main window and the report read it alike.
    static std::optional<int> referenceModeOf(const Value& coRef);

    // The settings alone (the analysis fields and series still to come).
    static StudyInput withSettings(const RecordSet& settingsRow, const SharedValues& shared);
    // Reads the current analysis row, the whole series record set (leaving it at its
    // end) and the settings row.
    static StudyInput fromRecordSets(const RecordSet& analysis, RecordSet& series,
                                     const RecordSet& settingsRow, const SharedValues& shared);
};
