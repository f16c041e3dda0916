#include "series_commands.h"

#include <QLineEdit>

#include "crossed_design.h"
#include "gauge_source.h"
#include "main_window.h"
#include "number_pattern.h"
#include "number_reader.h"
#include "readings.h"
#include "readings_editor.h"
#include "series_editor.h"
#include "transmission_settings.h"
#include "typing_limit.h"

SeriesCommands::SeriesCommands(Kalmet& window, Session& session, const UiEnvironment& environment)
    : CommandBase(window, session, environment) {}

// The selected series' place among its appraiser's series, from 1.
int SeriesCommands::trialOfSelectedSeries() const {
    const RecordSet& series = *session_.series();
    const Value appraiser = series.field(QStringLiteral("Operator"));
    int trial = 1;
    for (int p = series.position() - 1;
         p >= 0 && series.fieldAt(p, QStringLiteral("Operator")) == appraiser; --p) {
        ++trial;
    }
    return trial;
}

std::vector<History::Entry> SeriesCommands::correctionsOf(const Dane& editor,
                                                          const QString& why) const {
    const RecordSet& series = *session_.series();
    const Value appraiser = series.field(QStringLiteral("Operator"));
    const int trial = trialOfSelectedSeries();
    std::vector<History::Entry> out;
    for (int i = 0; i < editor.valueBoxes().size(); ++i) {
        const Value before = series.field(QStringLiteral("P%1").arg(i + 1));
        const Value after = editor.valueToStore(i);
        if (before != after) {
            out.push_back({env_.now(), selectedNumber(), appraiser.toText(session_.regional()),
                           i + 1, trial, before, after,
                           why.isEmpty() ? QString::fromUtf8("Poprawa serii danych") : why});
        }
    }
    return out;
}

bool SeriesCommands::storeSeries(Dane& editor, bool isNew, const QString& why) {
    RecordSet& series = *session_.series();
    RecordSet& analyses = session_.analyses();
    const RegionalSettings& rs = session_.regional();
    Database& db = session_.database();
    // A correction and its history are one change: both are stored or neither.
    const std::vector<History::Entry> corrections = isNew || !History::hasTable(db)
                                                        ? std::vector<History::Entry>()
                                                        : correctionsOf(editor, why);
    const bool grouped = !corrections.empty();
    if (grouped && !db.begin()) {
        reportFailure(QString::fromUtf8("Nie udało się zapisać serii danych w bazie danych."),
                      db.lastError());
        return false;
    }
    if (isNew) {
        series.addNew();
        (void)series.setField(QStringLiteral("ID"), analyses.field(QStringLiteral("Numer")));
        (void)series.setField(QStringLiteral("Operator"), Value(editor.appraiserBox()->text()));
    }
    double sum = 0;
    QString refused;
    const QVector<QLineEdit*>& boxes = editor.valueBoxes();
    for (int i = 0; i < boxes.size(); ++i) {
        const Value value = editor.valueToStore(i);
        if (!series.setField(QStringLiteral("P%1").arg(i + 1), value)) {
            refused = series.lastError();
        }
        sum += value.isText() ? readLocaleNumber(value.text(), rs).value_or(0.0) : value.number();
    }
    const int n = CrossedDesign::partCount(analyses.field(QStringLiteral("LiczbaN")));
    (void)series.setField(QStringLiteral("ObX"), Value(n > 0 ? sum / n : 0.0));
    const bool updated = refused.isEmpty() && series.update();
    // The history holds the new value as stored (a typed "0,30" is stored as 0.3).
    for (History::Entry entry : corrections) {
        if (updated && refused.isEmpty()) {
            entry.newValue = series.field(QStringLiteral("P%1").arg(entry.part));
            if (entry.newValue != entry.oldValue) {  // retyped as it was: no change
                refused = History::record(db, entry);
            }
        }
    }
    if (updated && refused.isEmpty() && (!grouped || db.commit())) {
        return true;
    }
    const QString cause = !refused.isEmpty()              ? refused
                          : !series.lastError().isEmpty() ? series.lastError()
                                                          : db.lastError();
    if (grouped) {
        db.rollback();
    }
    series.cancelUpdate();
    reportFailure(QString::fromUtf8("Nie udało się zapisać serii danych w bazie danych."), cause);
    return false;
}

std::unique_ptr<GaugeSource> SeriesCommands::connectGauge(GaugeReceiver& editor) {
    const RecordSet& analysis = session_.analyses();
    const RegionalSettings& rs = session_.regional();
    const QString profile = analysis.field(QStringLiteral("NazwaT")).toText(rs).trimmed();
    if (profile.isEmpty() || profile.compare(QLatin1String("Brak"), Qt::CaseInsensitive) == 0 ||
        !env_.openGauge) {
        return nullptr;
    }
    const QString text = analysis.field(QStringLiteral("Setings")).toText(rs).trimmed();
    const ParsedSettings parsed = TransmissionSettings::parse(text, profile);
    if (!parsed.settings) {
        editor.showGaugeProblem(profile, parsed.error);
        return nullptr;
    }
    const QString description =
        QStringLiteral("%1, %2, %3").arg(profile, parsed.settings->port, parsed.settings->text());
    QString error;
    std::unique_ptr<GaugeSource> gauge = env_.openGauge(*parsed.settings, &error);
    if (!gauge) {
        env_.dialogs->beep();
        editor.showGaugeProblem(description, error);
        return nullptr;
    }
    editor.attachGauge(gauge.get(), description);
    return gauge;
}

