#include "verification.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>

#include "analysis_screen.h"
#include "build_id.h"
#include "database.h"
#include "figure_tables.h"
#include "number_pattern.h"
#include "record_sets.h"
#include "schema_additions.h"
#include "session.h"
#include "study_store.h"
#include "system_error.h"

namespace Verification {

namespace {

using Number = std::optional<double>;
using Getter = std::function<Number(const AnalysisScreen&)>;

const QString kNumer = QStringLiteral("WERYFIKACJA");

// An attribute study's figure: "cohenPair1" (the first pair of appraisers), "allVsReference"
// with "…CiLow"/"…CiHigh", and an appraiser's "appraiser2.cohenVsReference",
// "….effectiveness" with "…CiLow"/"…CiHigh", "….missRate", "….falseAlarmRate".
std::optional<Getter> attributeGetter(const QString& key) {
    using R = Attribute::Results;
    using A = Attribute::AppraiserResult;
    const auto results = [](const AnalysisScreen& s) -> const R* {
        return s.attribute && s.attribute->results ? &*s.attribute->results : nullptr;
    };
    const auto ofAgreement = [](const std::optional<Attribute::Agreement>& a, const QString& part) {
        return !a                                       ? Number()
               : part.endsWith(QLatin1String("CiLow"))  ? Number(a->ciLow)
               : part.endsWith(QLatin1String("CiHigh")) ? Number(a->ciHigh)
                                                        : Number(a->pct);
    };
    bool numbered = false;
    if (key.startsWith(QLatin1String("cohenPair"))) {
        const int i = key.mid(9).toInt(&numbered) - 1;
        return Getter([results, i](const AnalysisScreen& s) {
            const R* r = results(s);
            return r && i >= 0 && i < static_cast<int>(r->cohenPairs.size())
                       ? r->cohenPairs[static_cast<std::size_t>(i)].kappa
                       : std::nullopt;
        });
    }
    if (key.startsWith(QLatin1String("allVsReference"))) {
        return Getter([results, ofAgreement, key](const AnalysisScreen& s) {
            const R* r = results(s);
            return r ? ofAgreement(r->allVsReference, key) : std::nullopt;
        });
    }
    const QString who = key.section(QLatin1Char('.'), 0, 0);
    const QString what = key.section(QLatin1Char('.'), 1);
    const int i = who.mid(9).toInt(&numbered) - 1;
    if (!who.startsWith(QLatin1String("appraiser")) || !numbered) {
        return std::nullopt;
    }
    return Getter([results, ofAgreement, i, what](const AnalysisScreen& s) -> Number {
        const R* r = results(s);
        if (!r || i < 0 || i >= static_cast<int>(r->appraisers.size())) {
            return std::nullopt;
        }
        const A& a = r->appraisers[static_cast<std::size_t>(i)];
        if (what == QLatin1String("cohenVsReference")) {
            return a.cohenVsReference;
        }
        if (what == QLatin1String("missRate") || what == QLatin1String("falseAlarmRate")) {
            const auto& rate = what == QLatin1String("missRate") ? a.missRate : a.falseAlarmRate;
            return rate ? Number(rate->pct) : std::nullopt;
        }
        return what.startsWith(QLatin1String("effectiveness")) ? ofAgreement(a.vsReference, what)
                                                               : std::nullopt;
    });
}

// A figure a reference names, read from what the main window shows: "rr.", "anova." or
// "control." and its key in that method's figure table; none for an unknown key.
std::optional<Getter> figureGetter(const QString& name) {
    const QString method = name.section(QLatin1Char('.'), 0, 0);
    const QString key = name.section(QLatin1Char('.'), 1);
    if (method == QLatin1String("rr")) {
        if (const auto* f = FigureTables::find(FigureTables::averageAndRange(), key)) {
            return Getter([get = f->get](const AnalysisScreen& s) {
                return s.hasCompleteStudy() ? get(s.study.results) : std::nullopt;
            });
        }
    } else if (method == QLatin1String("anova")) {
        if (const auto* f = FigureTables::find(FigureTables::anova(), key)) {
            return Getter([get = f->get](const AnalysisScreen& s) {
                return s.anova ? get(*s.anova) : std::nullopt;
            });
        }
    } else if (method == QLatin1String("type1")) {
        if (const auto* f = FigureTables::find(FigureTables::type1(), key)) {
            return Getter([get = f->get](const AnalysisScreen& s) {
                return s.hasKindResults() ? get(*s.type1->results) : std::nullopt;
            });
        }
    } else if (method == QLatin1String("linearity")) {
        if (const auto* f = FigureTables::find(FigureTables::linearity(), key)) {
            return Getter([get = f->get](const AnalysisScreen& s) {
                return s.linearity && s.linearity->results ? get(*s.linearity->results)
                                                           : std::nullopt;
            });
        }
        // "linearity.part3.bias": a part's figure
        const QString part = key.section(QLatin1Char('.'), 0, 0);
        const auto* f =
            FigureTables::find(FigureTables::linearityPart(), key.section(QLatin1Char('.'), 1));
        bool numbered = false;
        const int index = part.mid(4).toInt(&numbered) - 1;
        if (f && part.startsWith(QLatin1String("part")) && numbered) {
            return Getter([get = f->get, index](const AnalysisScreen& s) {
                const auto& r = s.linearity ? s.linearity->results : std::nullopt;
                return r && index >= 0 && index < static_cast<int>(r->parts.size())
                           ? get(r->parts[static_cast<std::size_t>(index)])
                           : std::nullopt;
            });
        }
        if (key == QLatin1String("acceptable")) {
            return Getter([](const AnalysisScreen& s) -> Number {
                const auto& r = s.linearity ? s.linearity->results : std::nullopt;
                return r ? Number(r->acceptable ? 1 : 0) : std::nullopt;
            });
        }
    } else if (method == QLatin1String("attribute")) {
        return attributeGetter(key);
    } else if (method == QLatin1String("control")) {
        if (const auto* f = FigureTables::find(FigureTables::control(), key)) {
            return Getter([get = f->get](const AnalysisScreen& s) {
                return s.control ? get(*s.control) : std::nullopt;
            });
        }
    }
    return std::nullopt;
}

// A file compiled into the program; empty if it could not be read, which leaves the
// record without figures, and such a record does not pass.
QByteArray resource(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonArray referenceStudies() {
    return QJsonDocument::fromJson(
               resource(QStringLiteral(":/verification/data/verification/reference_studies.json")))
        .object()
        .value(QStringLiteral("studies"))
        .toArray();
}

QByteArray schema() {
    return resource(QStringLiteral(":/verification/db/schema.sql"));
}

// A type-1 reference study as a study file: its readings, the master and the limits.
StudyFile type1FileOf(const QJsonObject& study) {
    StudyFile file;
    file.kind = StudyKind::Type1;
    for (const char* field : {"Wzorzec", "GWG", "DWG"}) {
        const QJsonValue v = study.value(QString::fromLatin1(field));
        if (v.isDouble()) {
            file.header.append(
                {QString::fromLatin1(field), QString::number(v.toDouble(), 'g', 17)});
        }
    }
    for (const QJsonValue& reading : study.value(QStringLiteral("readings")).toArray()) {
        file.readings << Value(reading.toDouble());
    }
    return file;
}

// A bias and linearity reference study: each part's reference value and readings.
StudyFile linearityFileOf(const QJsonObject& study) {
    StudyFile file;
    file.kind = StudyKind::Linearity;
    int number = 0;
    for (const QJsonValue& value : study.value(QStringLiteral("parts")).toArray()) {
        const QJsonObject part = value.toObject();
        ++number;
        for (const QJsonValue& reading : part.value(QStringLiteral("readings")).toArray()) {
            file.readings << Value(reading.toDouble());
            file.readingParts << number;
            file.readingReferences << part.value(QStringLiteral("reference")).toDouble();
        }
    }
    return file;
}

// An attribute reference study: per line of its table, for each part the appraisers'
// trials ("110") and the reference decision, parts separated by "|".
StudyFile attributeFileOf(const QJsonObject& study) {
    StudyFile file;
    file.kind = StudyKind::Attribute;
    const QStringList appraisers =
        study.value(QStringLiteral("appraisers")).toVariant().toStringList();
    int part = 0;
    for (const QJsonValue& line : study.value(QStringLiteral("decisions")).toArray()) {
        for (const QString& cell : line.toString().split(QLatin1Char('|'))) {
            const QStringList groups = cell.split(QLatin1Char(' '));
            ++part;
            for (int a = 0; a < appraisers.size(); ++a) {
                for (int t = 0; t < groups.value(a).size(); ++t) {
                    file.readings << Value(groups[a].mid(t, 1));
                    file.readingAppraisers << appraisers[a];
                    file.readingParts << part;
                    file.readingTrials << t + 1;
                }
            }
            file.referenceDecisions.insert(part, groups.value(appraisers.size()));
        }
    }
    file.header.append(
        {QStringLiteral("Akceptacja"), study.value(QStringLiteral("accept")).toString()});
    return file;
}

// The reference study as a study file: its appraisers' trials and its reference mode.
StudyFile studyFileOf(const QJsonObject& study) {
    if (study.value(QStringLiteral("kind")).toString() == QLatin1String("attribute")) {
        return attributeFileOf(study);
    }
    if (study.value(QStringLiteral("kind")).toString() == QLatin1String("type1")) {
        return type1FileOf(study);
    }
    if (study.value(QStringLiteral("kind")).toString() == QLatin1String("linearity")) {
        return linearityFileOf(study);
    }
    StudyFile file;
    file.parts = study.value(QStringLiteral("parts")).toInt();
    file.header.append(
        {QStringLiteral("CoRef"), QString::number(study.value(QStringLiteral("coRef")).toInt())});
    for (const QJsonValue& appraiser : study.value(QStringLiteral("appraisers")).toArray()) {
        const QJsonObject a = appraiser.toObject();
        file.appraisers << a.value(QStringLiteral("name")).toString();
        QVector<QVector<Value>> byPart(file.parts);
        for (const QJsonValue& trial : a.value(QStringLiteral("trials")).toArray()) {
            const QJsonArray values = trial.toArray();
            for (int j = 0; j < file.parts; ++j) {
                byPart[j] << (j < values.size() ? Value(values.at(j).toDouble()) : Value());
            }
        }
        file.values << byPart;
    }
    return file;
}

// The study's settings, then the study stored as an import stores one.
QString writeRows(Database& db, const QJsonObject& study) {
    QString error;
    const std::unique_ptr<RecordSet> settings = RecordSets::settings(db, &error);
    const bool set = settings &&
                     settings->setField(QStringLiteral("FP"),
                                        Value(study.value(QStringLiteral("pattern")).toString())) &&
                     settings->setField(QStringLiteral("Proc"),
                                        Value(study.value(QStringLiteral("level")).toDouble())) &&
                     settings->setField(QStringLiteral("Typ1K"),
                                        Value(study.value(QStringLiteral("k")).toDouble(20))) &&
                     settings->setField(QStringLiteral("Typ1L"),
                                        Value(study.value(QStringLiteral("l")).toDouble(6))) &&
                     settings->update();
    if (!set) {
        return settings ? settings->lastError() : error;
    }
    return StudyStore::storeNew(db, studyFileOf(study), kNumer, {});
}

// The study stored in a new file in `folder` and selected as the main window selects it.
std::optional<AnalysisScreen> computed(const QJsonObject& study, const QString& folder,
                                       const Options& options, QString* failure) {
    const QString path = folder + QStringLiteral("/KALMET.MDB");
    *failure = Database::create(path, schema());
    if (failure->isEmpty()) {
        auto opened = Database::open(path, options.regional);
        *failure = !opened.database ? opened.error : SchemaAdditions::add(*opened.database);
        if (failure->isEmpty()) {
            *failure = writeRows(*opened.database, study);
        }
    }
    if (!failure->isEmpty()) {
        *failure = QString::fromUtf8("nie można zapisać badania w folderze tymczasowym „%1”: %2")
                       .arg(folder, *failure);
        return std::nullopt;
    }
    auto session = Session::openFile(path, options.regional, Database::Access::ReadOnly, kNumer,
                                     Session::Additions::Leave);
    if (!session.session) {
        *failure = session.error;
        return std::nullopt;
    }
    if (options.adjust) {
        options.adjust(session.session->shared());
    }
    AnalysisScreen screen = AnalysisScreen::select(
        *session.session, kNumer, study.value(QStringLiteral("alpha")).toDouble(0.05));
    if (screen.failed()) {
        *failure = screen.readError;
        return std::nullopt;
    }
    return screen;
}

int decimalsOf(const QString& printed) {
    const int point = static_cast<int>(printed.indexOf(QLatin1Char('.')));
    return point < 0 ? 0 : static_cast<int>(printed.size()) - point - 1;
}

// A figure's reference as the data gives it: the value, its printed decimals and the
// allowance (a count exactly; any other figure within a unit of its last digit, or what
// the explanation gives).
struct Reference {
    double value = 0;
    int decimals = 0;
    QString allowedText;
    bool exact = false;  // a count
    double divisor = 1;  // the program's figure is compared after this division

    explicit Reference(const QJsonObject& item) {
        const QString printed = item.value(QStringLiteral("published")).toString();
        value = printed.toDouble();
        decimals = decimalsOf(printed);
        const QJsonObject explained = item.value(QStringLiteral("explained")).toObject();
        exact = item.value(QStringLiteral("exact")).toBool();
        allowedText = !explained.isEmpty() ? explained.value(QStringLiteral("allowed")).toString()
                      : exact              ? QStringLiteral("0")
                              : QString::number(std::pow(10.0, -decimals), 'f', decimals);
        divisor = item.value(QStringLiteral("divisor")).toDouble(1);
    }
    double allowed() const { return allowedText.toDouble(); }
};

Figure described(const QJsonObject& item, const Reference& ref, Source source,
                 const RegionalSettings& rs) {
    Figure f;
    f.name = item.value(QStringLiteral("name")).toString();
    f.source = source;
    f.why =
        item.value(QStringLiteral("explained")).toObject().value(QStringLiteral("why")).toString();
    f.reference = formatNumber(ref.value, fixedPattern(ref.decimals), rs);
    f.allowed = formatNumber(ref.allowed(), fixedPattern(decimalsOf(ref.allowedText)), rs);
    f.computed = QString::fromUtf8("nie obliczono");
    return f;
}

void compare(Figure& f, const Reference& ref, Number value, const RegionalSettings& rs) {
    if (!value) {
        f.computed = QString::fromUtf8("brak wyniku");
        f.outcome = Outcome::Disagrees;  // computed, and the program gave none
        return;
    }
    const double difference = *value / ref.divisor - ref.value;
    const QString finer = fixedPattern(ref.exact ? 0 : ref.decimals + 2);
    f.computed = formatNumber(*value / ref.divisor, finer, rs);
    f.difference = formatNumber(difference, finer, rs);
    // binary noise of the subtraction is no disagreement
    f.outcome =
        std::fabs(difference) <= ref.allowed() * (1 + 1e-9) ? Outcome::Agrees : Outcome::Disagrees;
}

Check checked(const QJsonObject& check, const std::optional<AnalysisScreen>& screen,
              const RegionalSettings& rs) {
    Check out{check.value(QStringLiteral("method")).toString(),
              check.value(QStringLiteral("source")).toString(),
              {}};
    const Source source = check.value(QStringLiteral("kind")).toString() == QLatin1String("derived")
                              ? Source::Derived
                              : Source::Published;
    for (const QJsonValue& v : check.value(QStringLiteral("figures")).toArray()) {
        const QJsonObject item = v.toObject();
        const Reference ref(item);
        Figure f = described(item, ref, source, rs);
        if (screen) {  // a study that was not computed leaves its figures so
            const auto getter = figureGetter(item.value(QStringLiteral("key")).toString());
            compare(f, ref, getter ? (*getter)(*screen) : Number(), rs);
        }
        out.figures << f;
    }
    return out;
}

Study studied(const QJsonObject& study, const Options& options) {
    Study out{study.value(QStringLiteral("title")).toString(),
              study.value(QStringLiteral("values")).toString(),
              {},
              {}};
    errno = 0;
    const QTemporaryDir folder;
    const int made = errno;
    std::optional<AnalysisScreen> screen;
    if (folder.isValid()) {
        screen = computed(study, folder.path(), options, &out.failure);
    } else {
        out.failure = QString::fromUtf8("nie można utworzyć folderu tymczasowego: %1")
                          .arg(systemErrorText(made));
    }
    for (const QJsonValue& check : study.value(QStringLiteral("checks")).toArray()) {
        out.checks << checked(check.toObject(), screen, options.regional);
    }
    return out;
}

// A text padded to a width in characters as a terminal shows them: a combining mark
// (the bar of R̄) takes no column of its own.
QString padded(const QString& text, int width, bool right) {
    int shown = 0;
    for (const QChar c : text) {
        shown += c.isMark() ? 0 : 1;
    }
    const QString fill(std::max(0, width - shown), QLatin1Char(' '));
    return right ? fill + text : text + fill;
}

QString systemDescription() {
    return QStringLiteral("%1 (%2 %3, %4)")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture());
}

}  // namespace

namespace {

template <typename Predicate>
int countFigures(const Record& record, Predicate predicate) {
    int count = 0;
    for (const Study& study : record.studies) {
        for (const Check& check : study.checks) {
            count += static_cast<int>(
                std::count_if(check.figures.begin(), check.figures.end(), predicate));
        }
    }
    return count;
}

}  // namespace

int Record::figures() const {
    return countFigures(*this, [](const Figure&) { return true; });
}

int Record::mismatches() const {
    return countFigures(*this, [](const Figure& f) { return f.outcome == Outcome::Disagrees; });
}

int Record::notComputed() const {
    return countFigures(*this, [](const Figure& f) { return f.outcome == Outcome::NotComputed; });
}

int Record::ofSource(Source source) const {
    return countFigures(*this, [source](const Figure& f) { return f.source == source; });
}

QString Record::summary() const {
    if (passed()) {
        return QString::fromUtf8(
                   "Wynik: wszystkie %1 wielkości zgodne — %2 z wartościami opublikowanymi, "
                   "%3 z wartościami wyprowadzonymi z opublikowanych danych.")
            .arg(figures())
            .arg(ofSource(Source::Published))
            .arg(ofSource(Source::Derived));
    }
    QStringList parts;
    if (incomplete()) {
        parts << QString::fromUtf8(
                     "nie obliczono %1 z %2 wielkości (przyczyna przy badaniu) — protokół nie "
                     "rozstrzyga o zgodności")
                     .arg(notComputed())
                     .arg(figures());
    }
    if (mismatches() > 0) {
        parts << QString::fromUtf8("NIEZGODNE %1 z %2 wielkości").arg(mismatches()).arg(figures());
    }
    return QStringLiteral("Wynik: ") + parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

int Record::exitCode() const {
    return incomplete() ? 2 : (mismatches() > 0 ? 1 : 0);
}

Record run(const Options& options) {
    Record record;
    record.version = QStringLiteral(KALMET_VERSION);
    record.commit = QStringLiteral(KALMET_COMMIT);
    record.made = options.now.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    record.system = systemDescription();
    record.qt = QString::fromUtf8("%1 (program zbudowany z %2)")
                    .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    record.sqlite = Database::engineVersion();
    for (const QJsonValue& study : referenceStudies()) {
        record.studies << studied(study.toObject(), options);
    }
    return record;
}

QString sourceWord(Source source) {
    return source == Source::Published ? QStringLiteral("opublikowana")
                                       : QStringLiteral("wyprowadzona");
}

QString outcomeWord(Outcome outcome) {
    switch (outcome) {
        case Outcome::Agrees:
            return QStringLiteral("zgodny");
        case Outcome::Disagrees:
            return QStringLiteral("NIEZGODNY");
        case Outcome::NotComputed:
            break;
    }
    return QString::fromUtf8("nie obliczono");
}

Verdict verdictOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::Agrees:
            return Verdict::Accepted;
        case Outcome::Disagrees:
            return Verdict::Rejected;
        case Outcome::NotComputed:
            break;
    }
    return Verdict::None;
}

