#include "study_export.h"

#include "dfq_study.h"
#include "number_pattern.h"
#include "study_store.h"
#include "study_summary.h"

namespace StudyExport {

bool write(QIODevice& device, const AnalysisScreen& screen, const ReportInputs& inputs, Kind kind,
           const CsvStudy::Format& format, bool withResults) {
    const StudyFile study = StudyStore::fileOf(inputs);
    if (kind == Kind::Dfq) {
        return DfqStudy::write(device, study, patternDecimals(inputs.numberPattern),
                               StudyStore::readingsDate(inputs));
    }
    return CsvStudy::write(
        device, study, kind == Kind::CsvWide ? CsvStudy::Layout::Wide : CsvStudy::Layout::Long,
        format, withResults ? StudySummary::resultLines(screen, format) : CsvStudy::ResultLines());
}

}  // namespace StudyExport
