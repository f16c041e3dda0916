#pragma once

#include <QVector>

#include "grid_layout.h"
#include "regional_settings.h"
#include "rr_study.h"

// The data grid of a crossed study as the main window and the report show it: row 0 the
// header; per appraiser the series rows, and after a complete block its "Średnia" and
// "Rozstęp" rows and a thin separator; last the "Średnia dla części" row once the study
// is complete. Values are shown with the study's number pattern.
struct StudyGrid {
    GridLayout layout;
    // The grid row of each complete appraiser block's "Rozstęp" row, in block order.
    QVector<int> rangeRows;

    static StudyGrid of(const Study& study, const CrossedDesign& design, const StudyOutput& output,
                        const RegionalSettings& regional);
};
