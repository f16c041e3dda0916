#include "study_summary.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>

#include "database.h"
#include "figure_tables.h"

#include "session.h"
#include "summary_pass.h"

namespace StudySummary {

namespace {

Cell number(std::optional<double> v) {
    return v ? Cell(*v) : Cell();
}

QJsonValue jsonOf(const Cell& v) {
    if (const double* d = std::get_if<double>(&v)) {
        return *d;
    }
    if (const bool* b = std::get_if<bool>(&v)) {
        return *b;
    }
    if (const QString* text = std::get_if<QString>(&v)) {
        return *text;
    }
    return {};
}

QString csvValue(const Cell& v, const CsvStudy::Format& f) {
    if (const double* d = std::get_if<double>(&v)) {
        QString text = QString::number(*d, 'g', QLocale::FloatingPointShortest);
        return text.replace(QLatin1Char('.'), f.decimal);
    }
    if (const bool* b = std::get_if<bool>(&v)) {
        return *b ? QStringLiteral("1") : QStringLiteral("0");
    }
    const QString* text = std::get_if<QString>(&v);
    return CsvStudy::cell(text ? *text : QString(), f.separator);
}

Figures figuresOf(const AnalysisScreen& screen) {
    return {screen.hasCompleteStudy(), &screen.study, &screen.anova};
}

}  // namespace

Row resultsOf(const Figures& figures) {
    Row row{{QStringLiteral("complete"), figures.complete}};
    row.reserve(16);
    const RRResults& r = figures.study->results;
    for (const FigureRow<RRResults>& figure : FigureTables::averageAndRange()) {
        if (!figure.column.isEmpty()) {
            row.append({figure.column, number(figures.complete ? figure.get(r) : std::nullopt)});
        }
    }
    row.append(
        {QStringLiteral("rrVerdict"), QString::fromLatin1(nameOf(figures.study->rrVerdict))});
    row.append({QStringLiteral("resolutionVerdict"),
                QString::fromLatin1(nameOf(figures.study->resolutionVerdict))});
    const auto& a = *figures.anova;
    for (const FigureRow<Anova::Results>& figure : FigureTables::anova()) {
        if (!figure.column.isEmpty()) {
            row.append({figure.column, number(a ? figure.get(*a) : std::nullopt)});
        }
    }
    row.append({QStringLiteral("anovaRrVerdict"),
                QString::fromLatin1(nameOf(a ? a->rrVerdict : Verdict::None))});
    row.append({QStringLiteral("anovaResolutionVerdict"),
                QString::fromLatin1(nameOf(a ? a->ndcVerdict : Verdict::None))});
    return row;
}

Row type1ResultsOf(const std::optional<Type1::Outcome>& type1) {
    const Type1::Results* r = type1 && type1->results ? &*type1->results : nullptr;
    Row row{{QStringLiteral("complete"), r != nullptr}};
    for (const FigureRow<Type1::Results>& figure : FigureTables::type1()) {
        row.append({figure.key, number(r ? figure.get(*r) : std::nullopt)});
    }
    const auto verdictOf = [&](Verdict Type1::Results::*field) {
        return QString::fromLatin1(nameOf(r ? r->*field : Verdict::None));
    };
    row.append({QStringLiteral("cgVerdict"), verdictOf(&Type1::Results::cgVerdict)});
    row.append({QStringLiteral("cgkVerdict"), verdictOf(&Type1::Results::cgkVerdict)});
    row.append(
        {QStringLiteral("resolutionVerdict"), verdictOf(&Type1::Results::resolutionVerdict)});
    row.append({QStringLiteral("biasSignificant"),
                r && r->biasSignificant ? Cell(*r->biasSignificant) : Cell()});
    return row;
}

Row linearityResultsOf(const std::optional<Linearity::Outcome>& linearity) {
    const Linearity::Results* r = linearity && linearity->results ? &*linearity->results : nullptr;
    Row row{{QStringLiteral("complete"), r != nullptr}};
    for (const FigureRow<Linearity::Results>& figure : FigureTables::linearity()) {
        row.append({figure.key, number(r ? figure.get(*r) : std::nullopt)});
    }
    row.append({QStringLiteral("acceptable"), r ? Cell(r->acceptable) : Cell()});
    return row;
}

Row attributeResultsOf(const std::optional<Attribute::Outcome>& attribute) {
    const Attribute::Results* r = attribute && attribute->results ? &*attribute->results : nullptr;
    const auto pct = [](const std::optional<Attribute::Agreement>& a) {
        return a ? Cell(a->pct) : Cell();
    };
    return {{QStringLiteral("complete"), r != nullptr},
            {QStringLiteral("parts"), r ? Cell(double(r->parts)) : Cell()},
            {QStringLiteral("appraisers"), r ? Cell(double(r->appraisers.size())) : Cell()},
            {QStringLiteral("trials"), r ? Cell(double(r->trials)) : Cell()},
            {QStringLiteral("betweenPct"), r ? pct(r->between) : Cell()},
            {QStringLiteral("fleissBetween"), r ? number(r->fleissBetween) : Cell()},
            {QStringLiteral("allVsReferencePct"), r ? pct(r->allVsReference) : Cell()}};
}

CsvStudy::ResultLines resultLines(const AnalysisScreen& screen, const CsvStudy::Format& f) {
    CsvStudy::ResultLines out;
    const Row results = screen.kind == StudyKind::Type1       ? type1ResultsOf(screen.type1)
                        : screen.kind == StudyKind::Linearity ? linearityResultsOf(screen.linearity)
                        : screen.kind == StudyKind::Attribute ? attributeResultsOf(screen.attribute)
                                                              : resultsOf(figuresOf(screen));
    for (const auto& [name, value] : results) {
        out.append({name, csvValue(value, f)});
    }
    return out;
}

namespace {

template <typename TextOf>
void appendLine(QString& line, const Row& row, QChar separator, const TextOf& textOf) {
    for (const auto& [name, value] : row) {
        line += textOf(name, value);
        line += separator;
    }
    line.back() = QLatin1Char('\r');  // the last separator
    line += QLatin1Char('\n');
}

QString names(const Row& row, QChar separator) {
    QString line(QChar(0xFEFF));
    appendLine(line, row, separator, [](const QString& name, const Cell&) { return name; });
    return line;
}

}  // namespace

QByteArray namesLine(const Row& row, const CsvStudy::Format& f) {
    return names(row, f.separator).toUtf8();
}

QByteArray bytesOf(const Row& row, bool jsonLines, bool first, const CsvStudy::Format& f) {
    if (jsonLines) {
        QJsonObject o;
        for (const auto& [name, value] : row) {
            o.insert(name, jsonOf(value));
        }
        return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    }
    QString line;
    line.reserve(512);
    if (first) {  // the file's first row: the BOM and the line of names before it
        line += names(row, f.separator);
    }
    appendLine(line, row, f.separator,
               [&f](const QString&, const Cell& value) { return csvValue(value, f); });
    return line.toUtf8();
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
