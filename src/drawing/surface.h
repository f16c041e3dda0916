#pragma once

#include <QColor>
#include <QString>

// What the report page and the chart draw on: the retained-picture drawing operations, in the
// target's own unit, twips. Positions are relative to the scale origin (scale-left and
// scale-top: the coordinates of the target's top-left corner). Line widths are in
// screen pixels. Texts stand with their top-left corner at the current position, in
// black. Implementations: a painter over an image, a printer or a PDF, and a recording
// surface for tests.
class Surface {
public:
    enum class LineStyle { Solid, Dotted };

    virtual ~Surface() = default;

    virtual bool isPrinter() const = 0;
    virtual void clear() = 0;
    virtual void setFillSolid(bool solid) = 0;
    virtual void setFillColour(const QColor& colour) = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
    // Widths below one pixel are refused: false, and the previous width stays.
    virtual bool setLineWidth(int pixels) = 0;
    virtual void setLineStyle(LineStyle style) = 0;
    virtual void setScaleLeft(double twips) = 0;
    virtual void setScaleTop(double twips) = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual void printText(const QString& text) = 0;
    virtual void line(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    // Outlined in black with the line width, filled by the fill settings.
    virtual void rectangle(double x1, double y1, double x2, double y2) = 0;
    // Outlined in the colour, filled by the fill settings.
    virtual void filledCircle(double x, double y, double radius, const QColor& outline) = 0;
    // The printer sends the page; other targets do nothing. False when the page was
    // not taken (the queue refused the job).
    virtual bool endDocument() = 0;
};
