#pragma once

#include <QString>

#include "report_inputs.h"

// The chart window's picture without the window, for the batch interface: Picture1
// at 96 dots per inch (.png) or as a one-page vector PDF of the same size (.pdf), with
// all five series and the window's frame and name strip. False with the cause when it is not
// written.
namespace ChartRender {

bool writeFile(const ReportInputs& inputs, const QString& path, QString* error);

}  // namespace ChartRender
