#include "commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include "analysis_editor.h"
#include "crossed_design.h"
#include "csv_study.h"
#include "date_pattern.h"
#include "file_output.h"
#include "gauge_source.h"
#include "main_window.h"
#include "modal_commands.h"
#include "number_pattern.h"
#include "number_proposal.h"
#include "number_reader.h"
#include "series_editor.h"
#include "session.h"
#include "study_export.h"
#include "study_store.h"
#include "transmission_settings.h"
#include "typing_limit.h"

Commands::Commands(Kalmet& window, Session& session, const UiEnvironment& environment)
    : window_(window), session_(session), env_(environment) {}

void Commands::tell(const QString& message) {
    env_.dialogs->beep();
    env_.dialogs->message(message, QString::fromLatin1(Dialogs::kWarningTitle),
                          Dialogs::Icon::Warning);
}

void Commands::reportFailure(const QString& what, const QString& cause) {
    env_.dialogs->message(QString::fromUtf8("%1\n\nPrzyczyna: %2").arg(what, cause),
                          QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
}

bool Commands::hasSelectedAnalysis() {
    return session_.series() != nullptr && session_.analyses().hasCurrentRow();
}

bool Commands::hasSelectedSeries() {
    return hasSelectedAnalysis() && session_.series()->hasCurrentRow();
}

template <typename Editor, typename Store>
bool Commands::showUntilStored(Editor& editor, Store store) {
    for (;;) {
        session_.shared().dialogResult = false;
        env_.showModal(editor);
        if (!session_.shared().dialogResult) {
            return false;
        }
        if (store()) {
            return true;
        }
        // The input stays in the editor: the user may try again or cancel.
    }
}

// ---- analyses ----

void Commands::newAnalysis() {
    NowaA editor(session_, *env_.dialogs, NowaA::Mode::New, &window_);
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    const bool anyStored = analyses.recordCount() > 0;
    const QString last = analyses.field(QStringLiteral("Numer")).toText(session_.regional());
    editor.propose(proposeAnalysisNumber(last, anyStored, session_.regional()),
                   formatDate(env_.now(), session_.shared().datePattern(), session_.regional()));
    editor.fillProfiles(session_.profiles(), QString());
    if (!showUntilStored(editor, [&] { return storeNewAnalysis(editor); })) {
        // The duplicate-number check moved the analysis record set: put it back on
        // the analysis the window shows.
        window_.selectAnalysis();
        return;
    }
    window_.appendAndSelect(editor.analysisNumber());
}

bool Commands::storeNewAnalysis(NowaA& editor) {
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    analyses.addNew();
    return storeAnalysis(editor,
                         QString::fromUtf8("Nie udało się zapisać analizy w bazie danych."));
}

bool Commands::storeAnalysis(NowaA& editor, const QString& failure) {
    RecordSet& analyses = session_.analyses();
    editor.storeInto(analyses);
    if (analyses.update()) {
        return true;
    }
    const QString cause = analyses.lastError();
    analyses.cancelUpdate();
    reportFailure(failure, cause);
    return false;
}

void Commands::editAnalysis() {
    if (!hasSelectedAnalysis()) {
        tell(QString::fromUtf8("Nie wybrano analizy do poprawienia."));
        return;
    }
    RecordSet& analyses = session_.analyses();
    NowaA editor(session_, *env_.dialogs, NowaA::Mode::Edit, &window_);
    editor.fillFrom(analyses);
    editor.fillProfiles(session_.profiles(),
                        analyses.field(QStringLiteral("NazwaT")).toText(session_.regional()));
    showUntilStored(editor, [&] {
        return storeAnalysis(
            editor, QString::fromUtf8("Nie udało się zapisać poprawionej analizy w bazie danych."));
    });
    window_.selectAnalysis();  // after the commit, so the corrected analysis shows
}

// ---- study files ----

void Commands::exportAnalysis() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasCompleteStudy()) {
        return;  // the command is disabled then
    }
    const RegionalSettings& rs = session_.regional();
    const QStringList filters = {QString::fromUtf8("CSV, wiersz na pomiar (*.csv)"),
                                 QString::fromUtf8("CSV, układ AIAG (*.csv)"),
                                 QStringLiteral("Q-DAS DFQ (*.dfq)")};
    QString chosen;
    const QString path = env_.chooseSaveFile(
        &window_, QString::fromUtf8("Eksport analizy"),
        QDir(session_.shared().applicationFolder).filePath(ModalCommands::fileNameOf(session_)),
        filters.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty()) {
        return;  // cancelled
    }
    // The typed extension decides the format (as kalmet-cli export's does); the chosen
    // filter only supplies one when none is typed. The filters are in the kinds' order.
    const auto filtered =
        static_cast<StudyExport::Kind>(std::max(0, static_cast<int>(filters.indexOf(chosen))));
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool typed = suffix == QLatin1String("csv") || suffix == QLatin1String("dfq");
    const StudyExport::Kind kind = !typed                           ? filtered
                                   : suffix == QLatin1String("dfq") ? StudyExport::Kind::Dfq
                                   : filtered == StudyExport::Kind::CsvWide
                                       ? StudyExport::Kind::CsvWide
                                       : StudyExport::Kind::CsvLong;
    const QString file = typed ? path
                               : path + (kind == StudyExport::Kind::Dfq ? QStringLiteral(".dfq")
                                                                        : QStringLiteral(".csv"));
    const ReportInputs inputs = ReportInputs::gather(session_, screen, env_.now());
    QString error;
    QStringList changed;
    const bool written = FileOutput::write(
        file,
        [&](QIODevice& device) {
            return StudyExport::write(device, screen, inputs, kind, CsvStudy::Format::of(rs), true,
                                      &changed);
        },
        &error);
    if (!written) {
        reportFailure(QString::fromUtf8("Analiza nie została wyeksportowana."), error);
        return;
    }
    const QString note = StudyExport::changedFieldsNote(changed);
    env_.dialogs->message(QStringLiteral("Zapisano w ") + file +
                              (note.isEmpty() ? QString() : QStringLiteral("\n\n") + note),
                          QStringLiteral("Info"), Dialogs::Icon::Information);
}

