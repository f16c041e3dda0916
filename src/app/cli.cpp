// kalmet-cli: the results of the stored analyses for scripts and other quality systems.
//
//   kalmet-cli list DB            the analysis numbers, one per line, in record-set order
//   kalmet-cli results DB NUMER   one JSON object with what the main window shows
//   kalmet-cli history DB NUMER   the corrections of the analysis's values, as JSON
//   kalmet-cli report DB NUMER --out FILE.png|.bmp|.pdf [--zoom Z] [--font NAME]
//                  [--page anova] [--alpha A]
//                                 the report page, drawn as the preview draws it, or
//                                 the ANOVA page as its window draws it
//   kalmet-cli chart DB NUMER --out FILE.png|.pdf [--kind xbar-r]
//                                 the chart window's picture, or the control charts
//   kalmet-cli verify [--out FILE.pdf]
//                                 the program's figures against published studies;
//                                 status 1 when any disagrees
//   kalmet-cli read-gauge SETTINGS,PORT [--count N] [--timeout S]
//                                 readings of a gauge, one a line
//
// The figures come from the same selection and computation that fill the main window.

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>

#include "analysis_screen.h"
#include "chart_render.h"
#include "cli_exchange.h"
#include "cli_gauge.h"
#include "control_chart.h"
#include "history.h"
#include "page_render.h"
#include "report_inputs.h"
#include "results_json.h"
#include "session.h"
#include "verification.h"
#include "verification_page.h"

