#include "analysis_screen.h"

#include <initializer_list>

#include "control_texts.h"
#include "readings.h"
#include "session.h"
#include "stored_study.h"

namespace {

QString fieldText(const RecordSet& analysis, const char* name, const RegionalSettings& rs) {
    return analysis.field(QString::fromLatin1(name)).toText(rs);
}

AnalysisScreen withReadFailure(AnalysisScreen& screen, const QString& cause) {
    screen.readError = cause;
    screen.header = {};
    screen.referenceCode.reset();
    screen.hasSeries = false;
    screen.input = Study();
    screen.study = StudyOutput();
    screen.grid = StudyGrid();
    screen.results = {};
    screen.anova.reset();
    screen.anovaInput.reset();
    screen.control.reset();
    screen.appraisers.clear();
    screen.controlWarning.clear();
    screen.readings.clear();
    screen.type1.reset();
    screen.linearity.reset();
    screen.attribute.reset();
    return screen;
}

// A study of another kind: its readings, read whole, and its figures.
AnalysisScreen selectReadings(AnalysisScreen& screen, Session& session, const QString& numer) {
    // Its (empty) series set too: the commands know the analysis as selected by it.
    if (const QString error = session.openSeries(numer); !error.isEmpty()) {
        return withReadFailure(screen, error);
    }
    QString cause;
    const auto rows = Readings::read(session.database(), numer, &cause);
    if (!rows) {
        return withReadFailure(screen, cause);
    }
    const RecordSet& analysis = session.analyses();
    Study& input = screen.input;
    input = StoredStudy::fromReadings(screen.kind, analysis, *rows, session.settingsRow(),
                                      session.shared());
    for (const RecordSet* set :
         std::initializer_list<const RecordSet*>{&analysis, &session.settingsRow()}) {
        if (!set->readError().isEmpty()) {
            return withReadFailure(screen, set->readError());
        }
    }
    if (const QString damage = StoredStudy::damageIn(input, session.regional());
        !damage.isEmpty()) {
        return withReadFailure(screen, damage);
    }
    for (const Observation& o : input.observations) {
        screen.readings << (o.value.isNumber() ? std::optional(o.value.number()) : std::nullopt);
    }
    const QString blank(QLatin1Char(' '));
    screen.referenceCode = QString();
    if (screen.kind == StudyKind::Attribute) {
        screen.attribute = Attribute::compute(Attribute::inputOf(input));
        const auto& r = screen.attribute->results;
        screen.header[Panels::kParts] = (r ? QString::number(r->parts) : QString()) + blank;
        screen.header[Panels::kAppraisers] =
            (r ? QString::number(r->appraisers.size()) : QString()) + blank;
        screen.header[Panels::kTrials] = (r ? QString::number(r->trials) : QString()) + blank;
        return screen;
    }
    if (screen.kind == StudyKind::Linearity) {
        screen.linearity = Linearity::compute(Linearity::inputOf(input));
        const auto& r = screen.linearity->results;
        screen.header[Panels::kParts] = (r ? QString::number(r->g) : QString()) + blank;
        screen.header[Panels::kAppraisers] = QStringLiteral("1") + blank;
        screen.header[Panels::kTrials] = (r ? QString::number(r->m) : QString()) + blank;
        return screen;
    }
    screen.header[Panels::kParts] = QStringLiteral("1") + blank;
    screen.header[Panels::kAppraisers] = QStringLiteral("1") + blank;
    screen.header[Panels::kTrials] = QString::number(screen.readings.size()) + blank;
    screen.type1 = Type1::compute(Type1::inputOf(input));
    return screen;
}

// The control charts of a complete study; a flagged range turns red in the grid and is
// named in the line under it.
void showControl(AnalysisScreen& screen, const CrossedDesign& design, const RegionalSettings& rs) {
    for (const AppraiserRun& run : design.runs()) {
        screen.appraisers << design.series()[run.first].appraiser.toText(rs);
    }
    StudyGrid& grid = screen.grid;
    if (!screen.anovaInput || grid.rangeRows.size() != screen.appraisers.size()) {
        return;  // appraiser blocks of another size than R: no subgroups
    }
    screen.control = ControlLimits::compute(screen.anovaInput->y, screen.study.results.meanRange);
    if (!screen.control) {
        return;
    }
    for (const ControlLimits::Flag& f : screen.control->flaggedRanges) {
        grid.layout.setFlagged(grid.rangeRows.value(f.appraiser), f.part + 2);
    }
    screen.controlWarning =
        ControlTexts::warning(*screen.control, screen.appraisers, screen.input.numberPattern, rs);
}

}  // namespace