bool Commands::storeImported(NowaA& editor, const StudyFile& study) {
    Database& db = session_.database();
    if (!db.begin()) {
        reportFailure(QString::fromUtf8("Nie udało się zapisać analizy w bazie danych."),
                      db.lastError());
        return false;
    }
    if (!storeNewAnalysis(editor)) {
        db.rollback();
        return false;
    }
    QString cause = StudyStore::storeSeries(db, study, editor.analysisNumber());
    if (cause.isEmpty() && db.commit()) {
        return true;
    }
    cause = cause.isEmpty() ? db.lastError() : cause;
    db.rollback();
    reportFailure(QString::fromUtf8("Nie udało się zapisać serii danych w bazie danych."), cause);
    window_.removeAnalysisAndSelectLast();  // the analysis row went with the series
    return false;
}

void Commands::importSeries() {
    const QString path =
        env_.chooseOpenFile(&window_, QString::fromUtf8("Import serii z pliku CSV"),
                            QStringLiteral("CSV (*.csv *.txt)"));
    if (path.isEmpty()) {
        return;  // cancelled
    }
    const CsvStudy::Read read = CsvStudy::readFile(path);
    if (!read.study) {
        tell(QString::fromUtf8("Plik %1 nie został zaimportowany.\n\n%2").arg(path, read.error));
        return;
    }
    NowaA editor(session_, *env_.dialogs, NowaA::Mode::New, &window_);
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    const QString last = analyses.field(QStringLiteral("Numer")).toText(session_.regional());
    editor.propose(proposeAnalysisNumber(last, analyses.recordCount() > 0, session_.regional()),
                   formatDate(env_.now(), session_.shared().datePattern(), session_.regional()));
    editor.fillProfiles(session_.profiles(), QString());
    const StudyFile& study = *read.study;
    editor.fixCounts(study.parts, static_cast<int>(study.appraisers.size()), study.trials());
    editor.fillFields(study.header, study.decimal);
    if (!showUntilStored(editor, [&] { return storeImported(editor, study); })) {
        window_.selectAnalysis();
        return;
    }
    window_.appendAndSelect(editor.analysisNumber());
}

