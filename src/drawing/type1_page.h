#pragma once

#include <vector>

#include "report_inputs.h"
#include "report_page.h"
#include "surface.h"

// The one-page report of a type-1 study: the analysis header, the run chart (the readings
// in order with the master's value, the band x_m ± K/200·T and the mean), the histogram
// with the master's value, and the table of figures with their verdicts and the notes.
// Same frame, twips and zoom as the R&R report.
class Type1Page {
public:
    Type1Page(const ReportInputs& inputs, double zoom);

    // False only when a printer did not take the finished page.
    bool draw(Surface& s) const;
    // The run chart and the histogram alone, where the page has them (page twips
    // kChartsTop .. kChartsBottom): the main window shows them so.
    void drawCharts(Surface& s) const;
    static constexpr double kChartsTop = 2950;
    static constexpr double kChartsBottom = 10500;

    // Where the run chart draws a value: its plot spans `top` .. `bottom` (page twips).
    struct Scale {
        double low = 0;
        double high = 1;
        double top = 0;
        double bottom = 1;
        double y(double value) const {
            return bottom - (value - low) / (high - low) * (bottom - top);
        }
    };
    Scale runScale() const;

    // The histogram's classes: their lower edge, width and counts.
    struct Classes {
        double first = 0;
        double width = 1;
        std::vector<int> counts;
    };
    static Classes classesOf(const std::vector<double>& readings);

private:
    void drawRunChart(Surface& s) const;
    void drawRunLine(Surface& s, double value, const QColor& colour, const QString& label,
                     int side) const;
    void drawHistogram(Surface& s) const;
    void drawFigures(Surface& s) const;
    void drawNotes(Surface& s, double y) const;

    const ReportInputs& in_;
    ReportPage page_;
    double zoom_;
};
