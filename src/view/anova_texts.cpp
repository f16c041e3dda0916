#include "anova_texts.h"

#include "number_pattern.h"
#include "number_reader.h"

namespace AnovaTexts {

namespace {

using Number = std::optional<double>;

class Formats {
public:
    explicit Formats(const RegionalSettings& regional) : regional_(regional) {}

    // Sums of squares, mean squares, variances and standard deviations keep four
    // significant digits at any scale: fixed decimals would show a repeatable gauge's
    // variance as 0,0000, or cut a large one short.
    QString significant(Number v) const {
        return v ? formatSignificant(*v, 4, regional_) : QString();
    }
    QString percent(Number v) const { return v ? percent_.format(*v, regional_) : QString(); }
    QString whole(Number v) const { return v ? QString::number(*v, 'f', 0) : QString(); }
    QString ratio(Number v) const { return v ? ratio_.format(*v, regional_) : QString(); }
    // p beside alpha: as many decimals as make the printed comparison true ("0,24995 < 0,25",
    // never "0,250 < 0,25").
    QString pAgainst(double p, double alpha) const {
        if (p < 0.0005) {
            return this->p(p);
        }
        QString text;
        for (int decimals = 3; decimals <= 12; ++decimals) {
            const NumberPattern pattern(QStringLiteral("0.") + QString(decimals, QLatin1Char('0')));
            text = pattern.format(p, regional_);
            const std::optional<double> shown = readLocaleNumber(text, regional_);
            if (shown && (*shown < alpha) == (p < alpha)) {
                break;
            }
        }
        return text;
    }
    // Below a thousandth p reads "< 0,001"; three decimals would show a zero.
    QString p(Number v) const {
        if (!v) {
            return {};
        }
        return *v < 0.0005 ? QStringLiteral("< ") + ratio_.format(0.001, regional_)
                           : ratio_.format(*v, regional_);
    }
    const RegionalSettings& regional() const { return regional_; }

private:
    NumberPattern percent_{QStringLiteral("#0.00")};
    NumberPattern ratio_{QStringLiteral("0.000")};
    const RegionalSettings& regional_;
};

Row rowTexts(const char* source, const Anova::Row& row, const Formats& f) {
    return {QString::fromUtf8(source),
            {f.whole(row.df), f.significant(row.ss), f.significant(row.ms), f.ratio(row.f),
             f.p(row.p)}};
}

Row componentTexts(const char* name, const Anova::Component& c, const Formats& f) {
    const QString interval =
        c.ciLow && c.ciHigh
            ? f.significant(c.ciLow) + QString::fromUtf8(" – ") + f.significant(c.ciHigh)
            : QString();
    return {QString::fromUtf8(name),
            {f.significant(c.variance), f.percent(c.pctContribution), f.significant(c.sd),
             f.significant(c.studyVar), f.percent(c.pctStudyVar), f.percent(c.pctRef), interval}};
}

QString interactionSentence(const Anova::Results& a, const Formats& f) {
    const QString alpha = alphaText(a.alpha, f.regional());
    if (!a.interactionP) {
        return a.pooled ? QString::fromUtf8(
                              "Interakcja bez zmienności: p nieokreślone — "
                              "połączona z powtarzalnością")
                        : QString::fromUtf8(
                              "Interakcja przy zerowej powtarzalności: "
                              "p nieokreślone — oceniana osobno");
    }
    const QString p = f.pAgainst(*a.interactionP, a.alpha);
    const QString pText =
        p.startsWith(QLatin1Char('<')) ? QStringLiteral("p ") + p : QStringLiteral("p = ") + p;
    return a.pooled ? QString::fromUtf8(
                          "Interakcja nieistotna: %1 ≥ α = %2 — połączona "
                          "z powtarzalnością")
                          .arg(pText, alpha)
                    : QString::fromUtf8("Interakcja istotna: %1 < α = %2 — oceniana osobno")
                          .arg(pText, alpha);
}

QString methodLine(const Anova::Results& a, const Formats& f) {
    const bool wide = a.multiplier > 5;
    return QString::fromUtf8(
               "Metoda: analiza wariancji (ANOVA), α = %1, zmienność = %2 σ "
               "(poziom %3 %)")
        .arg(alphaText(a.alpha, f.regional()), f.percent(a.multiplier),
             QLatin1String(wide ? "99" : "95"));
}

QString comparisonLine(const Texts& t) {
    const auto orDash = [](const Judged& judged) {
        return judged.text.isEmpty() ? QString::fromUtf8("—") : judged.text;
    };
    const Texts::Evaluation& rr = t.evaluation[Texts::kRr];
    const Texts::Evaluation& ndc = t.evaluation[Texts::kNdc];
    return QString::fromUtf8(
               "Porównanie (R&R w % poziomu odniesienia): metoda średniej i "
               "rozstępu %1, ndc %2; ANOVA %3, ndc %4")
        .arg(orDash(rr.averageAndRange), orDash(ndc.averageAndRange), orDash(rr.anova),
             orDash(ndc.anova));
}

std::array<Texts::Evaluation, 4> evaluationOf(const Anova::Results& a, const StudyOutput& study,
                                              const Formats& f) {
    const auto percent = [&](std::optional<double> v) {
        return v ? f.percent(v) + QStringLiteral(" %") : QString();
    };
    const Anova::Components& c = a.components;
    const RRResults& r = study.results;
    return {{{QStringLiteral("Powtarzalność EV :"),
              {percent(c.repeatability.pctRef)},
              {percent(r.percentEV)}},
             {QStringLiteral("Odtwarzalność AV :"),
              {percent(c.reproducibility.pctRef)},
              {percent(r.percentAV)}},
             {QStringLiteral("R&R :"),
              {percent(c.rr.pctRef), a.rrVerdict},
              {percent(r.percentRR), study.rrVerdict}},
             {QString::fromUtf8("Rozdzielczość (ndc) :"),
              {f.whole(a.ndc), a.ndcVerdict},
              {f.whole(r.resolution), study.resolutionVerdict}}}};
}

QStringList tableHeadings() {
    return {QString::fromUtf8("Źródło zmienności"),
            QStringLiteral("Stopnie swobody"),
            QString::fromUtf8("Suma kwadratów"),
            QString::fromUtf8("Średni kwadrat"),
            QStringLiteral("F"),
            QStringLiteral("p")};
}

QStringList componentHeadings(double multiplier) {
    return {QStringLiteral("Składnik"),
            QStringLiteral("Wariancja"),
            QString::fromUtf8("% udziału"),
            QStringLiteral("Odchylenie standardowe"),
            QString::fromUtf8("Zmienność (%1 σ)")
                .arg(NumberPattern(QStringLiteral("0.00"))
                         .format(multiplier, RegionalSettings::polish())),
            QString::fromUtf8("% zmienności"),
            QString::fromUtf8("% poziomu odniesienia"),
            QString::fromUtf8("95 % przedział ufności σ")};
}

}  // namespace

QString alphaText(double alpha, const RegionalSettings& regional) {
    // every digit of a typed alpha: the one the tables were computed at
    return NumberPattern(QStringLiteral("0.0#########")).format(alpha, regional);
}

Texts of(const Anova::Results& a, const StudyOutput& averageAndRange,
         const RegionalSettings& regional) {
    const Formats f(regional);
    const Anova::Table& t = a.table;
    Texts out;
    out.method = methodLine(a, f);
    out.tableHeadings = tableHeadings();
    out.componentHeadings = componentHeadings(a.multiplier);
    out.full = {rowTexts("Części", t.part, f), rowTexts("Oceniający", t.appraiser, f),
                rowTexts("Oceniający × część", t.interaction, f),
                rowTexts("Powtarzalność", t.repeatability, f), rowTexts("Razem", t.total, f)};
    out.interactionSentence = interactionSentence(a, f);
    if (a.pooled) {
        const Anova::Table& r = a.reduced;
        out.pooled = {rowTexts("Części", r.part, f), rowTexts("Oceniający", r.appraiser, f),
                      rowTexts("Powtarzalność z interakcją", r.repeatability, f),
                      rowTexts("Razem", r.total, f)};
    }
    const Anova::Components& c = a.components;
    out.components = {componentTexts("Powtarzalność (EV)", c.repeatability, f),
                      componentTexts("Odtwarzalność (AV)", c.reproducibility, f),
                      componentTexts("   oceniający", c.appraiser, f),
                      componentTexts("   interakcja", c.interaction, f),
                      componentTexts("R&R", c.rr, f),
                      componentTexts("Części (PV)", c.part, f),
                      componentTexts("Razem (TV)", c.total, f)};
    out.evaluation = evaluationOf(a, averageAndRange, f);
    out.comparison = comparisonLine(out);
    out.difference = QString::fromUtf8(
        "ANOVA szacuje składniki z wariancji i oddziela interakcję oceniający × część; "
        "metoda średniej i rozstępu szacuje je z rozstępów i współczynników K1, K2, K3.");
    return out;
}

}  // namespace AnovaTexts