// ---- series ----

// The values a correction changes, each with the series' appraiser and trial (its place
// among the appraiser's series).
QString Commands::selectedNumber() const {
    return session_.analyses().field(QStringLiteral("Numer")).toText(session_.regional());
}

int Commands::trialOfSelectedSeries() const {
    const RecordSet& series = *session_.series();
    const Value appraiser = series.field(QStringLiteral("Operator"));
    int trial = 1;
    for (int p = series.position() - 1;
         p >= 0 && series.fieldAt(p, QStringLiteral("Operator")) == appraiser; --p) {
        ++trial;
    }
    return trial;
}

std::vector<History::Entry> Commands::correctionsOf(const Dane& editor, const QString& why) const {
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

bool Commands::storeSeries(Dane& editor, bool isNew, const QString& why) {
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

std::unique_ptr<GaugeSource> Commands::connectGauge(Dane& editor) {
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

void Commands::newSeries() {
    if (!hasSelectedAnalysis()) {
        tell(QString::fromUtf8("Nie wybrano analizy: najpierw zarejestruj lub wybierz analizę."));
        return;
    }
    const int n = CrossedDesign::partCount(session_.analyses().field(QStringLiteral("LiczbaN")));
    Dane editor(session_, *env_.dialogs, Dane::Mode::New, n, &window_);
    const std::unique_ptr<GaugeSource> gauge = connectGauge(editor);  // closed with the editor
    showUntilStored(editor, [&] { return storeSeries(editor, true); });
    window_.selectAnalysis();
}

void Commands::editSeries(int focusedPart, const QString& why) {
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

// ---- deleting ----

bool Commands::confirmDeletion(const char* question) {
    Dialogs& d = *env_.dialogs;
    d.beep();
    if (!d.askYesNo(QString::fromUtf8(question), QStringLiteral("Uwaga !"),
                    Dialogs::Icon::Question)) {
        return false;
    }
    d.beep();
    return d.askYesNo(QString::fromUtf8("Program gotowy do usunięcia danych - KONTYNUOWAĆ ?"),
                      QStringLiteral("Uwaga !!!"), Dialogs::Icon::Critical);
}

bool Commands::deleteEverySeries(QString* cause) {
    *cause = History::forgetAnalysis(session_.database(), selectedNumber());
    if (!cause->isEmpty()) {
        return false;
    }
    RecordSet& series = *session_.series();
    for (series.moveFirst(); !series.isEof(); series.moveFirst()) {
        if (!series.deleteCurrent()) {
            *cause = series.lastError();
            return false;  // a row that will not go ends the loop
        }
    }
    return true;
}

void Commands::deleteAnalysis() {
    if (!hasSelectedAnalysis()) {
        tell(QString::fromUtf8("Nie wybrano analizy do usunięcia."));
        return;
    }
    if (!confirmDeletion("Czy jesteś pewien, że usunąć sprawdzenie ?")) {
        return;
    }
    const QString numer = selectedNumber();
    Database& db = session_.database();
    QString cause;
    // The series, their history and their analysis go together or not at all.
    bool done = db.begin();
    if (!done) {
        cause = db.lastError();
    }
    done = done && deleteEverySeries(&cause);
    if (done && !session_.analyses().deleteCurrent()) {
        cause = session_.analyses().lastError();
        done = false;
    }
    if (done && !db.commit()) {
        cause = db.lastError();
        done = false;
    }
    if (!done) {
        db.rollback();
        session_.reloadAnalyses();  // the record set forgets what it thought was deleted
        reportFailure(
            QString::fromUtf8("Nie udało się usunąć analizy %1; nic nie zostało usunięte.")
                .arg(numer),
            cause);
        window_.selectAnalysis();
        return;
    }
    window_.removeAnalysisAndSelectLast();
}

void Commands::deleteSeries() {
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

void Commands::deleteAllSeries() {
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
