#pragma once

#include <QString>

#include "factor_tables.h"
#include "regional_settings.h"
#include "shown_numbers.h"
#include "value.h"

class RecordSet;

// The program-wide values, created once at start-up and handed to each window by
// reference: the application folder, the copies of the settings row, the confidence
// level, the report font, the editors' result flag, the factor tables and the user's
// regional settings.
struct SharedValues {
    explicit SharedValues(const RegionalSettings& rs) : regional(rs) {}

    QString applicationFolder;
    Value FD;
    Value FP;
    Value Firma;
    Value POK;
    float PSR = 0.0f;
    Value IK1;
    Value IK2;
    int level = 0;  // confidence-level index: 0 for 99 %, 1 otherwise
    Value type1K;   // the type-1 study's share of the tolerance, percent; empty: 20
    Value type1L;   // and the standard deviations it spans; empty: 6
    QString reportFont = QStringLiteral("Arial CE");
    bool dialogResult = false;
    FactorTables factors;
    RegionalSettings regional;
    // The texts of the numbers the statistics have shown, for the next recomputation.
    ShownNumbers shownNumbers{regional};

    QString numberPattern() const { return FP.toText(regional); }
    QString datePattern() const { return FD.toText(regional); }

    // The whole settings row, at start-up.
    void load(const RecordSet& settingsRow);
    // When the settings window closes.
    void refreshAfterSettingsWindow(const RecordSet& settingsRow);
    // When the main window's settings command regains control.
    void refreshAfterSettingsCommand(const RecordSet& settingsRow);

    static int levelFromProc(const Value& proc);
};