std::optional<QString> AnalysisScreen::referenceModeCode(const Value& coRef) {
    static const char* const codes[] = {"Tol+Cx", "Tol+Cp", "S", "TV", "Tol"};
    const std::optional<int> mode = Study::referenceModeOf(coRef);
    if (!mode) {
        return std::nullopt;
    }
    return QString::fromLatin1(codes[*mode]);
}

std::optional<Anova::Results> AnalysisScreen::anovaAt(double alpha) const {
    if (!anovaInput) {
        return std::nullopt;
    }
    Anova::Input atAlpha = *anovaInput;
    atAlpha.alpha = alpha;
    return Anova::compute(atAlpha);
}

AnalysisScreen AnalysisScreen::select(Session& session, const QString& numer, double anovaAlpha) {
    AnalysisScreen screen;
    RecordSet& analysis = session.analyses();
    analysis.clearReadError();
    session.settingsRow().clearReadError();
    analysis.moveFirst();
    const bool found = analysis.find(QStringLiteral("Numer"), Value(numer));
    if (!analysis.readError().isEmpty()) {
        return withReadFailure(screen, analysis.readError());
    }
    if (!found) {
        return screen;
    }
    screen.found = true;
    const RegionalSettings& rs = session.regional();
    const QString blank(QLatin1Char(' '));
    auto& h = screen.header;
    h[Panels::kPartName] = blank + fieldText(analysis, "NazwaC", rs);
    h[Panels::kPartNumber] = blank + fieldText(analysis, "NumerC", rs);
    h[Panels::kGaugeName] = blank + fieldText(analysis, "NazwaP", rs);
    h[Panels::kGaugeNumber] = blank + fieldText(analysis, "NumerP", rs);
    h[Panels::kGaugeRange] = blank + fieldText(analysis, "ZakresP", rs);
    h[Panels::kDate] = blank + fieldText(analysis, "Data", rs);
    h[Panels::kTemperature] = fieldText(analysis, "Temperatura", rs) + blank;
    h[Panels::kHumidity] = fieldText(analysis, "Wilgotnosc", rs) + blank;
    h[Panels::kCharacteristic] =
        blank + fieldText(analysis, "Parametr", rs) + blank + fieldText(analysis, "Jednostka", rs);
    h[Panels::kParts] = fieldText(analysis, "LiczbaN", rs) + blank;
    h[Panels::kAppraisers] = fieldText(analysis, "LiczbaK", rs) + blank;
    h[Panels::kTrials] = fieldText(analysis, "LiczbaR", rs) + blank;
    screen.referenceCode = referenceModeCode(analysis.field(QStringLiteral("CoRef")));
    const Value kindField = analysis.field(QStringLiteral("Rodzaj"));
    const std::optional<StudyKind> kind = kindField.isText()    ? kindNamed(kindField.text())
                                          : kindField.isEmpty() ? std::optional(StudyKind::Crossed)
                                                                : std::nullopt;
    if (!kind) {
        return withReadFailure(
            screen, QString::fromUtf8("rodzaj badania %1 nie jest znany tej wersji programu")
                        .arg(kindField.toText(rs)));
    }
    screen.kind = *kind;
    if (screen.kind != StudyKind::Crossed) {
        return selectReadings(screen, session, numer);
    }

    if (const QString error = session.openSeries(numer); !error.isEmpty()) {
        return withReadFailure(screen, error);
    }
    RecordSet* series = session.series();
    screen.hasSeries = series->recordCount() > 0;
    Study& input = screen.input;
    if (screen.hasSeries) {
        input =
            StoredStudy::fromRecordSets(analysis, *series, session.settingsRow(), session.shared());
        input.shown = &session.shared().shownNumbers;
    }
    // Nothing is computed or judged from a read that failed.
    for (const RecordSet* set :
         std::initializer_list<const RecordSet*>{&analysis, &session.settingsRow(), series}) {
        if (!set->readError().isEmpty()) {
            return withReadFailure(screen, set->readError());
        }
    }
    if (const QString damage = StoredStudy::damageIn(input, rs); !damage.isEmpty()) {
        return withReadFailure(screen, damage);
    }
    if (screen.hasSeries) {
        const CrossedDesign design(input);
        screen.study = computeStudy(input, design, session.shared().factors, rs);
        screen.grid = StudyGrid::of(input, design, screen.study, rs);
        screen.results = ResultTexts::of(screen.study, input.numberPattern, input.shown, rs);
        screen.anovaInput = Anova::inputOf(input, design, screen.study, anovaAlpha);
        if (screen.anovaInput) {
            screen.anova = Anova::compute(*screen.anovaInput);
            showControl(screen, design, rs);
        }
    }
    series->moveLast();
    return screen;
}
