#include "study_store.h"

#include "database.h"
#include "number_reader.h"
#include "statement.h"

namespace StudyStore {

namespace {

bool isNumericField(const QString& field) {
    static const QStringList numeric = {QStringLiteral("LiczbaN"), QStringLiteral("LiczbaK"),
                                        QStringLiteral("LiczbaR"), QStringLiteral("WN"),
                                        QStringLiteral("GWG"),     QStringLiteral("DWG"),
                                        QStringLiteral("CoRef")};
    return numeric.contains(field);
}

// A numeric field's text as the number it is (regional or "." decimal); a text otherwise.
Value fieldValue(const QString& field, const QString& text, const RegionalSettings& rs) {
    const QString trimmed = text.trimmed();
    if (!isNumericField(field)) {
        return Value(text);
    }
    if (trimmed.isEmpty()) {
        return Value();
    }
    if (const std::optional<double> regional = readLocaleNumber(trimmed, rs)) {
        return Value(*regional);
    }
    bool ok = false;
    const double point = trimmed.toDouble(&ok);  // "1.33" where the decimal is ","
    return ok ? Value(point) : Value(text);
}

QString insertAnalysis(Database& db, const StudyFile& study, const QString& numer,
                       const QHash<QString, QString>& given) {
    QHash<QString, QString> fields;
    for (const auto& [name, text] : study.header) {
        if (ReportInputs::analysisFields().contains(name)) {
            fields.insert(name, text);
        }
    }
    for (auto it = given.cbegin(); it != given.cend(); ++it) {
        fields.insert(it.key(), it.value());
    }
    fields.insert(QStringLiteral("Numer"), numer);
    fields.insert(QStringLiteral("LiczbaN"), QString::number(study.parts));
    fields.insert(QStringLiteral("LiczbaK"), QString::number(study.appraisers.size()));
    fields.insert(QStringLiteral("LiczbaR"), QString::number(study.trials()));
    QStringList names = fields.keys();
    names.sort();
    Statement insert(
        db.handle(),
        QStringLiteral("INSERT INTO Analiza (%1) VALUES (%2)")
            .arg(names.join(QStringLiteral(", ")),
                 QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
    for (int i = 0; i < names.size(); ++i) {
        insert.bind(i + 1, fieldValue(names[i], fields.value(names[i]), db.regional()));
    }
    return insert.run() ? QString() : insert.error();
}

}  // namespace

QString storeSeries(Database& db, const StudyFile& study, const QString& numer) {
    QStringList columns{QStringLiteral("ID"), QStringLiteral("Operator")};
    for (int j = 1; j <= study.parts; ++j) {
        columns << QStringLiteral("P%1").arg(j);
    }
    columns << QStringLiteral("ObX");
    Statement insert(
        db.handle(),
        QStringLiteral("INSERT INTO DanePom (%1) VALUES (%2)")
            .arg(columns.join(QStringLiteral(", ")),
                 QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
    for (int a = 0; a < study.appraisers.size(); ++a) {
        for (const QVector<Value>& trial : study.values[a]) {
            insert.reset();
            insert.bind(1, Value(numer));
            insert.bind(2, Value(study.appraisers[a]));
            double sum = 0;
            for (int j = 0; j < study.parts; ++j) {
                insert.bind(j + 3, trial.value(j));
                sum += trial.value(j).number();
            }
            insert.bind(study.parts + 3, Value(sum / study.parts));
            if (!insert.run()) {
                return insert.error();
            }
        }
    }
    return {};
}

namespace {

bool numberTaken(Database& db, const QString& numer) {
    Statement query(db.handle(), QStringLiteral("SELECT 1 FROM Analiza WHERE Numer = ?"));
    query.bind(1, Value(numer));
    return query.next();
}

}  // namespace

QDateTime readingsDate(const ReportInputs& in) {
    const QDate date = QDate::fromString(in.field("Data").toText(in.regional), Qt::ISODate);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : in.today;
}

StudyFile fileOf(const ReportInputs& in) {
    StudyFile s;
    for (const QString& name : ReportInputs::analysisFields()) {
        s.header.append({name, in.analysis.value(name).toText(in.regional)});
    }
    const MeasuredValues& m = in.measured;
    s.parts = m.parts;
    const int trials = MeasuredValues::trialCount(in.field("LiczbaR"));
    const int appraisers = MeasuredValues::appraiserCount(in.field("LiczbaK"));
    for (int a = 0; a < appraisers; ++a) {
        s.appraisers << m.names[static_cast<std::size_t>(a)].toText(in.regional);
        QVector<QVector<Value>> byTrial(trials);
        for (int t = 0; t < trials; ++t) {
            for (int j = 0; j < m.parts; ++j) {
                byTrial[t] << m.values[static_cast<std::size_t>(a)][static_cast<std::size_t>(j)]
                                      [static_cast<std::size_t>(t)];
            }
        }
        s.values << byTrial;
    }
    return s;
}

QString storeNew(Database& db, const StudyFile& study, const QString& numer,
                 const QHash<QString, QString>& header) {
    if (numer.trimmed().isEmpty()) {
        return QString::fromUtf8("nie podano numeru analizy");
    }
    if (!db.begin()) {
        return db.lastError();
    }
    QString cause = numberTaken(db, numer)
                        ? QString::fromUtf8("analiza o numerze „%1” już istnieje").arg(numer)
                        : insertAnalysis(db, study, numer, header);
    if (cause.isEmpty()) {
        cause = storeSeries(db, study, numer);
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
