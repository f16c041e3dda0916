#include "study_summary.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>

#include "database.h"

#include "session.h"

namespace StudySummary {

namespace {

QJsonValue number(std::optional<double> v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

const char* const kHeaderFields[] = {"NazwaC", "NumerC", "Parametr", "Jednostka", "NazwaP",
                                     "NumerP", "Data",   "LiczbaN",  "LiczbaK",   "LiczbaR"};

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

bool writeRow(QIODevice& out, const Row& row, bool jsonLines, bool first,
              const CsvStudy::Format& f) {
    QByteArray bytes;
    if (jsonLines) {
        QJsonObject o;
        for (const auto& [name, value] : row) {
            o.insert(name, value);
        }
        bytes = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    } else {
        QStringList names;
        QStringList values;
        for (const auto& [name, value] : row) {
            names << name;
            values << csvValue(value, f);
        }
        const QString sep(f.separator);
        bytes = ((first ? QString(QChar(0xFEFF)) + names.join(sep) + QStringLiteral("\r\n")
                        : QString()) +
                 values.join(sep) + QStringLiteral("\r\n"))
                    .toUtf8();
    }
    return out.write(bytes) == bytes.size();
}

// Both methods' results and verdicts.
Row resultsOf(const AnalysisScreen& screen) {
    Row row{{QStringLiteral("complete"), screen.hasCompleteStudy()}};
    const RRResults& r = screen.study.results;
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"EV", r.EV},           {"AV", r.AV},           {"RR", r.RR},
        {"PV", r.PV},           {"TV", r.TV},           {"pctEV", r.percentEV},
        {"pctAV", r.percentAV}, {"pctRR", r.percentRR}, {"ndc", r.resolution}};
    for (const auto& [name, value] : numbers) {
        row.append(
            {QString::fromLatin1(name), number(screen.hasCompleteStudy() ? value : std::nullopt)});
    }
    row.append({QStringLiteral("rrVerdict"), QString::fromLatin1(nameOf(screen.study.rrVerdict))});
    row.append({QStringLiteral("resolutionVerdict"),
                QString::fromLatin1(nameOf(screen.study.resolutionVerdict))});
    const auto& a = screen.anova;
    row.append({QStringLiteral("anovaPctRR"), number(a ? a->components.rr.pctRef : std::nullopt)});
    row.append({QStringLiteral("anovaNdc"), number(a ? a->ndc : std::nullopt)});
    row.append({QStringLiteral("anovaRrVerdict"),
                QString::fromLatin1(nameOf(a ? a->rrVerdict : Verdict::None))});
    row.append({QStringLiteral("anovaResolutionVerdict"),
                QString::fromLatin1(nameOf(a ? a->ndcVerdict : Verdict::None))});
    return row;
}

}  // namespace

Row rowOf(const QString& numer, const QHash<QString, Value>& header, const AnalysisScreen& screen,
          const RegionalSettings& rs) {
    Row row{{QStringLiteral("numer"), numer}};
    for (const char* field : kHeaderFields) {
        row.append(
            {QString::fromLatin1(field), header.value(QString::fromLatin1(field)).toText(rs)});
    }
    return row + resultsOf(screen);
}

CsvStudy::ResultLines resultLines(const AnalysisScreen& screen, const CsvStudy::Format& f) {
    CsvStudy::ResultLines out;
    for (const auto& [name, value] : resultsOf(screen)) {
        out.append({name, csvValue(value, f)});
    }
    return out;
}

bool writeAll(Session& session, QIODevice& out, bool jsonLines, const CsvStudy::Format& f,
              const std::function<void(int, int)>& progress, QString* error) {
    // One read transaction: the file is locked once, not once per statement.
    Database& db = session.database();
    const bool grouped = db.beginRead();
    const auto end = qScopeGuard([&] {
        if (grouped) {
            db.commit();
        }
    });
    const QStringList numbers = session.analysisNumbers();
    for (int i = 0; i < numbers.size(); ++i) {
        const AnalysisScreen screen = AnalysisScreen::select(session, numbers[i]);
        if (screen.failed()) {
            *error = QString::fromUtf8("analiza „%1”: %2").arg(numbers[i], screen.readError);
            return false;
        }
        QHash<QString, Value> header;
        for (const char* field : kHeaderFields) {
            header.insert(QString::fromLatin1(field),
                          session.analyses().field(QString::fromLatin1(field)));
        }
        if (!writeRow(out, rowOf(numbers[i], header, screen, session.regional()), jsonLines, i == 0,
                      f)) {
            *error = out.errorString();
            return false;
        }
        if (progress && (i % 1000 == 0 || i + 1 == numbers.size())) {
            progress(i + 1, static_cast<int>(numbers.size()));
        }
    }
    return true;
}

}  // namespace StudySummary
