// kalmet-cli: the results of the stored analyses for scripts and other quality systems.
//
//   kalmet-cli list DB            the analysis numbers, one per line, in record-set order
//   kalmet-cli results DB NUMER   one JSON object with what the main window shows
//   kalmet-cli report DB NUMER --out FILE.png|.bmp|.pdf [--zoom Z] [--font NAME]
//                                 the report page, drawn as the preview draws it
//   kalmet-cli chart DB NUMER --out FILE.png|.pdf   the chart window's picture
//
// The figures come from the same selection and computation that fill the main window.

#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>

#include "analysis_screen.h"
#include "chart_render.h"
#include "page_render.h"
#include "report_inputs.h"
#include "session.h"

namespace {

void printOut(const QByteArray& text) {
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
}

int fail(const QString& message, int code) {
    const QByteArray text = message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    return code;
}

int usage() {
    return fail(QString::fromUtf8(
                    "użycie: kalmet-cli list PLIK_BAZY\n"
                    "        kalmet-cli results PLIK_BAZY NUMER_ANALIZY\n"
                    "        kalmet-cli report PLIK_BAZY NUMER_ANALIZY --out PLIK.png|.bmp|.pdf "
                    "[--zoom SKALA] [--font CZCIONKA]\n"
                    "        kalmet-cli chart PLIK_BAZY NUMER_ANALIZY --out PLIK.png|.pdf"),
                64);
}

struct ReportOptions {
    QString out;
    double zoom = 1.0;
    QString font;
};

std::optional<ReportOptions> reportOptions(const QStringList& args) {
    ReportOptions o;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--out")) {
            o.out = args[i + 1];
        } else if (args[i] == QLatin1String("--zoom")) {
            bool ok = false;
            o.zoom = args[i + 1].toDouble(&ok);
            if (!ok || !(o.zoom >= 0.1 && o.zoom <= 4)) {
                return std::nullopt;
            }
        } else if (args[i] == QLatin1String("--font")) {
            o.font = args[i + 1];
        } else {
            return std::nullopt;
        }
    }
    const QString suffix = QFileInfo(o.out).suffix().toLower();
    const bool known = suffix == QLatin1String("png") || suffix == QLatin1String("bmp") ||
                       suffix == QLatin1String("pdf");
    if (args.size() % 2 != 0 || o.out.isEmpty() || !known) {
        return std::nullopt;
    }
    return o;
}

// The page as the preview draws it, into the file; an incomplete analysis has none.
int writeReport(Session& session, const AnalysisScreen& screen, const ReportOptions& options) {
    if (!screen.hasCompleteStudy()) {
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
    const bool written = pdf ? PageRender::writePdf(inputs, options.out, &error)
                             : PageRender::writePicture(inputs, options.zoom, options.out, &error);
    return written ? 0 : fail(QString::fromUtf8("Nie zapisano raportu: %1.").arg(error), 2);
}

template <typename Texts>
QJsonObject panelObject(const Texts& texts, const std::vector<int>& indices) {
    QJsonObject panels;
    for (const int i : indices) {
        panels.insert(QString::number(i), texts[static_cast<std::size_t>(i)]);
    }
    return panels;
}

QJsonObject resultsJson(const AnalysisScreen& screen, const QString& numer) {
    const StudyOutput& study = screen.study;
    QJsonObject out;
    out.insert(QStringLiteral("numer"), numer);
    out.insert(QStringLiteral("header"), panelObject(screen.header, Panels::headerIndices()));
    out.insert(QStringLiteral("label2"),
               screen.referenceCode ? QJsonValue(*screen.referenceCode) : QJsonValue());
    out.insert(QStringLiteral("results"), panelObject(study.panels, Panels::resultIndices()));
    out.insert(QStringLiteral("rrVerdict"), QString::fromLatin1(nameOf(study.rrVerdict)));
    out.insert(QStringLiteral("resolutionVerdict"),
               QString::fromLatin1(nameOf(study.resolutionVerdict)));
    out.insert(QStringLiteral("complete"), screen.hasCompleteStudy());
    QJsonArray grid;
    QJsonArray fixed;
    if (screen.hasSeries) {
        for (int r = 0; r < study.grid.rows; ++r) {
            QJsonArray cells;
            QJsonArray flags;
            for (int c = 0; c < study.grid.columns; ++c) {
                cells.append(study.grid.text(r, c));
                flags.append(study.grid.isFixed(r, c));
            }
            grid.append(cells);
            fixed.append(flags);
        }
    }
    out.insert(QStringLiteral("grid"), grid);
    out.insert(QStringLiteral("fixed"), fixed);
    return out;
}

// The chart window's picture, into the file; an incomplete analysis has none.
int writeChart(Session& session, const AnalysisScreen& screen, const QString& out) {
    if (!screen.hasCompleteStudy()) {
        return fail(QString::fromUtf8("Analiza nie ma kompletu serii pomiarowych (K × R): "
                                      "wykresu nie można narysować."),
                    4);
    }
    QString error;
    const ReportInputs inputs = ReportInputs::gather(session, screen, QDateTime::currentDateTime());
    if (!ChartRender::writeFile(inputs, out, &error)) {
        return fail(QString::fromUtf8("Nie zapisano wykresu: %1.").arg(error), 2);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing the page needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool list = !args.isEmpty() && args[0] == QLatin1String("list");
    const bool results = !args.isEmpty() && args[0] == QLatin1String("results");
    const bool report = !args.isEmpty() && args[0] == QLatin1String("report");
    const bool chart = !args.isEmpty() && args[0] == QLatin1String("chart");
    std::optional<ReportOptions> options;
    if ((report || chart) && args.size() >= 3) {
        options = reportOptions(args.mid(3));
    }
    const bool chartFile =
        options && !options->out.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    if ((list && args.size() != 2) || (results && args.size() != 3) || (report && !options) ||
        (chart && !chartFile) || (!list && !results && !report && !chart)) {
        return usage();
    }
    // One analysis is looked up through the number's index: the cost stays flat however
    // many analyses the file holds.
    const std::optional<QString> wanted = list ? std::nullopt : std::optional<QString>(args[2]);
    auto opened = Session::openFile(args[1], RegionalSettings::fromSystem(),
                                    Database::Access::ReadOnly, wanted);
    if (!opened.session) {
        return fail(opened.error, 2);
    }
    Session& session = *opened.session;
    if (args[0] == QLatin1String("list")) {
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
    AnalysisScreen screen = AnalysisScreen::select(session, args[2]);
    if (screen.failed()) {
        return fail(QString::fromUtf8("Nie można odczytać analizy „%1”: %2.")
                        .arg(args[2], screen.readError),
                    2);
    }
    if (!screen.found) {
        return fail(QString::fromUtf8("Nie ma analizy o numerze „%1”.").arg(args[2]), 3);
    }
    if (report) {
        return writeReport(session, screen, *options);
    }
    if (chart) {
        return writeChart(session, screen, options->out);
    }
    printOut(QJsonDocument(resultsJson(screen, args[2])).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}
