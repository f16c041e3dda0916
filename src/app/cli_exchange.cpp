#include "cli_exchange.h"

#include <unistd.h>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "csv_study.h"
#include "excerpt.h"
#include "file_output.h"
#include "report_inputs.h"
#include "session.h"
#include "study_export.h"
#include "study_store.h"
#include "study_summary.h"

namespace CliExchange {

namespace {

QString suffixOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

int exportOne(const QCommandLineParser& p, const Fail& fail, const Fail& usage) {
    const QStringList args = p.positionalArguments();
    const QString out = p.value(QStringLiteral("out"));
    const QString layout = p.value(QStringLiteral("layout"));
    const bool dfq = suffixOf(out) == QLatin1String("dfq");
    if (args.size() != 3 || (suffixOf(out) != QLatin1String("csv") && !dfq) ||
        (layout != QLatin1String("long") && layout != QLatin1String("wide")) ||
        (dfq && (p.isSet(QStringLiteral("layout")) || p.isSet(QStringLiteral("results"))))) {
        return usage({}, 64);
    }
    auto opened = Session::openFile(args[1], RegionalSettings::fromSystem(),
                                    Database::Access::ReadOnly, args[2]);
    if (!opened.session) {
        return fail(opened.error, 2);
    }
    Session& session = *opened.session;
    const AnalysisScreen screen = AnalysisScreen::select(session, args[2]);
    if (screen.failed() || !screen.found) {
        return fail(screen.failed()
                        ? screen.readError
                        : QString::fromUtf8("Nie ma analizy o numerze „%1”.").arg(args[2]),
                    screen.failed() ? 2 : 3);
    }
    const ReportInputs inputs = ReportInputs::gather(session, screen, QDateTime::currentDateTime());
    const StudyExport::Kind kind = dfq                               ? StudyExport::Kind::Dfq
                                   : layout == QLatin1String("wide") ? StudyExport::Kind::CsvWide
                                                                     : StudyExport::Kind::CsvLong;
    QString error;
    QStringList changed;
    const bool written = FileOutput::write(
        out,
        [&](QIODevice& device) {
            return StudyExport::write(device, screen, inputs, kind,
                                      CsvStudy::Format::of(session.regional()),
                                      p.isSet(QStringLiteral("results")), &changed);
        },
        &error);
    if (!written) {
        return fail(QString::fromUtf8("Nie zapisano pliku: %1.").arg(error), 2);
    }
    if (!changed.isEmpty()) {
        fail(StudyExport::changedFieldsNote(changed), 0);  // written, with a word on it
    }
    return 0;
}

int importOne(const QCommandLineParser& p, const Fail& fail, const Fail& usage) {
    const QStringList args = p.positionalArguments();
    const QString numer = p.value(QStringLiteral("numer"));
    if (args.size() != 3 || numer.isEmpty()) {
        return usage({}, 64);
    }
    QHash<QString, QString> header;
    for (const QString& pair : p.values(QStringLiteral("header"))) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq < 1 || !ReportInputs::analysisFields().contains(pair.left(eq))) {
            return fail(QString::fromUtf8("Nieznane pole nagłówka %1 (pola: %2).")
                            .arg(quotedExcerpt(pair),
                                 ReportInputs::analysisFields().join(QStringLiteral(", "))),
                        64);
        }
        header.insert(pair.left(eq), pair.mid(eq + 1));
    }
    const CsvStudy::Read read = CsvStudy::readFile(args[2]);
    if (!read.study) {
        return fail(
            QString::fromUtf8("Plik „%1” nie został zaimportowany. %2").arg(args[2], read.error),
            5);
    }
    // What the analysis editor would refuse is not stored from a file either.
    if (const QString refused = StudyStore::refusedField(*read.study, header); !refused.isEmpty()) {
        return fail(
            QString::fromUtf8("Plik „%1” nie został zaimportowany. %2.").arg(args[2], refused), 5);
    }
    auto opened =
        Session::openFile(args[1], RegionalSettings::fromSystem(), Database::Access::ReadWrite,
                          std::nullopt, Session::Additions::Leave);
    if (!opened.session) {
        return fail(opened.error, 2);
    }
    const QString cause =
        StudyStore::storeNew(opened.session->database(), *read.study, numer, header);
    return cause.isEmpty()
               ? 0
               : fail(QString::fromUtf8("Analiza „%1” nie została zapisana: %2.").arg(numer, cause),
                      2);
}

int exportAll(const QCommandLineParser& p, const Fail& fail, const Fail& usage) {
    const QStringList args = p.positionalArguments();
    const QString out = p.value(QStringLiteral("out"));
    const bool jsonLines = suffixOf(out) == QLatin1String("jsonl");
    if (args.size() != 2 || (suffixOf(out) != QLatin1String("csv") && !jsonLines)) {
        return usage({}, 64);
    }
    // The pass reads the analyses itself; the session's own set is kept to the (normally
    // absent) analysis without a number, so opening reads nothing of a large file.
    auto opened = Session::openFile(args[1], RegionalSettings::fromSystem(),
                                    Database::Access::ReadOnly, QString());
    if (!opened.session) {
        return fail(opened.error, 2);
    }
    // A run longer than a second shows how far it is: rewritten in place on a terminal,
    // a line about once a second into a file or a pipe.
    QElapsedTimer timer;
    timer.start();
    const bool terminal = isatty(fileno(stderr)) != 0;
    qint64 shown = 0;
    const auto progress = [&](int done, int total) {
        const qint64 now = timer.elapsed();
        const bool due = now - shown >= (terminal ? 100 : 1000) || done == total;
        if (now < 1000 || !due) {
            return;
        }
        shown = now;
        std::fprintf(stderr, terminal ? "\r%d / %d analiz" : "%d / %d analiz\n", done, total);
        if (terminal && done == total) {
            std::fprintf(stderr, "\n");
        }
    };
    QString error;
    const bool written = FileOutput::write(
        out,
        [&](QIODevice& device) {
            return StudySummary::writeAll(*opened.session, device, jsonLines,
                                          CsvStudy::Format::of(opened.session->regional()),
                                          progress, &error);
        },
        &error);
    return written ? 0 : fail(QString::fromUtf8("Nie zapisano pliku: %1.").arg(error), 2);
}

}  // namespace

bool handles(const QString& command) {
    return command == QLatin1String("export") || command == QLatin1String("import") ||
           command == QLatin1String("export-all");
}

void describe(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("layout"), QString::fromUtf8("układ CSV: long albo wide"),
         QStringLiteral("UKŁAD"), QStringLiteral("long")},
        {QStringLiteral("results"), QString::fromUtf8("dopisz wyniki do pliku CSV")},
        {QStringLiteral("numer"), QString::fromUtf8("numer nowej analizy"),
         QStringLiteral("NUMER")},
        {QStringLiteral("header"), QString::fromUtf8("pole nagłówka nowej analizy, POLE=WARTOŚĆ"),
         QStringLiteral("POLE=WARTOŚĆ")},
    });
}

bool anyOwnOption(const QCommandLineParser& parser) {
    for (const char* name : {"layout", "results", "numer", "header"}) {
        if (parser.isSet(QString::fromLatin1(name))) {
            return true;
        }
    }
    return false;
}

int run(const QCommandLineParser& parser, const Fail& fail, const Fail& usage) {
    const QString command = parser.positionalArguments().value(0);
    if (command == QLatin1String("export")) {
        return exportOne(parser, fail, usage);
    }
    if (command == QLatin1String("import")) {
        return importOne(parser, fail, usage);
    }
    return exportAll(parser, fail, usage);
}

}  // namespace CliExchange
