#include "chart_drawing.h"

#include <algorithm>
#include <cmath>

#include "chart_plot.h"
#include "crossed_design.h"
#include "number_pattern.h"
#include "text_fitting.h"

// A scale label stands right of the plot frame. A number too wide for the room before
// the picture's edge is drawn in a smaller font, and right-aligned at the edge when even
// that is too wide: a number is never shown cut.
void ChartDrawing::printScaleLabel(Surface& s, const QString& text, double y) const {
    constexpr double kMargin = 15;
    constexpr double kSmallest = 5;
    const double x = shape1.right() + 50;
    const double room = pictureWidth - kMargin - x;
    const double width = s.textWidth(text);
    if (width > room && width > 0) {
        s.setFontSize(std::max(kSmallest, 0.95 * fontPoints * room / width));
    }
    s.setCurrentX(std::min(x, pictureWidth - kMargin - s.textWidth(text)));
    s.setCurrentY(y);
    s.printText(text);
    s.setFontSize(fontPoints);
}

void ChartDrawing::Wykres(Surface& s, const ReportInputs& in) const {
    const MeasuredValues& m = in.measured;
    const int k = CrossedDesign::appraiserCount(in.field("LiczbaK"));
    const int n = CrossedDesign::partCount(in.field("LiczbaN"));
    const int r = CrossedDesign::trialCount(in.field("LiczbaR"));
    s.clear();
    if (k == 0 || n == 0) {
        return;
    }
    const ChartGeometry g = ChartGeometry::forWindow(shape1, k, n, m.lo.number(), m.hi.number());
    const double top = shape1.top();
    const double nameY = top + shape1.height() + shape2.height() - 275;
    for (int i = 1; i <= k; ++i) {
        if (i < k) {
            s.line(g.left + g.bandWidth * i, top, g.left + g.bandWidth * i,
                   top + shape1.height() + shape2.height() - 25, QColor(Qt::black));
        }
        s.setCurrentX(100 + g.bandWidth * (i - 1));
        s.setCurrentY(nameY);
        // A long name ends in its own section.
        s.printText(
            TextFitting::elided(s, m.names.value(i - 1).toText(in.regional), g.bandWidth - 150));
    }
    const NumberPattern pattern(in.numberPattern);
    printScaleLabel(s, m.hi.format(pattern, in.regional), top - 100);
    printScaleLabel(s, m.lo.format(pattern, in.regional), top + shape1.height() - 100);
    ChartSeries{m, k, n, r}.draw(s, g, series, 1.0);
}
