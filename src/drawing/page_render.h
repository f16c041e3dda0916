#pragma once

#include <QImage>
#include <QString>

#include "report_inputs.h"

// The report page into the targets that need no window: the page picture at a zoom
// (an A4 sheet at 96 dots per inch, times the zoom) and a one-page vector PDF.
class Surface;

namespace PageRender {

// The pages of an analysis: the R&R report and the ANOVA report.
enum class Page { Report, Anova };

// Draws the page on any surface; false only when a printer did not take it.
bool draw(Page page, const ReportInputs& inputs, double zoom, Surface& surface);

QSize pictureSize(double zoom);
QImage picture(const ReportInputs& inputs, double zoom, Page page = Page::Report);
// False, with the cause in *error, when the file cannot be written.
bool writePdf(const ReportInputs& inputs, const QString& path, QString* error,
              Page page = Page::Report);
// PNG or BMP by the file's extension; false with the cause when it cannot be written.
bool writePicture(const ReportInputs& inputs, double zoom, const QString& path, QString* error,
                  Page page = Page::Report);

}  // namespace PageRender
