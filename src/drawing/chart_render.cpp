#include "chart_render.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "blank_page.h"
#include "chart_drawing.h"
#include "file_output.h"
#include "painter_surface.h"
#include "twips.h"

namespace {

constexpr double kPictureWidth = ChartDrawing::kPictureWidth;
constexpr double kPictureHeight = ChartDrawing::kPictureHeight;

void draw(QPainter& painter, const ReportInputs& inputs, PainterSurface::Target target) {
    PainterSurface surface(painter, target);
    surface.setFontName(QGuiApplication::font().family());
    surface.setFontSize(8);
    ChartDrawing d;
    d.Wykres(surface, inputs);
    // The shapes, which the window's toolkit draws, as outlines over the drawing.
    surface.setFillSolid(false);
    (void)surface.setLineWidth(1);
    surface.rectangle(d.shape1.left(), d.shape1.top(), d.shape1.right(), d.shape1.bottom());
    surface.rectangle(d.shape2.left(), d.shape2.top(), d.shape2.right(), d.shape2.bottom());
}

}  // namespace

namespace ChartRender {

bool writeFile(const ReportInputs& inputs, const QString& path, QString* error) {
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        return FileOutput::write(
            path,
            [&](QIODevice& device) {
                QPdfWriter writer(&device);
                writer.setResolution(1200);
                writer.setPageSize(QPageSize(QSizeF(kPictureWidth / Twips::kPerInch * 25.4,
                                                    kPictureHeight / Twips::kPerInch * 25.4),
                                             QPageSize::Millimeter));
                writer.setPageMargins(QMarginsF(0, 0, 0, 0));
                QPainter painter;
                if (!painter.begin(&writer)) {
                    return false;
                }
                draw(painter, inputs, PainterSurface::Target::Document);
                return painter.end();
            },
            error);
    }
    QImage image = blankPage(QSize(qRound(Twips::toDevice(kPictureWidth, Twips::kScreenDpi)),
                                   qRound(Twips::toDevice(kPictureHeight, Twips::kScreenDpi))));
    {
        QPainter painter(&image);
        draw(painter, inputs, PainterSurface::Target::Picture);
    }
    return FileOutput::writeImage(image, path, "PNG", error);
}

}  // namespace ChartRender
