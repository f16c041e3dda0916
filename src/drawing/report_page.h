#pragma once

#include <QString>

#include "report_inputs.h"
#include "surface.h"

// The one-page report: header, data table, chart, results and evaluation, drawn by
// PDT onto any surface at a zoom (the preview's picture, a printer or PDF at zoom 1,
// an image file). Page coordinates are twips at zoom 1; the page frame spans 10000 x
// 14700 and stands 1000 x zoom right of and below the target's corner. A step that
// cannot be done (an empty field, a zero scale) is skipped and drawing goes on.
class ReportPage {
public:
    // The A4 sheet in twips, when no printer says otherwise.
    static constexpr int kSheetWidth = 11906;
    static constexpr int kSheetHeight = 16838;

    ReportPage(const ReportInputs& inputs, double zoom);

    // False only when a printer did not take the finished page.
    bool PDT(Surface& surface) const;
    // Places one text: alignment 0 left edge at x, 1 centred on x, 2 right edge at x.
    void DrP(int x, int y, const QString& text, int alignment, Surface& surface) const;

    // What every page of the program starts with: a clear target, the report font and
    // the frame's origin; then the frame and the analysis header under a title.
    void beginPage(Surface& s) const;
    void drawHeader(Surface& s, const QString& title) const;
    // A study without figures: why, under the header, and the page ends there. False only
    // when a printer did not take it.
    bool drawRefusal(Surface& s, const QString& why) const;

    // Drawing in page twips at zoom 1, for this page and the pages built on it.
    void line(Surface& s, double x1, double y1, double x2, double y2,
              const QColor& colour = Qt::black) const;
    void setZoomedLineWidth(Surface& s, int width) const;
    void setFont(Surface& s, double size, bool bold) const;
    // Width on the page (twips at zoom 1) in the current font.
    // The font size (at most `size`, points) at which the text fits the room (page
    // twips) whole, in the current boldness: a number shrinks, it is never cut.
    double shrunkToFit(const Surface& s, const QString& text, double room, double size) const;
    double pageWidth(const Surface& s, const QString& text) const;
    // The text cut with "…" to fit the room (page twips); whole when it fits.
    QString fitted(const Surface& s, const QString& text, double room) const;

    double zoom() const { return zoom_; }

private:
    // The room between a text and a neighbour on its line, and each half of the header.
    static constexpr double kGap = 150;
    static constexpr double kHalfWidth = 4850;

    void drawCompanyName(Surface& s) const;
    void drawRangeAndError(Surface& s) const;
    void drawCharacteristicAndReference(Surface& s) const;
    void drawNumberAndCounts(Surface& s) const;
    QStringList referenceLines() const;
    void drawTableHeading(Surface& s) const;
    double drawTable(Surface& s) const;  // returns y0, the top of the chart
    double valueFontSize(const Surface& s, double columnWidth) const;
    void drawTableLabels(Surface& s) const;
    void drawChart(Surface& s, double y0) const;
    void drawResults(Surface& s, double y0) const;
    void drawDeclaredError(Surface& s, double y) const;
    void drawEvaluation(Surface& s) const;

    QString plain(const char* field) const;
    QString formatted(const Value& value) const;

    const ReportInputs& in_;
    double zoom_;
    int parts_;
    int appraisers_;
    int trials_;
};

// Rounds a computed page position to a whole number, halves to even.
int pagePosition(double value);
