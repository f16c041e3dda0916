#include "linearity_texts.h"

#include "number_pattern.h"

namespace LinearityTexts {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

struct Formats {
    NumberPattern finer;
    NumberPattern coefficient = NumberPattern(QStringLiteral("0.000000"));
    NumberPattern test = NumberPattern(QStringLiteral("0.0000"));
    NumberPattern percent = NumberPattern(QStringLiteral("0.00"));
    const RegionalSettings& rs;

    Formats(const QString& numberPattern, const RegionalSettings& regional)
        : finer(fixedPattern(patternDecimals(numberPattern) + 1)), rs(regional) {}

    QString of(const NumberPattern& pattern, std::optional<double> value) const {
        return value ? pattern.format(*value, rs) : QStringLiteral("—");
    }
    QString pct(std::optional<double> value) const {
        return value ? of(percent, value) + QStringLiteral(" %") : of(percent, value);
    }
};

}  // namespace

QVector<FigureLine> regression(const Linearity::Results& r, const QString& numberPattern,
                               const RegionalSettings& regional) {
    const Formats f(numberPattern, regional);
    return {
        {u8("Części g / odczytów m"), QStringLiteral("%1 / %2").arg(r.g).arg(r.m)},
        {u8("Nachylenie a"), f.of(f.coefficient, r.slope)},
        {u8("Wyraz wolny b"), f.of(f.coefficient, r.intercept)},
        {u8("R²"), f.of(f.test, r.r2)},
        {u8("Odchylenie s"), f.of(f.test, r.s)},
        {u8("t (nachylenie) / p"), f.of(f.test, r.tSlope) + u8(" / ") + f.of(f.test, r.pSlope)},
        {u8("t (wyraz wolny) / p"),
         f.of(f.test, r.tIntercept) + u8(" / ") + f.of(f.test, r.pIntercept)},
        {u8("t krytyczne (df %1; 0,975)").arg(r.df),
         f.of(NumberPattern(QStringLiteral("0.00000")), r.tCrit)},
        {u8("Liniowość |a|·PV"), f.of(f.finer, r.linearity)},
        {u8("%Liniowość (100·|a|)"), f.pct(r.pctLinearity)},
        {u8("Średnie obciążenie"), f.of(f.finer, r.averageBias)},
        {u8("%Obciążenie (PV)"), f.pct(r.pctBias)},
        {u8("Liniowość przyrządu"), r.acceptable ? u8("do przyjęcia") : u8("nie do przyjęcia"),
         r.acceptable ? Verdict::Accepted : Verdict::Rejected},
    };
}

QStringList partHeadings() {
    return {u8("Część"), u8("Odniesienie"), u8("n"),         u8("Obciążenie"),
            u8("t"),     u8("p"),           u8("%Obc. (PV)")};
}

QVector<QStringList> parts(const Linearity::Results& r, const QString& numberPattern,
                           const RegionalSettings& regional) {
    const Formats f(numberPattern, regional);
    const NumberPattern measured(numberPattern);
    QVector<QStringList> rows;
    for (const Linearity::PartResult& p : r.parts) {
        rows << QStringList{QString::number(p.part), f.of(measured, p.reference),
                            QString::number(p.n),    f.of(f.finer, p.bias),
                            f.of(f.test, p.t),       f.of(f.test, p.p),
                            f.pct(p.pctBias)};
    }
    return rows;
}

QString verdict(const Linearity::Results& r) {
    return r.acceptable
               ? u8("Prosta obciążenie = 0 leży w całości w 95 % paśmie ufności prostej regresji "
                    "w zakresie wartości odniesienia: liniowość przyrządu do przyjęcia.")
               : u8("Prosta obciążenie = 0 wychodzi poza 95 % pasmo ufności prostej regresji w "
                    "zakresie wartości odniesienia: liniowość przyrządu nie do przyjęcia.");
}

QStringList notes(const Linearity::Results& r) {
    QStringList out;
    out << u8(
        "Test obciążenia części: t = średnie obciążenie / (s/√n), s z odczytów tej "
        "części, df n − 1 (Minitab domyślnie szacuje s z rozstępów).");
    if (r.fewerPartsThanAdvised()) {
        out << u8("Mniej niż %1 części: podręcznik AIAG MSA wymaga co najmniej %1.")
                   .arg(Linearity::kAdvisedParts);
    }
    if (r.fewerReadingsThanAdvised()) {
        out << u8("Mniej niż %1 odczytów części: podręcznik AIAG MSA wymaga co najmniej %1.")
                   .arg(Linearity::kAdvisedReadings);
    }
    if (r.perfectLine()) {
        out << u8(
            "Odczyty leżą dokładnie na prostej (s = 0): pasmo ufności ma zerową szerokość, "
            "testy t nie mają sensu.");
    }
    if (!r.processVariation) {
        out << u8("Nie podano zmienności procesu PV: bez liniowości |a|·PV i %obciążenia.");
    }
    return out;
}

QString refusal(Linearity::Refusal refusal) {
    switch (refusal) {
        case Linearity::Refusal::TooFewParts:
            return u8("Badanie liniowości wymaga co najmniej %1 części.")
                .arg(Linearity::kFewestParts);
        case Linearity::Refusal::TooManyParts:
            return u8("Badanie liniowości przyjmuje najwyżej %1 części.")
                .arg(Linearity::kMostParts);
        case Linearity::Refusal::TooFewReadings:
            return u8("Badanie liniowości wymaga co najmniej %1 odczytów części.")
                .arg(Linearity::kFewestReadings);
        case Linearity::Refusal::TooManyReadings:
            return u8("Badanie liniowości przyjmuje najwyżej %1 odczytów części.")
                .arg(Linearity::kMostReadings);
        case Linearity::Refusal::ReferenceNotOne:
            return u8("Odczyty jednej części mają różne wartości odniesienia albo żadnej.");
        case Linearity::Refusal::ReferencesEqual:
            return u8(
                "Wszystkie części mają tę samą wartość odniesienia: nie ma czego dopasować "
                "(potrzebne części z całego zakresu przyrządu).");
        case Linearity::Refusal::None:
            break;
    }
    return {};
}

}  // namespace LinearityTexts
