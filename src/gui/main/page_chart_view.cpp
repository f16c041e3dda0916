#include "page_chart_view.h"

#include <QPainter>

#include "painter_surface.h"

namespace {

// The page's width in twips, and the room left of it for the axis labels.
constexpr double kWidth = 10000;
constexpr double kLeftMargin = 300;

}  // namespace

PageChartView::PageChartView(double top, double bottom, Draw draw, QWidget* parent)
    : QWidget(parent), top_(top), bottom_(bottom), draw_(std::move(draw)) {
    setMinimumSize(360, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageChartView::setInputs(const std::optional<ReportInputs>& inputs) {
    inputs_ = inputs;
    update();
}

void PageChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!inputs_) {
        return;
    }
    // Twips on the widget at its own resolution, the charts' area filling it.
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const double zoom = std::min(width() / ((kWidth + kLeftMargin) * pixelsPerTwip),
                                 height() / ((bottom_ - top_) * pixelsPerTwip));
    PainterSurface surface(painter, PainterSurface::Target::Picture);
    surface.setFontName(inputs_->fontName);
    surface.setScaleLeft(-kLeftMargin * zoom);
    surface.setScaleTop(top_ * zoom);
    surface.setLineWidth(1);
    draw_(*inputs_, zoom, surface);
}
