#pragma once

#include <QIODevice>

#include "analysis_screen.h"
#include "csv_study.h"
#include "report_inputs.h"

// One analysis written as a study file, as the menu command and kalmet-cli export it.
namespace StudyExport {

enum class Kind { CsvLong, CsvWide, Dfq };

// The readings in the file's layout; a CSV file also gets both methods' results when
// asked. A DFQ names in *changed the fields whose letters Windows-1250 lacks. False when
// the device refused a write.
bool write(QIODevice& device, const AnalysisScreen& screen, const ReportInputs& inputs, Kind kind,
           const CsvStudy::Format& format, bool withResults, QStringList* changed = nullptr);

// What the user is told of a DFQ whose fields had letters replaced; empty for none.
QString changedFieldsNote(const QStringList& changed);

}  // namespace StudyExport
