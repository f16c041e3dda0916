#include "control_texts.h"

#include "number_pattern.h"

namespace ControlTexts {

namespace {

// Limits and means come from averages of the shown values: one decimal more than the
// values themselves, so a range of 0,01 never reads as lying above "UCL = 0,01".
NumberPattern limitsPattern(const QString& numberPattern) {
    return NumberPattern(fixedPattern(patternDecimals(numberPattern) + 1));
}

}  // namespace

QString warning(const ControlLimits::Results& control, const QStringList& appraisers,
                const QString& numberPattern, const RegionalSettings& regional) {
    if (control.flaggedRanges.empty()) {
        return {};
    }
    QStringList places;
    for (const ControlLimits::Flag& f : control.flaggedRanges) {
        places << QString::fromUtf8("oceniający %1, część %2")
                      .arg(appraisers.value(f.appraiser), QString::number(f.part + 1));
    }
    return QString::fromUtf8("Rozstęp poza granicą kontrolną (UCL = %1): %2 — %3.")
        .arg(limitsPattern(numberPattern).format(control.uclR, regional),
             places.join(QStringLiteral("; ")),
             QString::fromUtf8(places.size() == 1 ? "powtórz pomiar" : "powtórz pomiary"));
}

QString averagesReading(const ControlLimits::Results& control) {
    const int share = control.averagesTotal > 0
                          ? qRound(100.0 * control.averagesOutside / control.averagesTotal)
                          : 0;
    return QString::fromUtf8("%1 z %2 średnich (%3 %) poza granicami X̄ — %4.")
        .arg(control.averagesOutside)
        .arg(control.averagesTotal)
        .arg(share)
        .arg(QString::fromUtf8(control.discriminates()
                                   ? "przyrząd rozróżnia części (co najmniej połowa)"
                                   : "przyrząd nie rozróżnia części (mniej niż połowa)"));
}

QString constants(const ControlLimits::Results& control, const RegionalSettings& regional) {
    return QString::fromUtf8("D4 = %1, A2 = %2 (%3 powtórzenia)")
        .arg(NumberPattern(QStringLiteral("0.00")).format(control.d4, regional),
             NumberPattern(QStringLiteral("0.000")).format(control.a2, regional),
             QString::number(control.trials));
}

Labels labels(const ControlLimits::Results& c, const QString& numberPattern,
              const RegionalSettings& regional) {
    const NumberPattern pattern = limitsPattern(numberPattern);
    const auto label = [&](const char* name, double value) {
        return QString::fromUtf8(name) + QStringLiteral(" = ") + pattern.format(value, regional);
    };
    return {label("UCL", c.uclX), label("X̿", c.xbarbar), label("LCL", c.lclX),
            label("UCL", c.uclR), label("R̄", c.rbar),    label("LCL", c.lclR)};
}

}  // namespace ControlTexts
