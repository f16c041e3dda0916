#pragma once

#include <QImage>
#include <QString>

#include "report_inputs.h"

// The report page into the targets that need no window: the page picture at a zoom
// (an A4 sheet at 96 dots per inch, times the zoom) and a one-page vector PDF.
namespace PageRender {

QSize pictureSize(double zoom);
QImage picture(const ReportInputs& inputs, double zoom);
// False, with the cause in *error, when the file cannot be written.
bool writePdf(const ReportInputs& inputs, const QString& path, QString* error);
// PNG or BMP by the file's extension; false with the cause when it cannot be written.
bool writePicture(const ReportInputs& inputs, double zoom, const QString& path, QString* error);

}  // namespace PageRender
