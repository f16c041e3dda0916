#include "modal_commands.h"

#include <QDir>

#include "anova_window.h"
#include "chart_window.h"
#include "control_window.h"
#include "gauge_profiles_window.h"
#include "history.h"
#include "main_window.h"
#include "number_pattern.h"
#include "preview_window.h"
#include "report_inputs.h"
#include "session.h"
#include "settings_window.h"
#include "verification_window.h"

ModalCommands::ModalCommands(Kalmet& window, Session& session, const UiEnvironment& environment)
    : window_(window), session_(session), env_(environment) {}

void ModalCommands::preview() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasReport()) {
        return;  // the command is disabled then; a shortcut cannot slip through
    }
    const QString numer =
        session_.analyses().field(QStringLiteral("Numer")).toText(session_.regional());
    PagePrinter& printer = env_.printer ? *env_.printer : defaultPrinter_;
    PodKalmet preview(ReportInputs::gather(session_, screen, env_.now()), session_.shared(), numer,
                      *env_.dialogs, printer, &window_);
    env_.showModal(preview);
    window_.selectAnalysis();
}

void ModalCommands::chart() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasCompleteStudy()) {
        return;  // the command is disabled then
    }
    KalmetWyk chart(ReportInputs::gather(session_, screen, env_.now()), &window_);
    chart.Wykres();  // the first activation may not come on every platform
    env_.showModal(chart);
    window_.selectAnalysis();
}

void ModalCommands::anova() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasCompleteStudy()) {
        return;  // the command is disabled then
    }
    const QString suggested = suggestedFile(QStringLiteral("_ANOVA.pdf"));
    PagePrinter& printer = env_.printer ? *env_.printer : defaultPrinter_;
    AnovaWindow window(screen, ReportInputs::gather(session_, screen, env_.now()), env_, printer,
                       suggested, &window_);
    env_.showModal(window);
    window_.selectAnalysis();
}

// Needs no analysis; the analysis editor offers the profiles as they are afterwards.
void ModalCommands::gaugeProfiles() {
    GaugeProfilesWindow window(session_.profiles(), session_.database(), env_, &window_);
    env_.showModal(window);
    window_.selectAnalysis();
}

// Needs no analysis: the reference studies are computed in files of their own.
void ModalCommands::verification() {
    Verification::Options options;
    options.regional = session_.regional();
    options.now = env_.now();
    const Verification::Record record = Verification::run(options);
    const QString suggested =
        inPdfFolder(QStringLiteral("Weryfikacja_%1.pdf")
                        .arg(options.now.toString(QStringLiteral("yyyy-MM-dd"))));
    VerificationWindow window(record, env_, suggested, &window_);
    env_.showModal(window);
    window_.selectAnalysis();
}

// Named by the analysis number, in the program's PDF folder when it has one.
QString ModalCommands::suggestedFile(const QString& suffix) const {
    return inPdfFolder(fileNameOf(session_) + suffix);
}

QString ModalCommands::inPdfFolder(const QString& name) const {
    const QDir folder(session_.shared().applicationFolder);
    return folder.filePath(
        (folder.exists(QStringLiteral("PDF")) ? QStringLiteral("PDF/") : QString()) + name);
}

QString ModalCommands::fileNameOf(Session& session) {
    QString name = session.analyses().field(QStringLiteral("Numer")).toText(session.regional());
    return name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

void ModalCommands::controlCharts() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasCompleteStudy()) {
        return;  // the command is disabled then
    }
    const RegionalSettings& rs = session_.regional();
    const QString numer = session_.analyses().field(QStringLiteral("Numer")).toText(rs);
    QString error;
    const auto entries = History::read(session_.database(), numer, &error);
    if (!entries) {
        env_.dialogs->message(
            QString::fromUtf8("Nie udało się odczytać historii zmian: %1").arg(error),
            QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Warning);
    }
    // Old and new values as stored: the pattern's rounding would hide the correction.
    std::vector<ControlWindow::HistoryRow> rows;
    for (const History::Entry& e : entries.value_or(std::vector<History::Entry>())) {
        rows.push_back({{e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), e.appraiser,
                         QString::number(e.part), QString::number(e.trial), e.oldValue.toText(rs),
                         e.newValue.toText(rs), e.why}});
    }
    ControlWindow window(ReportInputs::gather(session_, screen, env_.now()), env_,
                         suggestedFile(QStringLiteral("_karty")), std::move(rows), &window_);
    env_.showModal(window);
    const std::optional<ControlLimits::Flag> chosen = window.chosenFlag();
    window_.selectAnalysis();
    if (chosen) {
        window_.remeasure(*chosen);
    }
}

void ModalCommands::settings() {
    RecordSet& row = session_.settingsRow();
    row.clearReadError();
    (void)row.field(QStringLiteral("Firma"));
    if (!row.hasCurrentRow() || !row.readError().isEmpty()) {
        // Fields that could not be read would be written back empty on closing.
        env_.dialogs->message(
            QString::fromUtf8("Nie udało się odczytać ustawień z bazy danych.\n\nPrzyczyna: %1")
                .arg(row.readError().isEmpty() ? QString::fromUtf8("brak wiersza ustawień.")
                                               : row.readError()),
            QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
        return;
    }
    Trans window(session_, *env_.dialogs, &window_);
    env_.showModal(window);
    session_.shared().refreshAfterSettingsCommand(row);
    // The new limits, level and patterns show at once, whatever the window
    // activation does afterwards.
    window_.selectAnalysis();
}
