#pragma once

#include <QFont>
#include <QPainter>
#include <QPointer>

#include "surface.h"

// A surface over a QPainter: the page picture (an image at 96 dots per inch), a PDF
// or a printer. Twips become device pixels at the device's resolution. On a printer or
// a PDF a line "pixel" is a screen pixel (the width is scaled by device dpi / 96), so
// the printed page looks like the preview instead of hairlines.
class PainterSurface : public Surface {
public:
    enum class Target { Picture, Document, Printer };

    // The painter must be active on its device for the surface's lifetime.
    PainterSurface(QPainter& painter, Target target);

    bool isPrinter() const override { return target_ == Target::Printer; }
    void clear() override;
    void setFillSolid(bool solid) override { fillSolid_ = solid; }
    void setFillColour(const QColor& colour) override { fill_ = colour; }
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setBold(bool bold) override;
    bool setLineWidth(int pixels) override;
    void setLineStyle(LineStyle style) override { style_ = style; }
    void setScaleLeft(double twips) override { scaleLeft_ = twips; }
    void setScaleTop(double twips) override { scaleTop_ = twips; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    double textWidth(const QString& text) const override;
    void printText(const QString& text) override;
    void line(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void rectangle(double x1, double y1, double x2, double y2) override;
    void filledCircle(double x, double y, double radius, const QColor& outline) override;
    bool endDocument() override;

private:
    QPointF toDevice(double x, double y) const;
    double toDeviceX(double twips) const;
    QPen pen(const QColor& colour) const;
    QBrush brush() const;

    QPainter& painter_;
    Target target_;
    double dpiX_;
    double dpiY_;
    double penScale_;
    QFont font_;
    bool fillSolid_ = false;
    QColor fill_ = Qt::white;
    int lineWidth_ = 1;
    LineStyle style_ = LineStyle::Solid;
    double scaleLeft_ = 0;
    double scaleTop_ = 0;
    double x_ = 0;
    double y_ = 0;
};
