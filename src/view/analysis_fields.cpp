#include "analysis_fields.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

#include "excerpt.h"

namespace AnalysisFields {

const QVector<Rule>& rules() {
    static const QVector<Rule> all = {
        {"Numer", Kind::Text, 0},       {"Data", Kind::Date, 10},
        {"Temperatura", Kind::Text, 5}, {"Wilgotnosc", Kind::Text, 5},
        {"NazwaC", Kind::Text, 30},     {"NumerC", Kind::Text, 20},
        {"Parametr", Kind::Text, 30},   {"Jednostka", Kind::Text, 10},
        {"WN", Kind::Number, 0},        {"GWG", Kind::Number, 0},
        {"DWG", Kind::Number, 0},       {"CoRef", Kind::ReferenceMode, 0},
        {"NazwaP", Kind::Text, 30},     {"NumerP", Kind::Text, 20},
        {"ZakresP", Kind::Text, 20},    {"BladP", Kind::Text, 0},
        {"NazwaT", Kind::Text, 0},      {"Setings", Kind::Text, 0},
        {"Wzorzec", Kind::Number, 0},   {"Rozdzielczosc", Kind::Number, 0},
        {"ZmProc", Kind::Number, 0},    {"Akceptacja", Kind::Text, 20},
    };
    return all;
}

std::optional<Rule> ruleOf(const QString& field) {
    for (const Rule& r : rules()) {
        if (field.compare(QLatin1String(r.field), Qt::CaseInsensitive) == 0) {
            return r;
        }
    }
    return std::nullopt;
}

int maxLength(const char* field) {
    const std::optional<Rule> r = ruleOf(QString::fromLatin1(field));
    return r ? r->maxLength : 0;
}

std::optional<double> readNumber(const QString& text, std::optional<QChar> decimal) {
    static const QRegularExpression form(
        QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?$"));
    QString t = text.trimmed();
    if (!form.match(t).hasMatch()) {
        return std::nullopt;
    }
    const QChar other = decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (decimal && t.contains(other)) {
        return std::nullopt;  // the other separator: a grouping, or another file's habit
    }
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

bool isDate(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy", "dd-MM-yyyy", "dd/MM/yyyy"}) {
        if (QDate::fromString(t, QString::fromLatin1(format)).isValid()) {
            return true;
        }
    }
    return false;
}

namespace {

bool isReferenceMode(const QString& text) {
    const std::optional<double> mode = readNumber(text);
    return mode && *mode >= 0 && *mode <= 4 && *mode == std::floor(*mode);
}

// Why the editor would refuse the text in the field; empty when it takes it.
QString refusal(const Rule& rule, const QString& text, std::optional<QChar> decimal) {
    const QString name = QString::fromLatin1(rule.field);
    if (rule.maxLength > 0 && text.size() > rule.maxLength) {
        return QString::fromUtf8("%1: %2 ma %3 znaków, najwyżej %4")
            .arg(name, quotedExcerpt(text))
            .arg(text.size())
            .arg(rule.maxLength);
    }
    switch (rule.kind) {
        case Kind::Number:
            return readNumber(text, decimal)
                       ? QString()
                       : QString::fromUtf8("%1: %2 nie jest liczbą").arg(name, quotedExcerpt(text));
        case Kind::Date:
            return isDate(text) ? QString()
                                : QString::fromUtf8("%1: %2 nie jest datą (rrrr-mm-dd)")
                                      .arg(name, quotedExcerpt(text));
        case Kind::ReferenceMode:
            return isReferenceMode(text) ? QString()
                                         : QString::fromUtf8(
                                               "%1: %2 nie jest sposobem wyznaczenia wartości "
                                               "odniesienia (0 do 4)")
                                               .arg(name, quotedExcerpt(text));
        case Kind::Text:
            break;
    }
    return {};
}

}  // namespace

QString firstRefused(const QVector<Entry>& fields) {
    std::optional<double> upper;
    std::optional<double> lower;
    for (const auto& [field, text, decimal] : fields) {
        const std::optional<Rule> rule = ruleOf(field);
        if (!rule || text.trimmed().isEmpty()) {
            continue;
        }
        if (const QString why = refusal(*rule, text, decimal); !why.isEmpty()) {
            return why;
        }
        if (qstrcmp(rule->field, "GWG") == 0) {
            upper = readNumber(text, decimal);
        } else if (qstrcmp(rule->field, "DWG") == 0) {
            lower = readNumber(text, decimal);
        }
    }
    if (upper && lower && *lower >= *upper) {
        return QString::fromUtf8("GWG: górna granica tolerancji musi być większa od dolnej (DWG)");
    }
    return {};
}

}  // namespace AnalysisFields
