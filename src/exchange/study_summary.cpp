#include "study_summary.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>

#include "database.h"

#include "session.h"
#include "summary_pass.h"

namespace StudySummary {

namespace {

QJsonValue number(std::optional<double> v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

QString csvValue(const QJsonValue& v, const CsvStudy::Format& f) {
    if (v.isDouble()) {
        QString text = QString::number(v.toDouble(), 'g', 15);
        return text.replace(QLatin1Char('.'), f.decimal);
    }
    if (v.isBool()) {
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return CsvStudy::cell(v.toString(), f.separator);
}

Figures figuresOf(const AnalysisScreen& screen) {
    return {screen.hasCompleteStudy(), &screen.study, &screen.anova};
}

}  // namespace

Row resultsOf(const Figures& figures) {
    Row row{{QStringLiteral("complete"), figures.complete}};
    const RRResults& r = figures.study->results;
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"EV", r.EV},           {"AV", r.AV},           {"RR", r.RR},
        {"PV", r.PV},           {"TV", r.TV},           {"pctEV", r.percentEV},
        {"pctAV", r.percentAV}, {"pctRR", r.percentRR}, {"ndc", r.resolution}};
    for (const auto& [name, value] : numbers) {
        row.append({QString::fromLatin1(name), number(figures.complete ? value : std::nullopt)});
    }
    row.append(
        {QStringLiteral("rrVerdict"), QString::fromLatin1(nameOf(figures.study->rrVerdict))});
    row.append({QStringLiteral("resolutionVerdict"),
                QString::fromLatin1(nameOf(figures.study->resolutionVerdict))});
    const auto& a = *figures.anova;
    row.append({QStringLiteral("anovaPctRR"), number(a ? a->components.rr.pctRef : std::nullopt)});
    row.append({QStringLiteral("anovaNdc"), number(a ? a->ndc : std::nullopt)});
    row.append({QStringLiteral("anovaRrVerdict"),
                QString::fromLatin1(nameOf(a ? a->rrVerdict : Verdict::None))});
    row.append({QStringLiteral("anovaResolutionVerdict"),
                QString::fromLatin1(nameOf(a ? a->ndcVerdict : Verdict::None))});
    return row;
}

CsvStudy::ResultLines resultLines(const AnalysisScreen& screen, const CsvStudy::Format& f) {
    CsvStudy::ResultLines out;
    for (const auto& [name, value] : resultsOf(figuresOf(screen))) {
        out.append({name, csvValue(value, f)});
    }
    return out;
}

QByteArray bytesOf(const Row& row, bool jsonLines, bool first, const CsvStudy::Format& f) {
    if (jsonLines) {
        QJsonObject o;
        for (const auto& [name, value] : row) {
            o.insert(name, value);
        }
        return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    }
    const QString sep(f.separator);
    QString line;
    if (first) {  // the file's first row: the BOM and the line of names before it
        QStringList names;
        for (const auto& [name, value] : row) {
            names << name;
        }
        line = QChar(0xFEFF) + names.join(sep) + QStringLiteral("\r\n");
    }
    QStringList values;
    for (const auto& [name, value] : row) {
        values << csvValue(value, f);
    }
    return (line + values.join(sep) + QStringLiteral("\r\n")).toUtf8();
}

bool writeAll(Session& session, QIODevice& out, bool jsonLines, const CsvStudy::Format& f,
              const std::function<void(int, int)>& progress, QString* error) {
    // One read transaction: the file is locked once, and every row comes from one state.
    // Unmapped, the memory stays that of a small file however large this one is.
    Database& db = session.database();
    db.setMapped(false);
    const bool grouped = db.beginRead();
    const auto end = qScopeGuard([&] {
        if (grouped) {
            db.commit();
        }
        db.setMapped(true);
    });
    return SummaryPass(session, out, {jsonLines, f}).run(progress, error);
}

}  // namespace StudySummary
