// kalmet-cli: the results of the stored analyses for scripts and other quality systems.
//
//   kalmet-cli list DB            the analysis numbers, one per line, in record-set order
//   kalmet-cli results DB NUMER   one JSON object with what the main window shows
//
// The figures come from the same selection and computation that fill the main window.

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "analysis_screen.h"
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
    return fail(QStringLiteral("użycie: kalmet-cli list PLIK_BAZY\n"
                               "        kalmet-cli results PLIK_BAZY NUMER_ANALIZY"),
                64);
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
    out.insert(QStringLiteral("complete"), screen.hasSeries && study.complete);
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2 || (args[0] == QLatin1String("list") && args.size() != 2) ||
        (args[0] == QLatin1String("results") && args.size() != 3) ||
        (args[0] != QLatin1String("list") && args[0] != QLatin1String("results"))) {
        return usage();
    }
    auto opened =
        Session::openFile(args[1], RegionalSettings::fromSystem(), Database::Access::ReadOnly);
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
    const AnalysisScreen screen = AnalysisScreen::select(session, args[2]);
    if (screen.failed()) {
        return fail(QString::fromUtf8("Nie można odczytać analizy „%1”: %2.")
                        .arg(args[2], screen.readError),
                    2);
    }
    if (!screen.found) {
        return fail(QString::fromUtf8("Nie ma analizy o numerze „%1”.").arg(args[2]), 3);
    }
    printOut(QJsonDocument(resultsJson(screen, args[2])).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}
