#include "chart_drawing.h"

#include <cmath>

#include "chart_colours.h"
#include "number_pattern.h"
#include "study_input.h"

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
    for (int i = 1; i < k; ++i) {
        s.line(left + wk * i, top, left + wk * i, top + height + shape2.height() - 25,
               QColor(Qt::black));
        s.setCurrentX(100 + wk * (i - 1));
        s.setCurrentY(nameY);
        s.printText(m.names[static_cast<std::size_t>(i - 1)].toText(in.regional));
    }
    s.setCurrentX(100 + wk * (k - 1));
    s.setCurrentY(nameY);
    s.printText(m.names[static_cast<std::size_t>(k - 1)].toText(in.regional));

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
    s.setCurrentX(left + shape1.width() + 50);
    s.setCurrentY(top - 100);
    s.printText(m.hi.format(pattern, in.regional));
    s.setCurrentX(left + shape1.width() + 50);
    s.setCurrentY(top + height - 100);
    s.printText(m.lo.format(pattern, in.regional));

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
