#include "report_inputs.h"

#include "analysis_screen.h"
#include "crossed_design.h"
#include "database.h"
#include "session.h"

namespace {

const char* const kAnalysisFields[] = {
    "Numer",  "LiczbaN", "LiczbaK",  "LiczbaR",   "Data", "Temperatura", "Wilgotnosc",
    "NazwaC", "NumerC",  "Parametr", "Jednostka", "WN",   "GWG",         "DWG",
    "CoRef",  "NazwaP",  "NumerP",   "ZakresP",   "BladP"};

}  // namespace

const QStringList& ReportInputs::analysisFields() {
    static const QStringList fields = [] {
        QStringList out;
        for (const char* name : kAnalysisFields) {
            out << QString::fromLatin1(name);
        }
        return out;
    }();
    return fields;
}

ReportInputs ReportInputs::gather(Session& session, const AnalysisScreen& screen,
                                  const QDateTime& today) {
    ReportInputs in;
    in.regional = session.regional();
    const RecordSet& analysis = session.analyses();
    for (const char* name : kAnalysisFields) {
        in.analysis.insert(QString::fromLatin1(name), analysis.field(QString::fromLatin1(name)));
    }
    const RecordSet& settings = session.settingsRow();
    in.FRTol = settings.field(QStringLiteral("FRTol"));
    for (int i = 0; i < 5; ++i) {
        in.PW[static_cast<std::size_t>(i)] =
            settings.field(QStringLiteral("PW%1").arg(i + 1)).number() != 0;
    }
    const SharedValues& shared = session.shared();
    in.Firma = shared.Firma;
    in.datePattern = shared.datePattern();
    in.numberPattern = shared.numberPattern();
    in.fontName = shared.reportFont;
    in.grid = screen.grid.layout;
    in.panels = screen.results;
    in.today = today;
    in.control = screen.control;
    in.appraisers = screen.appraisers;
    in.controlWarning = screen.controlWarning;
    if (screen.control) {
        in.controlLabels = ControlTexts::labels(*screen.control, in.numberPattern, in.regional);
    }
    if (screen.anova) {
        in.anova = AnovaTexts::of(*screen.anova, screen.study, in.regional);
    }
    in.measured = MeasuredValues::collect(CrossedDesign(screen.input),
                                          CrossedDesign::partCount(in.field("LiczbaN")));
    return in;
}
