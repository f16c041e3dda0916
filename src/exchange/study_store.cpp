#include "study_store.h"

#include <QMap>

#include "analysis_fields.h"
#include "crossed_design.h"
#include "database.h"
#include "new_rows.h"
#include "readings.h"
#include "schema_additions.h"

namespace StudyStore {

namespace {

// The fields a new analysis gets: the file's "#" lines, then those given (which win),
// each with the decimal its number is read with (the file's data's; either for a given
// one).
struct Field {
    QString text;
    std::optional<QChar> decimal;
};

QMap<QString, Field> fieldsOf(const StudyFile& study, const QHash<QString, QString>& given) {
    QMap<QString, Field> fields;
    for (const auto& [name, text] : study.header) {
        if (ReportInputs::analysisFields(study.kind).contains(name)) {
            fields.insert(name, {text, study.decimal});
        }
    }
    for (auto it = given.cbegin(); it != given.cend(); ++it) {
        fields.insert(it.key(), {it.value(), std::nullopt});
    }
    return fields;
}

// A field's text as the value its column holds: a number field's number, else the text.
Value fieldValue(const QString& field, const Field& f) {
    const std::optional<AnalysisFields::Rule> rule = AnalysisFields::ruleOf(field);
    const bool numeric = rule && (rule->kind == AnalysisFields::Kind::Number ||
                                  rule->kind == AnalysisFields::Kind::ReferenceMode);
    if (!numeric) {
        return Value(f.text);
    }
    if (f.text.trimmed().isEmpty()) {
        return Value();
    }
    const std::optional<double> number = AnalysisFields::readNumber(f.text, f.decimal);
    return number ? Value(*number) : Value(f.text);
}

QString insertAnalysis(Database& db, const StudyFile& study, const QString& numer,
                       const QHash<QString, QString>& given) {
    QMap<QString, Field> fields = fieldsOf(study, given);
    fields.insert(QStringLiteral("Numer"), {numer, {}});
    if (study.kind == StudyKind::Crossed) {
        fields.insert(QStringLiteral("LiczbaN"), {QString::number(study.parts), {}});
        fields.insert(QStringLiteral("LiczbaK"), {QString::number(study.appraisers.size()), {}});
        fields.insert(QStringLiteral("LiczbaR"), {QString::number(study.trials()), {}});
    }
    QVector<std::pair<QString, Value>> values;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const bool count = it.key().startsWith(QLatin1String("Liczba"));
        values.append({it.key(), count ? Value(it->text.toDouble()) : fieldValue(it.key(), *it)});
    }
    if (study.kind != StudyKind::Crossed) {
        values.append({QStringLiteral("Rodzaj"), Value(nameOf(study.kind))});
    }
    return NewRows::insertAnalysis(db, values);
}

// An attribute study's decisions, then each part's reference decision (a row without an
// appraiser, trial 0).
QString storeDecisions(Database& db, const StudyFile& study, const QString& numer) {
    QVector<ReadingRow> rows;
    for (int i = 0; i < study.readings.size(); ++i) {
        ReadingRow row;
        row.appraiser = Value(study.readingAppraisers.value(i));
        row.part = study.readingParts.value(i);
        row.trial = study.readingTrials.value(i);
        row.category = study.readings[i].text();
        rows << row;
    }
    for (auto it = study.referenceDecisions.cbegin(); it != study.referenceDecisions.cend(); ++it) {
        ReadingRow row;
        row.part = it.key();
        row.category = it.value();
        rows << row;
    }
    return Readings::replace(db, numer, rows);
}

QString storeReadings(Database& db, const StudyFile& study, const QString& numer) {
    if (study.kind == StudyKind::Attribute) {
        return storeDecisions(db, study, numer);
    }
    QVector<ReadingRow> rows;
    for (int i = 0; i < study.readings.size(); ++i) {
        ReadingRow row;
        row.trial = i + 1;
        row.value = study.readings[i];
        if (i < study.readingParts.size()) {  // a study of known parts
            row.part = study.readingParts[i];
            row.reference = study.readingReferences.value(i);
        }
        rows << row;
    }
    return Readings::replace(db, numer, rows);
}

}  // namespace

