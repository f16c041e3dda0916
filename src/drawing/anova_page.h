#pragma once

#include <QStringList>
#include <vector>

#include "report_inputs.h"
#include "report_page.h"
#include "surface.h"

// The one-page ANOVA report: the analysis header of the R&R report, the method with
// alpha and the multiplier, the ANOVA table (and the pooled one when the interaction was
// pooled), the variance components, and the evaluation with the verdict colours and the
// average-and-range results beside. Same frame, twips and zoom as the R&R report.
class AnovaPage {
public:
    AnovaPage(const ReportInputs& inputs, double zoom);

    // False only when a printer did not take the finished page.
    bool draw(Surface& s) const;

private:
    struct Table {
        std::vector<double> edges;  // the column borders, left to right
        QStringList headings;
        std::vector<QStringList> rows;  // the first cell left-aligned, the others right
    };

    // Returns the y below the table.
    double drawTable(Surface& s, double y, const QString& title, const Table& table) const;
    double drawHeadings(Surface& s, double y, const Table& table) const;
    double drawWrapped(Surface& s, double y, const QString& text, double size) const;
    void drawEvaluation(Surface& s) const;
    void drawEvaluationRow(Surface& s, double y, const AnovaTexts::Texts::Evaluation& row) const;

    const ReportInputs& in_;
    ReportPage page_;
    double zoom_;
};
