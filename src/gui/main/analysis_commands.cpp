#include "analysis_commands.h"

#include "analysis_editor.h"
#include "date_pattern.h"
#include "kind_chooser.h"
#include "main_window.h"
#include "number_proposal.h"

AnalysisCommands::AnalysisCommands(Kalmet& window, Session& session,
                                   const UiEnvironment& environment)
    : CommandBase(window, session, environment) {}

// The editor of a new analysis: the next number after the last stored, today's date and
// the gauge profiles.
void AnalysisCommands::proposeNew(NowaA& editor) const {
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    const bool anyStored = analyses.recordCount() > 0;
    const QString last = analyses.field(QStringLiteral("Numer")).toText(session_.regional());
    editor.propose(proposeAnalysisNumber(last, anyStored, session_.regional()),
                   formatDate(env_.now(), session_.shared().datePattern(), session_.regional()));
    editor.fillProfiles(session_.profiles(), QString());
}

void AnalysisCommands::newAnalysis() {
    RodzajBadania chooser(&window_);
    env_.showModal(chooser);
    if (chooser.result() != QDialog::Accepted) {
        return;
    }
    NowaA editor(session_, *env_.dialogs, NowaA::Mode::New, &window_);
    editor.setKind(chooser.kind());
    proposeNew(editor);
    if (!showUntilStored(editor, [&] { return storeNewAnalysis(editor); })) {
        // The duplicate-number check moved the analysis record set: put it back on
        // the analysis the window shows.
        window_.selectAnalysis();
        return;
    }
    window_.appendAndSelect(editor.analysisNumber());
}

bool AnalysisCommands::storeNewAnalysis(NowaA& editor) {
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    analyses.addNew();
    return storeAnalysis(editor,
                         QString::fromUtf8("Nie udało się zapisać analizy w bazie danych."));
}

bool AnalysisCommands::storeAnalysis(NowaA& editor, const QString& failure) {
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

void AnalysisCommands::editAnalysis() {
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

void AnalysisCommands::deleteAnalysis() {
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
