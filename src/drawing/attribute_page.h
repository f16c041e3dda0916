#pragma once

#include "report_inputs.h"
#include "report_page.h"
#include "surface.h"

// The one-page report of an attribute agreement study: the analysis header, the interval
// plot (each appraiser's agreement within and against the reference, with its exact 95 %
// interval), and the study's tables with the AIAG verdicts in their colours.
class AttributePage {
public:
    AttributePage(const ReportInputs& inputs, double zoom);

    // False only when a printer did not take the finished page.
    bool draw(Surface& s) const;
    // The height on the page (twips) of a percentage in the plot.
    static double plotY(double pct);

private:
    void drawPlot(Surface& s) const;
    double drawTable(Surface& s, double y, const AttributeTexts::Table& t) const;

    const ReportInputs& in_;
    ReportPage page_;
    double zoom_;
};
