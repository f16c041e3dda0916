#include "type1_texts.h"

#include <cmath>

#include "number_pattern.h"

namespace Type1Texts {

namespace {

struct Formats {
    NumberPattern measured;
    NumberPattern finer;
    NumberPattern index = NumberPattern(QStringLiteral("0.00"));
    NumberPattern test = NumberPattern(QStringLiteral("0.0000"));
    const RegionalSettings& rs;

    Formats(const QString& numberPattern, const RegionalSettings& regional)
        : measured(numberPattern),
          finer(fixedPattern(patternDecimals(numberPattern) + 1)),
          rs(regional) {}

    QString of(const NumberPattern& pattern, std::optional<double> value) const {
        return value ? pattern.format(*value, rs) : QStringLiteral("—");
    }
    QString percent(std::optional<double> value) const {
        return value ? of(index, value) + QStringLiteral(" %") : of(index, value);
    }
};

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

void addCapability(const Type1::Results& r, const Formats& f, QVector<Line>& lines) {
    lines << Line{u8("Cg"), f.of(f.index, r.cg), r.cgVerdict}
          << Line{u8("Cgk"), f.of(f.index, r.cgk), r.cgkVerdict}
          << Line{u8("%Var (powtarzalność)"), f.percent(r.pctVarRepeatability), Verdict::None}
          << Line{u8("%Var (powtarzalność i obciążenie)"), f.percent(r.pctVarRepeatabilityBias),
                  Verdict::None};
}

void addBiasTest(const Type1::Results& r, const Formats& f, QVector<Line>& lines) {
    const QString interval =
        r.biasCiLow ? f.of(f.finer, r.biasCiLow) + u8(" … ") + f.of(f.finer, r.biasCiHigh)
                    : QStringLiteral("—");
    const QString level = f.of(f.index, Type1::kSignificance);
    const QString significance =
        !r.biasSignificant
            ? QStringLiteral("—")
            : (*r.biasSignificant ? u8("tak (p < %1)").arg(level) : u8("nie (p ≥ %1)").arg(level));
    lines << Line{u8("Test obciążenia: t"), f.of(f.test, r.t), Verdict::None}
          << Line{u8("Stopnie swobody"), QString::number(r.df), Verdict::None}
          << Line{u8("p"), f.of(f.test, r.p), Verdict::None}
          << Line{u8("Obciążenie istotne"), significance, Verdict::None}
          << Line{u8("95 % przedział obciążenia"), interval, Verdict::None};
}

}  // namespace

QVector<Line> figures(const Type1::Results& r, const QString& numberPattern,
                      const RegionalSettings& regional) {
    const Formats f(numberPattern, regional);
    QVector<Line> lines = {
        {u8("Liczba odczytów n"), QString::number(r.n), Verdict::None},
        {u8("Wzorzec xm"), f.of(f.measured, r.reference), Verdict::None},
        {u8("Granice DWG … GWG"), f.of(f.measured, r.lsl) + u8(" … ") + f.of(f.measured, r.usl),
         Verdict::None},
        {u8("Tolerancja T"), f.of(f.measured, r.tolerance), Verdict::None},
        {u8("K / L"),
         f.of(NumberPattern(QString::fromLatin1(r.k == std::floor(r.k) ? "0" : "0.0#")), r.k) +
             u8(" % / ") + QString::number(r.l),
         Verdict::None},
        {u8("Średnia x̄"), f.of(f.finer, r.mean), Verdict::None},
        {u8("Odchylenie standardowe s"), f.of(f.finer, r.sd), Verdict::None},
        {u8("Obciążenie x̄ − xm"), f.of(f.finer, r.bias), Verdict::None},
    };
    addCapability(r, f, lines);
    addBiasTest(r, f, lines);
    lines << Line{u8("Rozdzielczość RE"), f.of(f.finer, r.resolution), Verdict::None}
          << Line{u8("%RE"), f.percent(r.pctResolution), r.resolutionVerdict}
          << Line{u8("Tmin dla Cg = ") + f.of(f.index, Type1::kCapable), f.of(f.finer, r.tMinCg),
                  Verdict::None}
          << Line{u8("Tmin dla Cgk = ") + f.of(f.index, Type1::kCapable), f.of(f.finer, r.tMinCgk),
                  Verdict::None};
    return lines;
}

QStringList notes(const Type1::Results& r, const QString& numberPattern,
                  const RegionalSettings& regional) {
    QStringList out;
    if (r.fewerThanAdvised()) {
        out << u8("Mniej niż %1 odczytów: wytyczne Bosch (zeszyt 10) wymagają co najmniej %1, "
                  "zwykle 50.")
                   .arg(Type1::kAdvisedReadings);
    }
    if (r.zeroLimit == Type1::ZeroLimit::Lower) {
        out << u8("Podano tylko GWG: dolną granicą tolerancji jest naturalne zero.");
    } else if (r.zeroLimit == Type1::ZeroLimit::Upper) {
        out << u8("Podano tylko DWG: górną granicą tolerancji jest naturalne zero.");
    }
    if (r.noSpread()) {
        out << u8(
            "Wszystkie odczyty są równe (s = 0): Cg, Cgk i testu obciążenia nie można "
            "obliczyć — rozdzielczość przyrządu jest za mała dla tego badania.");
    }
    if (r.resolutionFromReadings) {
        out << u8("Rozdzielczość nie podana: przyjęto najmniejszy krok między odczytami (%1).")
                   .arg(NumberPattern(fixedPattern(patternDecimals(numberPattern) + 1))
                            .format(*r.resolution, regional));
    }
    return out;
}

QString refusal(Type1::Refusal refusal) {
    switch (refusal) {
        case Type1::Refusal::TooFewReadings:
            return u8("Badanie typu 1 wymaga co najmniej %1 odczytów.").arg(Type1::kFewestReadings);
        case Type1::Refusal::TooManyReadings:
            return u8("Badanie typu 1 przyjmuje najwyżej %1 odczytów.").arg(Type1::kMostReadings);
        case Type1::Refusal::NoReference:
            return u8("Brak wartości wzorca (pole „Wzorzec”).");
        case Type1::Refusal::NoLimits:
            return u8("Brak granic tolerancji: podaj GWG, DWG lub obie.");
        case Type1::Refusal::ToleranceNotPositive:
            return u8("Tolerancja GWG − DWG nie jest dodatnia.");
        case Type1::Refusal::None:
            break;
    }
    return {};
}

}  // namespace Type1Texts
