#include "commands.h"

#include <QComboBox>
#include <QLineEdit>

#include "analysis_editor.h"
#include "date_pattern.h"
#include "main_window.h"
#include "number_pattern.h"
#include "number_proposal.h"
#include "number_reader.h"
#include "series_editor.h"
#include "session.h"
#include "study_input.h"
#include "typing_limit.h"

namespace {

const char* const kWarningTitle = "UWAGA !!!";

QString text(const NowaA& editor, const char* name) {
    if (QLineEdit* box = editor.box(name)) {
        return box->text();
    }
    return editor.list(name)->currentText();
}

}  // namespace

Commands::Commands(Kalmet& window, Session& session, const UiEnvironment& environment)
    : window_(window), session_(session), env_(environment) {}

void Commands::tell(const QString& message) {
    env_.dialogs->beep();
    env_.dialogs->message(message, QString::fromLatin1(kWarningTitle), Dialogs::Icon::Warning);
}

void Commands::reportFailure(const QString& what, const QString& cause) {
    env_.dialogs->message(QString::fromUtf8("%1\n\nPrzyczyna: %2").arg(what, cause),
                          QString::fromLatin1(kWarningTitle), Dialogs::Icon::Critical);
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

void Commands::fillProfiles(NowaA& editor, const QString& selectedName) {
    QComboBox* profiles = editor.list("Combo4");
    profiles->clear();
    profiles->addItem(QStringLiteral("Brak"));
    int selected = 0;
    RecordSet& set = session_.profiles();
    for (set.moveFirst(); !set.isEof(); set.moveNext()) {
        const QString name = set.field(QStringLiteral("Nazwa")).toText(session_.regional());
        profiles->addItem(name);
        if (!selectedName.isNull() && name == selectedName) {
            selected = profiles->count() - 1;  // the last of equal names wins
        }
    }
    profiles->setCurrentIndex(selected);
}

QString Commands::profileTransmission(const QString& name) {
    if (name == QLatin1String("Brak")) {
        return QStringLiteral("X");
    }
    RecordSet& set = session_.profiles();
    set.moveFirst();
    if (set.find(QStringLiteral("Nazwa"), Value(name))) {
        return set.field(QStringLiteral("Transmisja")).toText(session_.regional());
    }
    return QStringLiteral("X");
}

void Commands::newAnalysis() {
    NowaA editor(session_, *env_.dialogs, &window_);
    editor.setWindowTitle(QString::fromUtf8(NowaA::kNewCaption));
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    const bool anyStored = analyses.recordCount() > 0;
    const QString last = analyses.field(QStringLiteral("Numer")).toText(session_.regional());
    editor.box("Text11")->setText(proposeAnalysisNumber(last, anyStored, session_.regional()));
    TypingLimit::put(editor.box("Text12"), formatDate(env_.now(), session_.shared().datePattern(),
                                                      session_.regional()));
    fillProfiles(editor, QString());
    if (!showUntilStored(editor, [&] { return storeNewAnalysis(editor); })) {
        // The duplicate-number check moved the analysis record set: put it back on
        // the analysis the window shows.
        window_.selectAnalysis();
        return;
    }
    window_.appendAndSelect(editor.box("Text11")->text());
}

// The fields the editor writes, in the order it writes them; an edit writes the same
// list from "Temperatura" on (number, N, K, R and date stay as stored).
const std::pair<const char*, const char*> kAnalysisFields[] = {
    {"Numer", "Text11"},      {"LiczbaN", "Combo1"},  {"LiczbaK", "Combo2"},
    {"LiczbaR", "Combo3"},    {"Data", "Text12"},     {"Temperatura", "Text13"},
    {"Wilgotnosc", "Text14"}, {"NazwaC", "Text1"},    {"NUmerC", "Text2"},
    {"Parametr", "Text3"},    {"WN", "Text4"},        {"GWG", "Text6"},
    {"DWG", "Text7"},         {"Jednostka", "Text5"}, {"NazwaP", "Text8"},
    {"NumerP", "Text9"},      {"ZakresP", "Text10"},  {"BladP", "Text15"},
    {"NazwaT", "Combo4"}};
constexpr std::size_t kFirstEditedField = 5;

bool Commands::storeNewAnalysis(NowaA& editor) {
    RecordSet& analyses = session_.analyses();
    analyses.moveLast();
    analyses.addNew();
    return storeAnalysisFields(editor, 0,
                               QString::fromUtf8("Nie udało się zapisać analizy w bazie danych."));
}

bool Commands::storeEditedAnalysis(NowaA& editor) {
    return storeAnalysisFields(
        editor, kFirstEditedField,
        QString::fromUtf8("Nie udało się zapisać poprawionej analizy w bazie danych."));
}

bool Commands::storeAnalysisFields(NowaA& editor, std::size_t first, const QString& failure) {
    RecordSet& analyses = session_.analyses();
    for (std::size_t i = first; i < std::size(kAnalysisFields); ++i) {
        const auto& [field, control] = kAnalysisFields[i];
        // A text the field cannot hold (a hidden box left with letters) is not stored.
        (void)analyses.setField(QString::fromLatin1(field), Value(text(editor, control)));
    }
    (void)analyses.setField(QStringLiteral("CoRef"), Value(editor.list("Combo5")->currentIndex()));
    (void)analyses.setField(QStringLiteral("Setings"),
                            Value(profileTransmission(text(editor, "Combo4"))));
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
    const RegionalSettings& rs = session_.regional();
    auto field = [&](const char* name) {
        return analyses.field(QString::fromLatin1(name)).toText(rs);
    };
    NowaA editor(session_, *env_.dialogs, &window_);
    editor.setWindowTitle(QString::fromUtf8(NowaA::kEditCaption));
    editor.box("Text11")->setText(field("Numer"));
    editor.list("Combo1")->setCurrentText(field("LiczbaN"));
    editor.list("Combo2")->setCurrentText(field("LiczbaK"));
    editor.list("Combo3")->setCurrentText(field("LiczbaR"));
    const Value mode = analyses.field(QStringLiteral("CoRef"));
    if (mode.number() >= 0 && mode.number() <= 4) {
        editor.list("Combo5")->setCurrentIndex(static_cast<int>(mode.number()));
    }
    const std::pair<const char*, const char*> boxes[] = {
        {"Text12", "Data"},     {"Text13", "Temperatura"}, {"Text14", "Wilgotnosc"},
        {"Text1", "NazwaC"},    {"Text2", "NumerC"},       {"Text3", "Parametr"},
        {"Text4", "WN"},        {"Text6", "GWG"},          {"Text7", "DWG"},
        {"Text5", "Jednostka"}, {"Text8", "NazwaP"},       {"Text9", "NumerP"},
        {"Text10", "ZakresP"},  {"Text15", "BladP"}};
    for (const auto& [control, name] : boxes) {
        TypingLimit::put(editor.box(control), field(name));
    }
    for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
        editor.list(name)->setEnabled(false);
    }
    editor.box("Text11")->setEnabled(false);
    editor.box("Text12")->setEnabled(false);
    fillProfiles(editor, field("NazwaT"));
    showUntilStored(editor, [&] { return storeEditedAnalysis(editor); });
    window_.selectAnalysis();  // after the commit, so the corrected analysis shows
}

