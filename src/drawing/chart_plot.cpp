#include "chart_plot.h"

#include <cmath>

#include "chart_colours.h"

ChartGeometry ChartGeometry::forReport(double y0, int appraisers, int parts, double lo, double hi) {
    ChartGeometry g;
    g.width = 9000;
    g.bandWidth = appraisers > 0 ? 9000.0 / appraisers : 0;
    g.slotWidth = parts > 0 ? g.bandWidth / parts : 0;
    g.scale = hi != lo ? 1900.0 / std::fabs(hi - lo) : 0;  // all equal: on the base line
    g.base = y0 + 1950;
    g.lowest = lo;
    return g;
}

ChartGeometry ChartGeometry::forWindow(const QRectF& frame, int appraisers, int parts, double lo,
                                       double hi) {
    ChartGeometry g;
    g.left = frame.left();
    g.width = frame.width();
    g.bandWidth = appraisers > 0 ? frame.width() / appraisers : 0;
    g.slotWidth = parts > 0 ? std::trunc(g.bandWidth / parts) : 0;
    const bool flat = hi == lo;
    g.scale = flat ? 0 : (frame.height() - 200) / std::fabs(hi - lo);
    g.base = flat ? frame.top() + frame.height() / 2 : frame.top() + frame.height() - 100;
    g.lowest = lo;
    g.meansLeftward = true;
    return g;
}

void ChartSeries::draw(Surface& s, const ChartGeometry& g, const std::array<bool, 5>& shown,
                       double zoom) const {
    auto line = [&](double x1, double y1, double x2, double y2, const QColor& colour) {
        s.line(x1 * zoom, y1 * zoom, x2 * zoom, y2 * zoom, colour);
    };
    const double radius = 30 * zoom;
    (void)s.setLineWidth(2);
    s.setFillSolid(true);
    s.setFillColour(ChartColours::kFirstFill);
    int p = 1;
    double total = 0;
    for (int a = 0; a < appraisers; ++a) {
        double sum = 0;
        for (int j = 0; j < parts; ++j) {
            const MeasuredValues::PartFigures f = measured.part(a, j, trials);
            if (shown[1]) {
                line(g.x(p), g.y(f.low), g.x(p), g.y(f.high), ChartColours::kRanges);
            }
            if (shown[2]) {
                s.filledCircle(g.x(p) * zoom, g.y(f.mean) * zoom, radius, ChartColours::kPartMeans);
            }
            ++p;
            sum += f.mean;
        }
        const double mean = parts > 0 ? sum / parts : 0;
        (void)s.setLineWidth(1);
        s.setLineStyle(Surface::LineStyle::Dotted);
        if (shown[3]) {
            const double from = g.left + g.bandWidth * (g.meansLeftward ? a + 1 : a);
            const double to = g.left + g.bandWidth * (g.meansLeftward ? a : a + 1);
            line(from, g.y(mean), to, g.y(mean), ChartColours::kAppraiserMeans);
        }
        s.setLineStyle(Surface::LineStyle::Solid);
        (void)s.setLineWidth(2);
        total += mean;
    }
    const double grandMean = appraisers > 0 ? total / appraisers : 0;
    (void)s.setLineWidth(1);
    s.setLineStyle(Surface::LineStyle::Dotted);
    if (shown[4]) {
        line(g.left, g.y(grandMean), g.left + g.width, g.y(grandMean), ChartColours::kGrandMean);
    }
    s.setLineStyle(Surface::LineStyle::Solid);
    s.setFillColour(ChartColours::kValues);
    p = 1;
    for (int a = 0; a < appraisers; ++a) {
        for (int j = 0; j < parts; ++j) {
            for (int t = 0; t < trials && shown[0]; ++t) {
                s.filledCircle(g.x(p) * zoom, g.y(measured.at(a, j, t).number()) * zoom, radius,
                               ChartColours::kValues);
            }
            ++p;
        }
    }
}
