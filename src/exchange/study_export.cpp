#include "study_export.h"

#include "dfq_study.h"
#include "number_pattern.h"
#include "study_store.h"
#include "study_summary.h"

namespace StudyExport {

bool write(QIODevice& device, const AnalysisScreen& screen, const ReportInputs& inputs, Kind kind,
           const CsvStudy::Format& format, bool withResults, QStringList* changed) {
    const StudyFile study = StudyStore::fileOf(inputs);
    if (kind == Kind::Dfq) {
        return DfqStudy::write(device, study, patternDecimals(inputs.numberPattern),
                               StudyStore::readingsDate(inputs), DfqStudy::Encoding::Windows1250,
                               changed);
    }
    return CsvStudy::write(
        device, study, kind == Kind::CsvWide ? CsvStudy::Layout::Wide : CsvStudy::Layout::Long,
        format, withResults ? StudySummary::resultLines(screen, format) : CsvStudy::ResultLines());
}

QString changedFieldsNote(const QStringList& changed) {
    if (changed.isEmpty()) {
        return {};
    }
    return QString::fromUtf8(
               "Znaki, których nie ma w kodowaniu Windows-1250 pliku DFQ, zapisano jako "
               "najbliższe litery (Ø jako O, ² jako 2, µ jako u) albo „?” w polach: %1.")
        .arg(changed.join(QStringLiteral(", ")));
}

}  // namespace StudyExport
