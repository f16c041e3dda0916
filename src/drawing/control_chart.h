#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

#include "report_inputs.h"
#include "surface.h"

// The X-bar and R control charts of an analysis, one above the other, one section per
// appraiser as in the chart window: the points of parts 1..N joined within a section,
// part numbers under them, the centre line and the limits labelled with their values,
// ranges above the limit marked in red, the constants and the share of averages
// outside stated. Drawn into any width and height (twips), so the window resizes it.
class ControlChart {
public:
    // A plot's frame on the surface and the values at its bottom and top edges.
    struct Plot {
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
        double low = 0;
        double high = 1;

        double yOf(double value) const {
            return bottom - (value - low) / (high - low) * (bottom - top);
        }
    };

    ControlChart(const ReportInputs& inputs, double width, double height);

    void draw(Surface& s) const;

    // Where everything goes, the texts measured on the surface in their 9-point font: the
    // two plots, with room on their right for the widest limit label, above the warning
    // under the charts in lines that fit the width (every flagged range named).
    struct Layout {
        Plot averages;
        Plot ranges;
        QStringList warning;
    };
    Layout layoutOn(Surface& s) const;
    // The x of a part's point in an appraiser's section.
    double xOf(const Plot& plot, int appraiser, int part) const;

    // The picture at a size in pixels (96 dots per inch), white behind.
    static QImage picture(const ReportInputs& inputs, const QSize& pixels);
    // PNG at 1123 x 794 pixels (A4 across) or a one-page A4 landscape PDF, by the
    // file's extension; false with the cause when it is not written.
    static bool writeFile(const ReportInputs& inputs, const QString& path, QString* error);

private:
    Plot plotBetween(double top, double bottom, double right,
                     const std::vector<std::vector<double>>& points, double lowLimit,
                     double highLimit) const;
    void drawPlot(Surface& s, const Plot& plot, const QString& title,
                  const std::vector<std::vector<double>>& points,
                  const std::array<std::pair<QString, double>, 3>& lines, bool ranges) const;
    void drawSections(Surface& s, const Plot& plot) const;
    void drawPoints(Surface& s, const Plot& plot, const std::vector<std::vector<double>>& points,
                    bool ranges) const;
    void text(Surface& s, double x, double y, const QString& text, int alignment) const;

    const ReportInputs& in_;
    double width_;
    double height_;
};
