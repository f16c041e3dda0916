#pragma once

#include <QIODevice>

#include "analysis_screen.h"
#include "csv_study.h"
#include "report_inputs.h"

// One analysis written as a study file, as the menu command and kalmet-cli export it.
namespace StudyExport {

enum class Kind { CsvLong, CsvWide, Dfq };

// The readings in the file's layout; a CSV file also gets both methods' results when
// asked. False when the device refused a write.
bool write(QIODevice& device, const AnalysisScreen& screen, const ReportInputs& inputs, Kind kind,
           const CsvStudy::Format& format, bool withResults);

}  // namespace StudyExport