void SeriesCommands::newSeries() {
    if (!hasSelectedAnalysis()) {
        tell(QString::fromUtf8("Nie wybrano analizy: najpierw zarejestruj lub wybierz analizę."));
        return;
    }
    if (window_.screen().kind != StudyKind::Crossed) {
        editReadings();
        return;
    }
    const int n = CrossedDesign::partCount(session_.analyses().field(QStringLiteral("LiczbaN")));
    Dane editor(session_, *env_.dialogs, Dane::Mode::New, n, &window_);
    const std::unique_ptr<GaugeSource> gauge = connectGauge(editor);  // closed with the editor
    showUntilStored(editor, [&] { return storeSeries(editor, true); });
    window_.selectAnalysis();
}

void SeriesCommands::editSeries(int focusedPart, const QString& why) {
    if (hasSelectedAnalysis() && window_.screen().kind != StudyKind::Crossed) {
        editReadings();
        return;
    }
    if (!hasSelectedSeries()) {
        tell(QString::fromUtf8("Brak serii danych do poprawienia."));
        return;
    }
    RecordSet& series = *session_.series();
    const int n = CrossedDesign::partCount(session_.analyses().field(QStringLiteral("LiczbaN")));
    Dane editor(session_, *env_.dialogs, Dane::Mode::Edit, n, &window_);
    TypingLimit::put(editor.appraiserBox(),
                     series.field(QStringLiteral("Operator")).toText(session_.regional()));
    const NumberPattern pattern(session_.shared().numberPattern());
    for (int i = 0; i < n; ++i) {
        const Value stored = series.field(QStringLiteral("P%1").arg(i + 1));
        editor.showStoredValue(i, stored, stored.format(pattern, session_.regional()));
    }
    editor.appraiserBox()->setEnabled(false);
    editor.valueBoxes().value(focusedPart, editor.valueBoxes().first())->setFocus();
    const std::unique_ptr<GaugeSource> gauge = connectGauge(editor);  // closed with the editor
    showUntilStored(editor, [&] { return storeSeries(editor, false, why); });
    window_.selectAnalysis();
}

void SeriesCommands::deleteSeries() {
    if (!hasSelectedSeries()) {
        tell(QString::fromUtf8("Brak serii danych do usunięcia."));
        return;
    }
    if (!confirmDeletion("Czy jesteś pewien, że usunąć serię danych ?")) {
        return;
    }
    // The series and its history go together or not at all.
    RecordSet& series = *session_.series();
    Database& db = session_.database();
    const QString appraiser = series.field(QStringLiteral("Operator")).toText(session_.regional());
    QString cause =
        db.begin() ? History::forgetSeries(db, selectedNumber(), appraiser, trialOfSelectedSeries())
                   : db.lastError();
    if (cause.isEmpty() && !series.deleteCurrent()) {
        cause = series.lastError();
    }
    if (cause.isEmpty() && !db.commit()) {
        cause = db.lastError();
    }
    if (!cause.isEmpty()) {
        db.rollback();
        reportFailure(QString::fromUtf8("Nie udało się usunąć serii danych."), cause);
    }
    window_.selectAnalysis();
}

void SeriesCommands::deleteAllSeries() {
    if (!hasSelectedAnalysis() || session_.series()->recordCount() == 0) {
        tell(QString::fromUtf8("Wybrana analiza nie ma serii danych do usunięcia."));
        return;
    }
    if (!confirmDeletion("Czy jesteś pewien, że usunąć wszystkie serie danych ?")) {
        return;
    }
    Database& db = session_.database();
    QString cause;
    bool done = db.begin() && deleteEverySeries(&cause);
    if (done && !db.commit()) {
        cause = db.lastError();
        done = false;
    }
    if (!done) {
        if (cause.isEmpty()) {
            cause = db.lastError();
        }
        db.rollback();
        reportFailure(
            QString::fromUtf8("Nie udało się usunąć serii danych; nic nie zostało usunięte."),
            cause);
    }
    window_.selectAnalysis();
}

// The readings as the screen read them; each change of the editor replaces them in one
// transaction. The window shows the study anew when the editor closes.
void SeriesCommands::editReadings() {
    if (window_.screen().kind == StudyKind::Attribute) {
        tell(
            QString::fromUtf8("Decyzje badania zgodności oceny wprowadza się z pliku CSV "
                              "(Narzędzia → Import serii z pliku CSV): appraiser;part;trial;"
                              "result[;reference]."));
        return;
    }
    const QString numer = selectedNumber();
    Database& db = session_.database();
    const auto store = [&db, numer](const Odczyty::Readings& readings) {
        QVector<ReadingRow> rows;
        for (int i = 0; i < readings.size(); ++i) {
            ReadingRow row;
            row.trial = i + 1;
            row.value = readings[i].value ? Value(*readings[i].value) : Value();
            if (readings[i].part) {
                row.part = static_cast<int>(*readings[i].part);
            }
            row.reference = readings[i].reference;
            rows << row;
        }
        if (!db.begin()) {
            return db.lastError();
        }
        QString cause = Readings::replace(db, numer, rows);
        if (cause.isEmpty() && db.commit()) {
            return QString();
        }
        if (cause.isEmpty()) {
            cause = db.lastError();
        }
        db.rollback();
        return cause;
    };
    const AnalysisScreen& screen = window_.screen();
    Odczyty::Readings readings;
    for (int i = 0; i < screen.readings.size(); ++i) {
        const Observation& o = screen.input.observations[i];
        readings << ReadingEntry{
            screen.kind == StudyKind::Linearity ? std::optional<double>(o.part) : std::nullopt,
            o.reference, screen.readings[i]};
    }
    Odczyty editor(screen.kind, numer, readings, session_.regional(), *env_.dialogs, store,
                   &window_);
    const std::unique_ptr<GaugeSource> gauge = connectGauge(editor);  // closed with the editor
    env_.showModal(editor);
    window_.selectAnalysis();
}
