#include "study_file_commands.h"

#include <QDir>
#include <QFileInfo>

#include "analysis_commands.h"
#include "analysis_editor.h"
#include "csv_study.h"
#include "file_output.h"
#include "main_window.h"
#include "modal_commands.h"
#include "study_export.h"
#include "study_store.h"

StudyFileCommands::StudyFileCommands(Kalmet& window, Session& session,
                                     const UiEnvironment& environment, AnalysisCommands& analyses)
    : CommandBase(window, session, environment), analyses_(analyses) {}

void StudyFileCommands::exportAnalysis() {
    const AnalysisScreen& screen = window_.screen();
    if (!screen.hasResults()) {
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

bool StudyFileCommands::storeImported(NowaA& editor, const StudyFile& study) {
    Database& db = session_.database();
    if (!db.begin()) {
        reportFailure(QString::fromUtf8("Nie udało się zapisać analizy w bazie danych."),
                      db.lastError());
        return false;
    }
    if (!analyses_.storeNewAnalysis(editor)) {
        db.rollback();
        return false;
    }
    QString cause = StudyStore::storeValues(db, study, editor.analysisNumber());
    if (cause.isEmpty() && db.commit()) {
        return true;
    }
    cause = cause.isEmpty() ? db.lastError() : cause;
    db.rollback();
    reportFailure(QString::fromUtf8("Nie udało się zapisać serii danych w bazie danych."), cause);
    window_.removeAnalysisAndSelectLast();  // the analysis row went with the series
    return false;
}

void StudyFileCommands::importSeries() {
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
    analyses_.proposeNew(editor);
    const StudyFile& study = *read.study;
    editor.setKind(study.kind);
    if (study.kind == StudyKind::Crossed) {
        editor.fixCounts(study.parts, static_cast<int>(study.appraisers.size()), study.trials());
    }
    editor.fillFields(study.header, study.decimal);
    if (!showUntilStored(editor, [&] { return storeImported(editor, study); })) {
        window_.selectAnalysis();
        return;
    }
    window_.appendAndSelect(editor.analysisNumber());
}
