#pragma once

#include <QRectF>
#include <array>

#include "report_inputs.h"
#include "surface.h"

// Wykres: the chart window's picture of the stored values, one section per appraiser
// and one column per part, inside the plot frame Shape1 above the name strip Shape2.
// Its geometry differs from the report's chart (the column width is truncated to whole
// twips). When every value is equal the marks stand on the frame's middle line.
struct ChartDrawing {
    // The window's plot frame (Shape1) and name strip (Shape2), in its picture's
    // twips, and the picture's width.
    static constexpr QRect kPlotFrame{60, 120, 9015, 3345};
    static constexpr QRect kNameStrip{60, 3450, 9015, 285};
    static constexpr double kPictureWidth = 9855;
    static constexpr double kPictureHeight = 3855;

    QRectF shape1 = kPlotFrame;  // the plot frame, in the picture's twips
    QRectF shape2 = kNameStrip;  // the name strip below it
    std::array<bool, 5> series{{true, true, true, true, true}};  // SSCheck1 0..4
    double pictureWidth = kPictureWidth;  // Picture1, whose right edge ends the scale labels
    double fontPoints = 8;                // the surface's font when the drawing starts

    void Wykres(Surface& surface, const ReportInputs& inputs) const;

private:
    void printScaleLabel(Surface& s, const QString& text, double y) const;
};