QString storeSeries(Database& db, const StudyFile& study, const QString& numer) {
    QVector<SeriesRow> rows;
    for (int a = 0; a < study.appraisers.size(); ++a) {
        for (int t = 0; t < study.trials(); ++t) {
            SeriesRow row{Value(study.appraisers[a]), {}, Value()};
            double sum = 0;
            for (int j = 0; j < study.parts; ++j) {
                row.parts << study.value(a, j, t);
                sum += study.value(a, j, t).number();
            }
            row.average = Value(sum / study.parts);
            rows << row;
        }
    }
    return NewRows::insertSeries(db, numer, rows);
}

QString storeValues(Database& db, const StudyFile& study, const QString& numer) {
    return study.kind == StudyKind::Crossed ? storeSeries(db, study, numer)
                                            : storeReadings(db, study, numer);
}

QDateTime readingsDate(const ReportInputs& in) {
    const QDate date = QDate::fromString(in.field("Data").toText(in.regional), Qt::ISODate);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : in.today;
}

StudyFile fileOf(const ReportInputs& in) {
    StudyFile s;
    s.kind = in.kind;
    for (const QString& name : ReportInputs::analysisFields(in.kind)) {
        s.header.append({name, in.analysis.value(name).toText(in.regional)});
    }
    if (in.kind == StudyKind::Attribute) {
        const Attribute::Input& a = in.attributeInput;
        for (const Attribute::Decision& d : a.decisions) {
            s.readings << Value(d.category);
            s.readingAppraisers << a.appraisers.value(d.appraiser);
            s.readingParts << d.part;
            s.readingTrials << d.trial;
        }
        for (const auto& [part, reference] : a.reference) {
            s.referenceDecisions.insert(part, reference);
        }
        return s;
    }
    if (in.kind == StudyKind::Linearity) {
        for (const Linearity::Point& p : in.points) {
            s.readings << Value(p.value);
            s.readingParts << p.part;
            s.readingReferences << p.reference;
        }
        return s;
    }
    if (in.kind != StudyKind::Crossed) {
        for (double reading : in.readings) {
            s.readings << Value(reading);
        }
        // For a writer of measured values by part (DFQ): one part, one appraiser, n trials.
        s.parts = 1;
        s.appraisers << QString();
        s.values = {{s.readings}};
        return s;
    }
    const MeasuredValues& m = in.measured;
    s.parts = m.parts;
    const int trials = CrossedDesign::trialCount(in.field("LiczbaR"));
    const int appraisers = CrossedDesign::appraiserCount(in.field("LiczbaK"));
    for (int a = 0; a < appraisers; ++a) {
        s.appraisers << m.names.value(a).toText(in.regional);
        QVector<QVector<Value>> byPart(m.parts);
        for (int j = 0; j < m.parts; ++j) {
            for (int t = 0; t < trials; ++t) {
                byPart[j] << m.at(a, j, t);
            }
        }
        s.values << byPart;
    }
    return s;
}

QString refusedField(const StudyFile& study, const QHash<QString, QString>& header) {
    QVector<AnalysisFields::Entry> entries;
    const QMap<QString, Field> fields = fieldsOf(study, header);
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        entries.append({it.key(), it->text, it->decimal});
    }
    return AnalysisFields::firstRefused(entries);
}

QString storeNew(Database& db, const StudyFile& study, const QString& numer,
                 const QHash<QString, QString>& header) {
    if (numer.trimmed().isEmpty()) {
        return QString::fromUtf8("nie podano numeru analizy");
    }
    if (const QString refused = refusedField(study, header); !refused.isEmpty()) {
        return refused;
    }
    if (study.kind != StudyKind::Crossed && !SchemaAdditions::hasKinds(db)) {
        return QString::fromUtf8(
            "plik bazy danych nie ma jeszcze miejsca na badania innych "
            "rodzajów niż R&R: uruchom w nim raz program Kalmet");
    }
    if (!db.begin()) {
        return db.lastError();
    }
    QString cause = NewRows::numberTaken(db, numer)
                        ? QString::fromUtf8("analiza o numerze „%1” już istnieje").arg(numer)
                        : insertAnalysis(db, study, numer, header);
    if (cause.isEmpty()) {
        cause = storeValues(db, study, numer);
    }
    if (cause.isEmpty() && db.commit()) {
        return {};
    }
    if (cause.isEmpty()) {
        cause = db.lastError();
    }
    db.rollback();
    return cause;
}

}  // namespace StudyStore
