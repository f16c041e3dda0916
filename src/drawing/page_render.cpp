#include "page_render.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "blank_page.h"
#include "file_output.h"
#include "painter_surface.h"
#include "report_page.h"
#include "twips.h"

namespace {

constexpr int kPdfDpi = 1200;

}  // namespace

namespace PageRender {

QSize pictureSize(double zoom) {
    // The sheet at zoom 1 in whole pixels, then zoomed: zoom 2 is exactly four times.
    const int width = qRound(Twips::toDevice(ReportPage::kSheetWidth, Twips::kScreenDpi));
    const int height = qRound(Twips::toDevice(ReportPage::kSheetHeight, Twips::kScreenDpi));
    return {qMax(1, qRound(width * zoom)), qMax(1, qRound(height * zoom))};
}

QImage picture(const ReportInputs& inputs, double zoom) {
    QImage image = blankPage(pictureSize(zoom));
    QPainter painter(&image);
    PainterSurface surface(painter, PainterSurface::Target::Picture);
    ReportPage(inputs, zoom).PDT(surface);
    return image;
}

bool writePdf(const ReportInputs& inputs, const QString& path, QString* error) {
    return FileOutput::write(
        path,
        [&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setResolution(kPdfDpi);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             QMarginsF(0, 0, 0, 0)));
            writer.setTitle(QStringLiteral("Analiza R&R %1")
                                .arg(inputs.field("Numer").toText(inputs.regional)));
            writer.setCreator(QStringLiteral("Kalmet III"));
            QPainter painter;
            if (!painter.begin(&writer)) {
                return false;
            }
            PainterSurface surface(painter, PainterSurface::Target::Document);
            ReportPage(inputs, 1.0).PDT(surface);
            return painter.end();
        },
        error);
}

bool writePicture(const ReportInputs& inputs, double zoom, const QString& path, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = suffix == QLatin1String("bmp") ? "BMP" : "PNG";
    return FileOutput::writeImage(picture(inputs, zoom), path, format, error);
}

}  // namespace PageRender