namespace {

void printOut(const QByteArray& text) {
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
}

int fail(const QString& message, int code) {
    const QByteArray text = message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    return code;
}

const char* const kUsage =
    "użycie: kalmet-cli list PLIK_BAZY\n"
    "        kalmet-cli results PLIK_BAZY NUMER_ANALIZY [--alpha ALFA]\n"
    "        kalmet-cli history PLIK_BAZY NUMER_ANALIZY\n"
    "        kalmet-cli export PLIK_BAZY NUMER_ANALIZY --out PLIK.csv|.dfq [--layout long|wide] "
    "[--results]\n"
    "        kalmet-cli import PLIK_BAZY PLIK.csv --numer NUMER [--header POLE=WARTOŚĆ …]\n"
    "        kalmet-cli export-all PLIK_BAZY --out PLIK.csv|.jsonl\n"
    "        kalmet-cli report PLIK_BAZY NUMER_ANALIZY --out PLIK.png|.bmp|.pdf "
    "[--zoom SKALA] [--font CZCIONKA] [--page anova] [--alpha ALFA]\n"
    "        kalmet-cli chart PLIK_BAZY NUMER_ANALIZY --out PLIK.png|.pdf [--kind xbar-r]\n"
    "        kalmet-cli verify [--out PLIK.pdf]\n"
    "        kalmet-cli read-gauge USTAWIENIA,PORT [--count N] [--timeout S]";

int usage() {
    return fail(QString::fromUtf8(kUsage), 64);
}

struct ReportOptions {
    QString out;
    double zoom = 1.0;
    QString font;
    PageRender::Page page = PageRender::Page::Report;
    bool controlCharts = false;
};

// What the command line asks for; nothing when it is not a valid call.
struct Call {
    QString command;
    QString database;
    QString numer;
    ReportOptions options;
    double alpha = AnalysisScreen::kAnovaAlpha;
};

void describe(QCommandLineParser& parser) {
    CliExchange::describe(parser);
    CliGauge::describe(parser);
    parser.setApplicationDescription(
        QString::fromUtf8(
            "Wyniki analiz R&R zapisanych w pliku bazy danych programu Kalmet III.\n\n") +
        QString::fromUtf8(kUsage));
    parser.addPositionalArgument(
        QStringLiteral("polecenie"),
        QStringLiteral(
            "list, results, history, report, chart, export, import, export-all, verify lub "
            "read-gauge"));
    parser.addPositionalArgument(QStringLiteral("plik"), QStringLiteral("plik bazy danych"));
    parser.addPositionalArgument(QStringLiteral("numer"), QStringLiteral("numer analizy"));
    parser.addOptions({
        {QStringLiteral("out"),
         QString::fromUtf8("plik wynikowy: .png, .bmp lub .pdf (report), .png lub .pdf (chart), "
                           ".csv lub .dfq (export), .csv lub .jsonl (export-all), .pdf (verify)"),
         QStringLiteral("PLIK")},
        {QStringLiteral("zoom"), QString::fromUtf8("skala strony raportu, od 0.1 do 4"),
         QStringLiteral("SKALA"), QStringLiteral("1")},
        {QStringLiteral("font"), QString::fromUtf8("czcionka raportu"), QStringLiteral("CZCIONKA")},
        {QStringLiteral("page"), QString::fromUtf8("strona raportu: report (R&R) lub anova"),
         QStringLiteral("STRONA"), QStringLiteral("report")},
        {QStringLiteral("kind"), QString::fromUtf8("rodzaj wykresu: xbar-r (karty kontrolne)"),
         QStringLiteral("RODZAJ")},
        {QStringLiteral("alpha"),
         QString::fromUtf8("poziom istotności interakcji w ANOVA, od 0.001 do 0.5"),
         QStringLiteral("ALFA"), QStringLiteral("0.05")},
    });
}

std::optional<Call> readCall(const QCommandLineParser& parser) {
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool drawing = command == QLatin1String("report") || command == QLatin1String("chart");
    const int wanted = command == QLatin1String("list") ? 2 : 3;
    const bool textual = command == QLatin1String("list") || command == QLatin1String("results") ||
                         command == QLatin1String("history");
    if ((!drawing && !textual) || args.size() != wanted ||
        (!drawing && (parser.isSet(QStringLiteral("out")) || parser.isSet(QStringLiteral("zoom")) ||
                      parser.isSet(QStringLiteral("font")))) ||
        (command != QLatin1String("report") && parser.isSet(QStringLiteral("page"))) ||
        (command != QLatin1String("chart") && parser.isSet(QStringLiteral("kind"))) ||
        CliExchange::anyOwnOption(parser) || CliGauge::anyOwnOption(parser)) {
        return std::nullopt;
    }
    Call call{command, args.value(1), args.value(2), {}};
    if (parser.isSet(QStringLiteral("alpha"))) {
        bool ok = false;
        call.alpha = parser.value(QStringLiteral("alpha")).toDouble(&ok);
        if (command == QLatin1String("list") || command == QLatin1String("chart") ||
            command == QLatin1String("history") || !ok || !Anova::isAlpha(call.alpha)) {
            return std::nullopt;
        }
    }
    if (!drawing) {
        return call;
    }
    bool ok = false;
    call.options.out = parser.value(QStringLiteral("out"));
    call.options.zoom = parser.value(QStringLiteral("zoom")).toDouble(&ok);
    call.options.font = parser.value(QStringLiteral("font"));
    const QString page = parser.value(QStringLiteral("page"));
    if (page != QLatin1String("report") && page != QLatin1String("anova")) {
        return std::nullopt;
    }
    call.options.page =
        page == QLatin1String("anova") ? PageRender::Page::Anova : PageRender::Page::Report;
    const QString kind = parser.value(QStringLiteral("kind"));
    if (!kind.isEmpty() && kind != QLatin1String("xbar-r")) {
        return std::nullopt;
    }
    call.options.controlCharts = !kind.isEmpty();
    const QString suffix = QFileInfo(call.options.out).suffix().toLower();
    const bool known = suffix == QLatin1String("png") || suffix == QLatin1String("pdf") ||
                       (suffix == QLatin1String("bmp") && command == QLatin1String("report"));
    const bool zoomed = ok && call.options.zoom >= 0.1 && call.options.zoom <= 4;
    if (!known || !zoomed) {
        return std::nullopt;
    }
    return call;
}

// The page as the preview draws it, into the file; an incomplete analysis has none.
int writeReport(Session& session, const AnalysisScreen& screen, const ReportOptions& options) {
    if (screen.kind != StudyKind::Crossed && !screen.hasKindResults()) {
        const QString why =
            ReportInputs::gather(session, screen, QDateTime::currentDateTime()).refusal;
        return fail(QString::fromUtf8("Raportu nie można wydrukować: %1")
                        .arg(why.isEmpty() ? QString::fromUtf8("analiza nie ma odczytów.") : why),
                    4);
    }
    if (screen.kind == StudyKind::Crossed && !screen.hasCompleteStudy()) {
        return fail(QString::fromUtf8("Analiza nie ma kompletu serii pomiarowych (K × R): "
                                      "raportu nie można wydrukować."),
                    4);
    }
    if (!options.font.isEmpty()) {
        session.shared().reportFont = options.font;
    }
    const ReportInputs inputs = ReportInputs::gather(session, screen, QDateTime::currentDateTime());
    QString error;
    const bool pdf =
        QFileInfo(options.out).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    const bool written =
        pdf ? PageRender::writePdf(inputs, options.out, &error, options.page)
            : PageRender::writePicture(inputs, options.zoom, options.out, &error, options.page);
    return written ? 0 : fail(QString::fromUtf8("Nie zapisano raportu: %1.").arg(error), 2);
}

// The chart window's picture or the control charts, into the file; an incomplete
// analysis has none.
int writeChart(Session& session, const AnalysisScreen& screen, const ReportOptions& options) {
    if (screen.kind != StudyKind::Crossed) {
        return fail(QString::fromUtf8("Wykresy analizy R&R nie dotyczą badania typu 1: jego "
                                      "wykresy są w raporcie (kalmet-cli report)."),
                    4);
    }
    if (!screen.hasCompleteStudy()) {
        return fail(QString::fromUtf8("Analiza nie ma kompletu serii pomiarowych (K × R): "
                                      "wykresu nie można narysować."),
                    4);
    }
    QString error;
    const ReportInputs inputs = ReportInputs::gather(session, screen, QDateTime::currentDateTime());
    const bool written = options.controlCharts
                             ? ControlChart::writeFile(inputs, options.out, &error)
                             : ChartRender::writeFile(inputs, options.out, &error);
    if (!written) {
        return fail(QString::fromUtf8("Nie zapisano wykresu: %1.").arg(error), 2);
    }
    return 0;
}

QJsonValue jsonOf(const Value& v) {
    return v.isNumber() ? QJsonValue(v.number())
                        : (v.isText() ? QJsonValue(v.text()) : QJsonValue());
}

// The corrections of the analysis's measured values, oldest first; none for a file from
// before the history was kept.
int printHistory(Session& session, const QString& numer) {
    QString error;
    const auto entries = History::read(session.database(), numer, &error);
    if (!entries) {
        return fail(QString::fromUtf8("Nie można odczytać historii zmian: %1.").arg(error), 2);
    }
    QJsonArray out;
    for (const History::Entry& e : *entries) {
        out.append(QJsonObject{{QStringLiteral("when"), e.when.toString(Qt::ISODate)},
                               {QStringLiteral("appraiser"), e.appraiser},
                               {QStringLiteral("part"), e.part},
                               {QStringLiteral("trial"), e.trial},
                               {QStringLiteral("old"), jsonOf(e.oldValue)},
                               {QStringLiteral("new"), jsonOf(e.newValue)},
                               {QStringLiteral("why"), e.why}});
    }
    printOut(QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}

int listNumbers(Session& session) {
    QByteArray text;
    session.analyses().clearReadError();
    for (const QString& numer : session.analysisNumbers()) {
        text += numer.toUtf8() + '\n';
    }
    if (!session.analyses().readError().isEmpty()) {
        return fail(QString::fromUtf8("Nie można odczytać numerów analiz: %1.")
                        .arg(session.analyses().readError()),
                    2);
    }
    printOut(text);
    return 0;
}

// A command on the file: the list, or one analysis's results, history, page or chart.
int run(const Call& call) {
    const bool list = call.command == QLatin1String("list");
    // One analysis is looked up through the number's index: the cost stays flat however
    // many analyses the file holds.
    const std::optional<QString> wanted = list ? std::nullopt : std::optional<QString>(call.numer);
    auto opened = Session::openFile(call.database, RegionalSettings::fromSystem(),
                                    Database::Access::ReadOnly, wanted);
    if (!opened.session) {
        return fail(opened.error, 2);
    }
    Session& session = *opened.session;
    if (list) {
        return listNumbers(session);
    }
    const QString& numer = call.numer;
    AnalysisScreen screen = AnalysisScreen::select(session, numer, call.alpha);
    if (screen.failed()) {
        return fail(
            QString::fromUtf8("Nie można odczytać analizy „%1”: %2.").arg(numer, screen.readError),
            2);
    }
    if (!screen.found) {
        return fail(QString::fromUtf8("Nie ma analizy o numerze „%1”.").arg(numer), 3);
    }
    if (call.command == QLatin1String("history")) {
        return printHistory(session, numer);
    }
    if (call.command == QLatin1String("report")) {
        return writeReport(session, screen, call.options);
    }
    if (call.command == QLatin1String("chart")) {
        return writeChart(session, screen, call.options);
    }
    printOut(QJsonDocument(ResultsJson::of(screen, numer)).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}

// The verification record: the table on standard output and, on request, the PDF; any
// figure that disagrees with its publication makes the exit status 1.
int verify(const QCommandLineParser& parser) {
    const QString out = parser.value(QStringLiteral("out"));
    if (parser.positionalArguments().size() != 1 ||
        (!out.isEmpty() && QFileInfo(out).suffix().toLower() != QLatin1String("pdf"))) {
        return usage();
    }
    Verification::Options options;
    options.regional = RegionalSettings::fromSystem();
    const Verification::Record record = Verification::run(options);
    printOut(Verification::plainText(record).toUtf8());
    if (record.incomplete()) {
        // a record of figures never computed is nothing to sign
        return fail(QString::fromUtf8("Weryfikacja niepełna: %1 Protokołu nie zapisano.")
                        .arg(record.summary()),
                    record.exitCode());
    }
    QString error;
    if (!out.isEmpty() && !VerificationPage::writePdf(record, out, &error)) {
        return fail(QString::fromUtf8("Nie zapisano protokołu: %1.").arg(error), 2);
    }
    return record.exitCode();
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing the page needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalmet-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KALMET_VERSION));
    QCommandLineParser parser;
    describe(parser);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        return usage();
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        printOut((parser.isSet(help)
                      ? parser.helpText()
                      : QStringLiteral("kalmet-cli %1\n").arg(QLatin1String(KALMET_VERSION)))
                     .toUtf8());
        return 0;
    }
    if (parser.positionalArguments().value(0) == QLatin1String("verify")) {
        return verify(parser);
    }
    const QString command = parser.positionalArguments().value(0);
    const auto wrongArguments = [](const QString&, int) { return usage(); };
    if (CliExchange::handles(command) && !CliGauge::anyOwnOption(parser)) {
        return CliExchange::run(parser, fail, wrongArguments);
    }
    if (CliGauge::handles(command) && !CliExchange::anyOwnOption(parser)) {
        return CliGauge::run(parser, fail, wrongArguments);
    }
    const std::optional<Call> call = readCall(parser);
    if (!call) {
        return usage();
    }
    return run(*call);
}
