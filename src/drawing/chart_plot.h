#pragma once

#include <QRectF>
#include <array>

#include "measured_values.h"
#include "surface.h"

// Where the values of a chart stand: one band per appraiser, one slot per part in it,
// and values scaled between the lowest and the highest. The report and the chart window
// build it each with their own rounding; one routine then draws the series on it.
struct ChartGeometry {
    double left = 0;       // the plot's left edge
    double width = 0;      // and its width
    double bandWidth = 0;  // one appraiser
    double slotWidth = 0;  // one part within the band
    double base = 0;       // where the lowest value stands
    double scale = 0;      // per unit of value; 0 when all values are equal
    double lowest = 0;
    bool meansLeftward = false;  // the window draws each appraiser's mean line leftwards

    double x(int slot) const { return left - slotWidth / 2 + slotWidth * slot; }
    double y(double value) const { return base - scale * (value - lowest); }

    // The report's chart below the table (its top at y0): 9000 twips wide, values over
    // 1900 twips, slots of fractional width.
    static ChartGeometry forReport(double y0, int appraisers, int parts, double lo, double hi);
    // The chart window's plot frame: slots of whole twips, values 100 twips inside the
    // frame, all on its middle line when they are equal.
    static ChartGeometry forWindow(const QRectF& frame, int appraisers, int parts, double lo,
                                   double hi);
};

// The five series of a chart, in this order: each part's range and average, each
// appraiser's average line, the grand average line, then every single value over them.
// `shown` are the switches of the report settings PW1..PW5 or the window's boxes, in the
// order single values, ranges, part averages, appraiser averages, grand average.
// Positions are multiplied by the zoom.
struct ChartSeries {
    const MeasuredValues& measured;
    int appraisers;
    int parts;
    int trials;

    void draw(Surface& surface, const ChartGeometry& geometry, const std::array<bool, 5>& shown,
              double zoom) const;
};