Verdict verdictOf(const Record& record) {
    return record.passed()           ? Verdict::Accepted
           : record.mismatches() > 0 ? Verdict::Rejected
                                     : Verdict::None;
}

QString plainText(const Record& record) {
    QStringList lines{QString::fromUtf8("Protokół weryfikacji obliczeń — Kalmet %1 (%2)")
                          .arg(record.version, record.commit),
                      QString::fromUtf8("Data: %1; system: %2; Qt %3; SQLite %4")
                          .arg(record.made, record.system, record.qt, record.sqlite)};
    for (const Study& study : record.studies) {
        lines << QString() << study.title << study.values;
        if (!study.failure.isEmpty()) {
            lines << QString::fromUtf8("Nie obliczono: %1").arg(study.failure);
        }
        for (const Check& check : study.checks) {
            lines << QString() << check.method << check.source;
            for (const Figure& f : check.figures) {
                lines << QStringLiteral("  %1 %2 %3 %4 %5 ±%6  %7")
                             .arg(padded(f.name, 40, false),
                                  padded(sourceWord(f.source), 12, false),
                                  padded(f.reference, 11, true), padded(f.computed, 13, true),
                                  padded(f.difference, 12, true), padded(f.allowed, 8, false),
                                  outcomeWord(f.outcome));
                if (!f.why.isEmpty()) {
                    lines << QStringLiteral("      (%1)").arg(f.why);
                }
            }
        }
    }
    lines << QString() << record.summary();
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace Verification
