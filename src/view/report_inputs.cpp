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

// A type-1 study: no counts, no reference mode; the master and the gauge's resolution.
const char* const kType1Fields[] = {
    "Numer", "Data", "Temperatura", "Wilgotnosc",    "NazwaC", "NumerC", "Parametr", "Jednostka",
    "GWG",   "DWG",  "Wzorzec",     "Rozdzielczosc", "NazwaP", "NumerP", "ZakresP",  "BladP"};

// Bias and linearity: the process variation instead of the master and the resolution.
const char* const kLinearityFields[] = {"Numer",  "Data",     "Temperatura", "Wilgotnosc", "NazwaC",
                                        "NumerC", "Parametr", "Jednostka",   "GWG",        "DWG",
                                        "ZmProc", "NazwaP",   "NumerP",      "ZakresP",    "BladP"};

// An attribute study: its accept category.
const char* const kAttributeFields[] = {"Numer",  "Data",     "Temperatura", "Wilgotnosc", "NazwaC",
                                        "NumerC", "Parametr", "Jednostka",   "Akceptacja", "NazwaP",
                                        "NumerP", "ZakresP",  "BladP"};

template <std::size_t N>
QStringList namesOf(const char* const (&names)[N]) {
    QStringList out;
    for (const char* name : names) {
        out << QString::fromLatin1(name);
    }
    return out;
}

void gatherLinearity(ReportInputs& in, const AnalysisScreen& screen) {
    for (const Observation& o : screen.input.observations) {
        if (o.value.isNumber() && o.reference) {
            in.points.push_back({o.part, *o.reference, o.value.number()});
        }
    }
    in.linearity = screen.linearity->results;
    if (!in.linearity) {
        in.refusal = LinearityTexts::refusal(screen.linearity->refusal);
        return;
    }
    in.linearityLines = LinearityTexts::regression(*in.linearity, in.numberPattern, in.regional);
    in.linearityParts = LinearityTexts::parts(*in.linearity, in.numberPattern, in.regional);
    in.linearityVerdict = LinearityTexts::verdict(*in.linearity);
    in.linearityNotes = LinearityTexts::notes(*in.linearity);
}

void gatherAttribute(ReportInputs& in, const AnalysisScreen& screen) {
    in.attributeInput = Attribute::inputOf(screen.input);
    in.attribute = screen.attribute->results;
    if (!in.attribute) {
        in.refusal = AttributeTexts::refusal(screen.attribute->refusal);
        return;
    }
    in.attributeTables = AttributeTexts::tables(*in.attribute, in.regional);
    in.attributeNotes = AttributeTexts::notes(*in.attribute);
}

void gatherKind(ReportInputs& in, const AnalysisScreen& screen) {
    in.kind = screen.kind;
    if (screen.attribute) {
        gatherAttribute(in, screen);
        return;
    }
    if (screen.linearity) {
        gatherLinearity(in, screen);
        return;
    }
    for (const std::optional<double>& reading : screen.readings) {
        if (reading) {
            in.readings.push_back(*reading);
        }
    }
    if (!screen.type1) {
        return;
    }
    in.type1 = screen.type1->results;
    if (in.type1) {
        in.type1Lines = Type1Texts::figures(*in.type1, in.numberPattern, in.regional);
        in.type1Notes = Type1Texts::notes(*in.type1, in.numberPattern, in.regional);
    } else {
        in.refusal = Type1Texts::refusal(screen.type1->refusal);
    }
}

}  // namespace

const QStringList& ReportInputs::analysisFields(StudyKind kind) {
    static const QStringList crossed = namesOf(kAnalysisFields);
    static const QStringList type1 = namesOf(kType1Fields);
    static const QStringList linearity = namesOf(kLinearityFields);
    static const QStringList attribute = namesOf(kAttributeFields);
    switch (kind) {
        case StudyKind::Type1:
            return type1;
        case StudyKind::Linearity:
            return linearity;
        case StudyKind::Attribute:
            return attribute;
        case StudyKind::Crossed:
            break;
    }
    return crossed;
}

ReportInputs ReportInputs::gather(Session& session, const AnalysisScreen& screen,
                                  const QDateTime& today) {
    ReportInputs in;
    in.regional = session.regional();
    const RecordSet& analysis = session.analyses();
    for (StudyKind kind :
         {StudyKind::Crossed, StudyKind::Type1, StudyKind::Linearity, StudyKind::Attribute}) {
        for (const QString& name : analysisFields(kind)) {
            in.analysis.insert(name, analysis.field(name));
        }
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
    gatherKind(in, screen);
    in.measured = MeasuredValues::collect(CrossedDesign(screen.input),
                                          CrossedDesign::partCount(in.field("LiczbaN")));
    return in;
}
