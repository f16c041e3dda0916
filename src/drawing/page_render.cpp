#include "page_render.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "anova_page.h"
#include "attribute_page.h"
#include "blank_page.h"
#include "file_output.h"
#include "linearity_page.h"
#include "painter_surface.h"
#include "report_page.h"
#include "twips.h"
#include "type1_page.h"

namespace {

constexpr int kPdfDpi = 1200;

}  // namespace

namespace PageRender {

bool draw(Page page, const ReportInputs& inputs, double zoom, Surface& surface) {
    if (inputs.kind == StudyKind::Type1) {
        return Type1Page(inputs, zoom).draw(surface);  // its one page
    }
    if (inputs.kind == StudyKind::Linearity) {
        return LinearityPage(inputs, zoom).draw(surface);
    }
    if (inputs.kind == StudyKind::Attribute) {
        return AttributePage(inputs, zoom).draw(surface);
    }
    return page == Page::Anova ? AnovaPage(inputs, zoom).draw(surface)
                               : ReportPage(inputs, zoom).PDT(surface);
}

QSize pictureSize(double zoom) {
    // The sheet at zoom 1 in whole pixels, then zoomed: zoom 2 is exactly four times.
    const int width = qRound(Twips::toDevice(ReportPage::kSheetWidth, Twips::kScreenDpi));
    const int height = qRound(Twips::toDevice(ReportPage::kSheetHeight, Twips::kScreenDpi));
    return {qMax(1, qRound(width * zoom)), qMax(1, qRound(height * zoom))};
}

QImage picture(const ReportInputs& inputs, double zoom, Page page) {
    QImage image = blankPage(pictureSize(zoom));
    QPainter painter(&image);
    PainterSurface surface(painter, PainterSurface::Target::Picture);
    draw(page, inputs, zoom, surface);
    return image;
}

bool writeA4Pdf(const QString& path, QPageLayout::Orientation orientation, const QString& title,
                const std::function<void(Surface&, const QSizeF&)>& draw, QString* error) {
    return FileOutput::write(
        path,
        [&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setResolution(kPdfDpi);
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
            writer.setTitle(title);
            writer.setCreator(QStringLiteral("Kalmet III"));
            QPainter painter;
            if (!painter.begin(&writer)) {
                return false;
            }
            PainterSurface surface(painter, PainterSurface::Target::Document);
            const QSizeF points = writer.pageLayout().fullRectPoints().size();
            draw(surface, QSizeF(points.width() * 20, points.height() * 20));  // 20 twips a point
            return painter.end();
        },
        error);
}

bool writePdf(const ReportInputs& inputs, const QString& path, QString* error, Page page) {
    const QString title =
        (inputs.kind == StudyKind::Type1       ? QStringLiteral("Badanie typu 1 %1")
         : inputs.kind == StudyKind::Linearity ? QString::fromUtf8("Obciążenie i liniowość %1")
         : page == Page::Anova                 ? QStringLiteral("Analiza R&R (ANOVA) %1")
                                               : QStringLiteral("Analiza R&R %1"))
            .arg(inputs.field("Numer").toText(inputs.regional));
    return writeA4Pdf(
        path, QPageLayout::Portrait, title,
        [&](Surface& surface, const QSizeF&) { draw(page, inputs, 1.0, surface); }, error);
}

bool writePicture(const ReportInputs& inputs, double zoom, const QString& path, QString* error,
                  Page page) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = suffix == QLatin1String("bmp") ? "BMP" : "PNG";
    return FileOutput::writeImage(picture(inputs, zoom, page), path, format, error);
}

}  // namespace PageRender
