#include "painter_surface.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPaintDevice>

#include "report_font.h"
#include "twips.h"

namespace {}  // namespace

PainterSurface::PainterSurface(QPainter& painter, Target target)
    : painter_(painter),
      target_(target),
      dpiX_(painter.device()->logicalDpiX()),
      dpiY_(painter.device()->logicalDpiY()),
      penScale_(target == Target::Picture ? 1.0
                                          : painter.device()->logicalDpiX() / Twips::kScreenDpi) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QPointF PainterSurface::toDevice(double x, double y) const {
    return {Twips::toDevice(x - scaleLeft_, dpiX_), Twips::toDevice(y - scaleTop_, dpiY_)};
}

double PainterSurface::toDeviceX(double twips) const {
    return Twips::toDevice(twips, dpiX_);
}

void PainterSurface::clear() {
    const QPaintDevice* device = painter_.device();
    painter_.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);
}

void PainterSurface::setFontName(const QString& name) {
    font_.setFamily(resolveReportFont(name));
}

void PainterSurface::setFontSize(double points) {
    if (points > 0) {
        font_.setPointSizeF(points);
    }
}

void PainterSurface::setBold(bool bold) {
    font_.setBold(bold);
}

bool PainterSurface::setLineWidth(int pixels) {
    if (pixels < 1) {
        return false;
    }
    lineWidth_ = pixels;
    return true;
}

QPen PainterSurface::pen(const QColor& colour) const {
    QPen p(colour, lineWidth_ * penScale_,
           style_ == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    p.setCapStyle(Qt::FlatCap);
    return p;
}

QBrush PainterSurface::brush() const {
    return fillSolid_ ? QBrush(fill_) : QBrush(Qt::NoBrush);
}

double PainterSurface::textWidth(const QString& text) const {
    const QFontMetricsF metrics(font_, painter_.device());
    return Twips::fromDevice(metrics.horizontalAdvance(text), dpiX_);
}

void PainterSurface::printText(const QString& text) {
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
    const QFontMetricsF metrics(font_, painter_.device());
    const QPointF corner = toDevice(x_, y_);
    painter_.drawText(QPointF(corner.x(), corner.y() + metrics.ascent()), text);
    x_ += textWidth(text);
}

void PainterSurface::line(double x1, double y1, double x2, double y2, const QColor& colour) {
    painter_.setPen(pen(colour));
    painter_.drawLine(toDevice(x1, y1), toDevice(x2, y2));
}

void PainterSurface::rectangle(double x1, double y1, double x2, double y2) {
    painter_.setPen(pen(Qt::black));
    painter_.setBrush(brush());
    painter_.drawRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)));
}

void PainterSurface::filledCircle(double x, double y, double radius, const QColor& outline) {
    QPen p = pen(outline);
    p.setStyle(Qt::SolidLine);
    painter_.setPen(p);
    painter_.setBrush(brush());
    const double r = toDeviceX(radius);
    painter_.drawEllipse(toDevice(x, y), r, r);
}

bool PainterSurface::endDocument() {
    if (target_ == Target::Printer) {
        return painter_.end();  // sends the page
    }
    return true;
}
