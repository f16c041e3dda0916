#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>
#include <functional>

#include "report_inputs.h"

// The report page into the targets that need no window: the page picture at a zoom
// (an A4 sheet at 96 dots per inch, times the zoom) and a one-page vector PDF.
class Surface;

namespace PageRender {

// The pages of an analysis: the R&R report and the ANOVA report.
enum class Page { Report, Anova };

// Draws the page on any surface; false only when a printer did not take it.
bool draw(Page page, const ReportInputs& inputs, double zoom, Surface& surface);

// One A4 page as a vector PDF of the program, drawn by `draw` on a surface whose page
// is `twips` wide and high; false with the cause when it is not written.
bool writeA4Pdf(const QString& path, QPageLayout::Orientation orientation, const QString& title,
                const std::function<void(Surface& surface, const QSizeF& twips)>& draw,
                QString* error);

QSize pictureSize(double zoom);
QImage picture(const ReportInputs& inputs, double zoom, Page page = Page::Report);
// False, with the cause in *error, when the file cannot be written.
bool writePdf(const ReportInputs& inputs, const QString& path, QString* error,
              Page page = Page::Report);
// PNG or BMP by the file's extension; false with the cause when it cannot be written.
bool writePicture(const ReportInputs& inputs, double zoom, const QString& path, QString* error,
                  Page page = Page::Report);

}  // namespace PageRender
