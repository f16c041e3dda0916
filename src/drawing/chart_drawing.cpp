#include "chart_drawing.h"

#include <algorithm>
#include <cmath>

#include "chart_colours.h"
#include "number_pattern.h"
#include "study_input.h"
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
    const int k = MeasuredValues::appraiserCount(in.field("LiczbaK"));
    const int n = StudyInput::partCount(in.field("LiczbaN"));
    const int r = MeasuredValues::trialCount(in.field("LiczbaR"));
    s.clear();
    if (k == 0 || n == 0) {
        return;
    }
    const double left = shape1.left();
    const double top = shape1.top();
    const double height = shape1.height();
    const double wk = shape1.width() / k;
    const double nameY = top + height + shape2.height() - 275;
    for (int i = 1; i <= k; ++i) {
        if (i < k) {
            s.line(left + wk * i, top, left + wk * i, top + height + shape2.height() - 25,
                   QColor(Qt::black));
        }
        s.setCurrentX(100 + wk * (i - 1));
        s.setCurrentY(nameY);
        // A long name ends in its own section.
        s.printText(TextFitting::elided(
            s, m.names[static_cast<std::size_t>(i - 1)].toText(in.regional), wk - 150));
    }

    const double pw = std::trunc(wk / n);
    const double lo = m.lo.number();
    const double hi = m.hi.number();
    // All values equal: every mark on the middle line of the frame.
    const bool flat = hi == lo;
    const double sy = flat ? 0 : (height - 200) / std::fabs(hi - lo);
    const double y0 = flat ? top + height / 2 : top + height - 100;
    auto Y = [&](double v) { return y0 - sy * (v - lo); };
    auto X = [&](int p) { return left - pw / 2 + pw * p; };

    const NumberPattern pattern(in.numberPattern);
    printScaleLabel(s, m.hi.format(pattern, in.regional), top - 100);
    printScaleLabel(s, m.lo.format(pattern, in.regional), top + height - 100);

    (void)s.setLineWidth(2);
    s.setFillSolid(true);
    s.setFillColour(ChartColours::kFirstFill);
    int p = 1;
    double grandSum = 0;
    for (int a = 0; a < k; ++a) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            const MeasuredValues::PartFigures f = m.part(a, j, r);
            if (series[1]) {
                s.line(X(p), Y(f.low), X(p), Y(f.high), ChartColours::kRanges);
            }
            if (series[2]) {
                s.filledCircle(X(p), Y(f.mean), 30, ChartColours::kPartMeans);
            }
            sum += f.mean;
            ++p;
        }
        const double appraiserMean = sum / n;
        (void)s.setLineWidth(1);
        s.setLineStyle(Surface::LineStyle::Dotted);
        if (series[3]) {
            s.line(left + wk * (a + 1), Y(appraiserMean), left + wk * a, Y(appraiserMean),
                   ChartColours::kAppraiserMeans);
        }
        s.setLineStyle(Surface::LineStyle::Solid);
        (void)s.setLineWidth(2);
        grandSum += appraiserMean;
    }
    const double grandMean = grandSum / k;
    (void)s.setLineWidth(1);
    s.setLineStyle(Surface::LineStyle::Dotted);
    if (series[4]) {
        s.line(left, Y(grandMean), left + shape1.width(), Y(grandMean), ChartColours::kGrandMean);
    }
    s.setLineStyle(Surface::LineStyle::Solid);

    s.setFillColour(ChartColours::kValues);
    p = 1;
    for (int a = 0; a < k; ++a) {
        for (int j = 0; j < n; ++j) {
            for (int t = 0; t < r; ++t) {
                if (series[0]) {
                    s.filledCircle(X(p), Y(m.at(a, j, t).number()), 30, ChartColours::kValues);
                }
            }
            ++p;
        }
    }
}
