#pragma once

#include <QStringList>
#include <vector>

#include "report_inputs.h"
#include "report_page.h"
#include "surface.h"

// The one-page report of a bias and linearity study: the analysis header, the plot of
// bias against reference (every reading, each part's mean bias, the fitted line, its 95 %
// band and the line bias = 0), the regression's figures with the verdict, and the parts'
// table. Same frame, twips and zoom as the R&R report.
class LinearityPage {
public:
    LinearityPage(const ReportInputs& inputs, double zoom);

    // False only when a printer did not take the finished page.
    bool draw(Surface& s) const;
    // The plot alone, where the page has it (page twips kPlotTop .. kPlotBottom).
    void drawPlot(Surface& s) const;
    static constexpr double kPlotTop = 2950;
    static constexpr double kPlotBottom = 8300;

    // Where the plot draws a point (page twips).
    struct Scale {
        double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
        double x(double reference) const;
        double y(double bias) const;
    };
    Scale scale() const;

private:
    void drawBand(Surface& s, const Scale& k) const;
    void drawAxes(Surface& s, const Scale& k) const;
    void drawRegression(Surface& s) const;
    void drawParts(Surface& s, double top) const;

    const ReportInputs& in_;
    ReportPage page_;
    double zoom_;
};
