#include "study_input.h"

#include "record_set.h"
#include "shared_values.h"

std::optional<int> StudyInput::referenceModeOf(const Value& coRef) {
    if (!coRef.isNumber() && !coRef.isEmpty()) {
        return std::nullopt;
    }
    const double mode = coRef.number();
    for (int i = 0; i < 5; ++i) {
        if (mode == i) {
            return i;
        }
    }
    return std::nullopt;
}

int StudyInput::partCount(const Value& liczbaN) {
    constexpr int kPartFields = 10;  // P1..P10; anything past them does not exist
    const double v = liczbaN.number();
    return v < 0 ? 0 : (v > kPartFields ? kPartFields : static_cast<int>(v));
}

StudyInput StudyInput::withSettings(const RecordSet& settingsRow, const SharedValues& shared) {
    StudyInput in;
    in.FRTol = settingsRow.field(QStringLiteral("FRTol"));
    in.numberPattern = shared.numberPattern();
    in.level = shared.level;
    in.POK = shared.POK;
    in.PSR = shared.PSR;
    in.IK1 = shared.IK1;
    in.IK2 = shared.IK2;
    return in;
}

StudyInput StudyInput::fromRecordSets(const RecordSet& analysis, RecordSet& series,
                                      const RecordSet& settingsRow, const SharedValues& shared) {
    StudyInput in = withSettings(settingsRow, shared);
    in.parts = analysis.field(QStringLiteral("LiczbaN"));
    in.appraisers = analysis.field(QStringLiteral("LiczbaK"));
    in.trials = analysis.field(QStringLiteral("LiczbaR"));
    in.referenceMode = analysis.field(QStringLiteral("CoRef"));
    in.WN = analysis.field(QStringLiteral("WN"));
    in.GWG = analysis.field(QStringLiteral("GWG"));
    in.DWG = analysis.field(QStringLiteral("DWG"));

    const int n = partCount(in.parts);
    in.series.reserve(series.recordCount());
    for (series.moveFirst(); !series.isEof(); series.moveNext()) {
        SeriesInput s;
        s.appraiser = series.field(QStringLiteral("Operator"));
        s.parts.reserve(n);
        for (int j = 1; j <= n; ++j) {
            s.parts << series.field(QStringLiteral("P%1").arg(j));
        }
        s.average = series.field(QStringLiteral("ObX"));
        in.series << s;
    }
    return in;
}
