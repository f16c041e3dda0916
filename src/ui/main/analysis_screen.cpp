#include "analysis_screen.h"

#include "session.h"

namespace {

QString fieldText(const RecordSet& analysis, const char* name, const RegionalSettings& rs) {
    return analysis.field(QString::fromLatin1(name)).toText(rs);
}

}  // namespace

std::optional<QString> AnalysisScreen::referenceModeCode(const Value& coRef) {
    static const char* const codes[] = {"Tol+Cx", "Tol+Cp", "S", "TV", "Tol"};
    if (!coRef.isNumber() && !coRef.isEmpty()) {
        return std::nullopt;
    }
    const double mode = coRef.number();
    for (int i = 0; i < 5; ++i) {
        if (mode == i) {
            return QString::fromLatin1(codes[i]);
        }
    }
    return std::nullopt;
}

AnalysisScreen AnalysisScreen::select(Session& session, const QString& numer) {
    AnalysisScreen screen;
    RecordSet& analysis = session.analyses();
    analysis.moveFirst();
    if (!analysis.find(QStringLiteral("Numer"), Value(numer))) {
        return screen;
    }
    screen.found = true;
    const RegionalSettings& rs = session.regional();
    const QString blank(QLatin1Char(' '));
    auto& h = screen.header;
    h[0] = blank + fieldText(analysis, "NazwaC", rs);
    h[1] = blank + fieldText(analysis, "NumerC", rs);
    h[3] = blank + fieldText(analysis, "NazwaP", rs);
    h[4] = blank + fieldText(analysis, "NumerP", rs);
    h[5] = blank + fieldText(analysis, "ZakresP", rs);
    h[6] = blank + fieldText(analysis, "Data", rs);
    h[7] = fieldText(analysis, "Temperatura", rs) + blank;
    h[8] = fieldText(analysis, "Wilgotnosc", rs) + blank;
    h[9] =
        blank + fieldText(analysis, "Parametr", rs) + blank + fieldText(analysis, "Jednostka", rs);
    h[10] = fieldText(analysis, "LiczbaN", rs) + blank;
    h[11] = fieldText(analysis, "LiczbaK", rs) + blank;
    h[12] = fieldText(analysis, "LiczbaR", rs) + blank;
    screen.referenceCode = referenceModeCode(analysis.field(QStringLiteral("CoRef")));

    session.openSeries(numer);
    RecordSet* series = session.series();
    if (!series) {
        return screen;
    }
    screen.hasSeries = series->recordCount() > 0;
    if (screen.hasSeries) {
        const StudyInput input =
            StudyInput::fromRecordSets(analysis, *series, session.settingsRow(), session.shared());
        screen.study = computeStudy(input, session.shared().factors, rs);
    }
    series->moveLast();
    return screen;
}
