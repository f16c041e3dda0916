#pragma once

#include <QColor>

// The colours of the chart's series, as the report's chart, the chart window and the
// chart window's legend draw them.
namespace ChartColours {

inline const QColor kValues{255, 0, 0};        // the single measured values
inline const QColor kRanges{0, 0, 255};        // each part's range
inline const QColor kPartMeans{255, 255, 0};   // each part's average
inline const QColor kAppraiserMeans{0, 0, 0};  // each appraiser's average line
inline const QColor kGrandMean{255, 0, 255};   // the grand-average line
inline const QColor kFirstFill{0, 255, 0};     // the fill set before the part figures

}  // namespace ChartColours