// ---- series ----

bool Commands::storeSeries(Dane& editor, bool isNew) {
    RecordSet& series = *session_.series();
    RecordSet& analyses = session_.analyses();
    const RegionalSettings& rs = session_.regional();
    if (isNew) {
        series.addNew();
        (void)series.setField(QStringLiteral("ID"), analyses.field(QStringLiteral("Numer")));
        (void)series.setField(QStringLiteral("Operator"), Value(editor.appraiserBox()->text()));
    }
    double sum = 0;
    QString refused;
    const QVector<QLineEdit*>& boxes = editor.valueBoxes();
    for (int i = 0; i < boxes.size(); ++i) {
        if (!series.setField(QStringLiteral("P%1").arg(i + 1), Value(boxes[i]->text()))) {
            refused = series.lastError();
        }
        sum += readLocaleNumber(boxes[i]->text(), rs).value_or(0.0);
    }
    const int n = StudyInput::partCount(analyses.field(QStringLiteral("LiczbaN")));
    (void)series.setField(QStringLiteral("ObX"), Value(n > 0 ? sum / n : 0.0));
    if (refused.isEmpty() && series.update()) {
        return true;
    }
    const QString cause = refused.isEmpty() ? series.lastError() : refused;
    series.cancelUpdate();
    reportFailure(QString::fromUtf8("Nie udało się zapisać serii danych w bazie danych."), cause);
    return false;
}

void Commands::newSeries() {
    if (!hasSelectedAnalysis()) {
        tell(QString::fromUtf8("Nie wybrano analizy: najpierw zarejestruj lub wybierz analizę."));
        return;
    }
    const int n = StudyInput::partCount(session_.analyses().field(QStringLiteral("LiczbaN")));
    Dane editor(session_, *env_.dialogs, QString::fromUtf8(Dane::kNewCaption), n, &window_);
    showUntilStored(editor, [&] { return storeSeries(editor, true); });
    window_.selectAnalysis();
}

void Commands::editSeries() {
    if (!hasSelectedSeries()) {
        tell(QString::fromUtf8("Brak serii danych do poprawienia."));
        return;
    }
    RecordSet& series = *session_.series();
    const int n = StudyInput::partCount(session_.analyses().field(QStringLiteral("LiczbaN")));
    Dane editor(session_, *env_.dialogs, QString::fromUtf8(Dane::kEditCaption), n, &window_);
    TypingLimit::put(editor.appraiserBox(),
                     series.field(QStringLiteral("Operator")).toText(session_.regional()));
    const NumberPattern pattern(session_.shared().numberPattern());
    for (int i = 0; i < n; ++i) {
        const QString shown =
            series.field(QStringLiteral("P%1").arg(i + 1)).format(pattern, session_.regional());
        editor.valueBoxes()[i]->setText(shown);
    }
    editor.appraiserBox()->setEnabled(false);
    editor.valueBoxes().first()->setFocus();
    showUntilStored(editor, [&] { return storeSeries(editor, false); });
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
    const QString numer =
        session_.analyses().field(QStringLiteral("Numer")).toText(session_.regional());
    Database& db = session_.database();
    QString cause;
    // The series and their analysis go together or not at all.
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
    if (!session_.series()->deleteCurrent()) {
        reportFailure(QString::fromUtf8("Nie udało się usunąć serii danych."),
                      session_.series()->lastError());
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
