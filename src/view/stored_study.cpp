#include "stored_study.h"

#include <cmath>

#include "crossed_design.h"
#include "excerpt.h"
#include "number_reader.h"
#include "record_set.h"
#include "shared_values.h"
#include "storage_causes.h"

Study StoredStudy::withSettings(const RecordSet& settingsRow, const SharedValues& shared) {
    Study in;
    in.FRTol = settingsRow.field(QStringLiteral("FRTol"));
    in.numberPattern = shared.numberPattern();
    in.level = shared.level;
    in.POK = shared.POK;
    in.PSR = shared.PSR;
    in.IK1 = shared.IK1;
    in.IK2 = shared.IK2;
    in.type1K = shared.type1K;
    in.type1L = shared.type1L;
    return in;
}

Study StoredStudy::fromRecordSets(const RecordSet& analysis, RecordSet& series,
                                  const RecordSet& settingsRow, const SharedValues& shared) {
    Study in = withSettings(settingsRow, shared);
    in.parts = analysis.field(QStringLiteral("LiczbaN"));
    in.appraisers = analysis.field(QStringLiteral("LiczbaK"));
    in.trials = analysis.field(QStringLiteral("LiczbaR"));
    in.referenceMode = analysis.field(QStringLiteral("CoRef"));
    in.WN = analysis.field(QStringLiteral("WN"));
    in.GWG = analysis.field(QStringLiteral("GWG"));
    in.DWG = analysis.field(QStringLiteral("DWG"));

    const int n = CrossedDesign::partCount(in.parts);
    in.observations.reserve(series.recordCount() * (n + 1));
    for (series.moveFirst(); !series.isEof(); series.moveNext()) {
        SeriesRow s;
        s.appraiser = series.field(QStringLiteral("Operator"));
        s.parts.reserve(n);
        for (int j = 1; j <= n; ++j) {
            s.parts << series.field(QStringLiteral("P%1").arg(j));
        }
        s.average = series.field(QStringLiteral("ObX"));
        CrossedDesign::addSeries(in, s);
    }
    return in;
}

Study StoredStudy::fromReadings(StudyKind kind, const RecordSet& analysis,
                                const QVector<ReadingRow>& rows, const RecordSet& settingsRow,
                                const SharedValues& shared) {
    Study in = withSettings(settingsRow, shared);
    in.kind = kind;
    in.GWG = analysis.field(QStringLiteral("GWG"));
    in.DWG = analysis.field(QStringLiteral("DWG"));
    in.master = analysis.field(QStringLiteral("Wzorzec"));
    in.resolution = analysis.field(QStringLiteral("Rozdzielczosc"));
    in.processVariation = analysis.field(QStringLiteral("ZmProc"));
    in.accept = analysis.field(QStringLiteral("Akceptacja"));
    in.observations.reserve(rows.size());
    for (const ReadingRow& row : rows) {
        in.observations.push_back({row.appraiser, row.part.value_or(1), row.trial, row.value,
                                   row.reference, row.category});
    }
    return in;
}

void StoredStudy::addSeries(Study& study, const QVector<SeriesRow>& series) {
    study.observations.reserve(study.observations.size() +
                               series.size() * (CrossedDesign::partCount(study.parts) + 1));
    for (const SeriesRow& s : series) {
        CrossedDesign::addSeries(study, s);
    }
}

// A measured value the program stores is a number or empty; a text in its place comes
// from damage or another program, and no result may be made from it. (A crossed study's
// stored series average, numbered zero among its parts, is no measured value.)
QString StoredStudy::damageIn(const Study& study, const RegionalSettings& rs) {
    for (const Observation& o : study.observations) {
        if (o.part < 1) {
            continue;
        }
        const Value& value = o.value;
        // A number the program stores is finite; an infinity or NaN is no measurement.
        const bool noNumber =
            value.isText() ? !isNumeric(value.text(), rs) : !std::isfinite(value.number());
        if (noNumber) {
            return QString::fromUtf8("%1: wartość pomiaru %2 nie jest liczbą")
                .arg(
                    StorageCauses::damagedFile(),
                    quotedExcerpt(value.isText() ? value.text() : QString::number(value.number())));
        }
    }
    return {};
}
