#include "type1_chart_view.h"

#include <QPainter>

#include "painter_surface.h"
#include "twips.h"
#include "type1_page.h"

namespace {

// The charts' part of the page, in page twips: the labels stand right of the plots.
constexpr double kWidth = 10000;
constexpr double kLeftMargin = 300;

}  // namespace

Type1ChartView::Type1ChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WykresyTyp1"));
    setMinimumSize(360, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Type1ChartView::setInputs(const std::optional<ReportInputs>& inputs) {
    inputs_ = inputs;
    update();
}

void Type1ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!inputs_ || !inputs_->type1) {
        return;
    }
    // Twips on the widget at its own resolution, the charts' area filling it.
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const double height = Type1Page::kChartsBottom - Type1Page::kChartsTop;
    const double zoom = std::min(width() / ((kWidth + kLeftMargin) * pixelsPerTwip),
                                 this->height() / (height * pixelsPerTwip));
    PainterSurface surface(painter, PainterSurface::Target::Picture);
    surface.setFontName(inputs_->fontName);
    surface.setScaleLeft(-kLeftMargin * zoom);
    surface.setScaleTop(Type1Page::kChartsTop * zoom);
    surface.setLineWidth(1);
    Type1Page(*inputs_, zoom).drawCharts(surface);
}
