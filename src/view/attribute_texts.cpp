#include "attribute_texts.h"

#include "number_pattern.h"

namespace AttributeTexts {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

QString percent(double value, const RegionalSettings& rs) {
    return NumberPattern(QStringLiteral("0.0")).format(value, rs);
}

QString agreementText(const std::optional<Attribute::Agreement>& a, const RegionalSettings& rs) {
    if (!a) {
        return QStringLiteral("—");
    }
    return QStringLiteral("%1 / %2 (%3 %)")
        .arg(a->matched)
        .arg(a->inspected)
        .arg(percent(a->pct, rs));
}

QString intervalText(const std::optional<Attribute::Agreement>& a, const RegionalSettings& rs) {
    return a ? percent(a->ciLow, rs) + u8(" – ") + percent(a->ciHigh, rs) + u8(" %")
             : QStringLiteral("—");
}

Table agreementTable(const Attribute::Results& r, const RegionalSettings& rs) {
    Table t{u8("Zgodność oceny (przedział 95 % dokładny)"),
            {u8("Oceniający"), u8("Wewnętrzna"), u8("95 % CI"), u8("Z wzorcem"), u8("95 % CI")},
            {},
            {}};
    for (const Attribute::AppraiserResult& a : r.appraisers) {
        t.rows << QStringList{a.name, agreementText(a.within, rs), intervalText(a.within, rs),
                              agreementText(a.vsReference, rs), intervalText(a.vsReference, rs)};
    }
    t.rows << QStringList{u8("Wszyscy (między sobą / z wzorcem)"), agreementText(r.between, rs),
                          intervalText(r.between, rs), agreementText(r.allVsReference, rs),
                          intervalText(r.allVsReference, rs)};
    return t;
}

Table kappaTable(const Attribute::Results& r, const RegionalSettings& rs) {
    Table t{
        u8("Kappa (κ > 0,75 dobra, κ < 0,40 słaba zgodność)"),
        {u8("Oceniający"), u8("Fleiss wewnętrzna"), u8("Fleiss z wzorcem"), u8("Cohen z wzorcem")},
        {},
        {}};
    for (const Attribute::AppraiserResult& a : r.appraisers) {
        t.rows << QStringList{a.name, kappaText(a.fleissWithin, rs),
                              kappaText(a.fleissVsReference, rs),
                              kappaText(a.cohenVsReference, rs)};
    }
    t.rows << QStringList{u8("Między oceniającymi"), kappaText(r.fleissBetween, rs),
                          QStringLiteral("—"), QStringLiteral("—")};
    for (const Attribute::CohenPair& p : r.cohenPairs) {
        t.rows << QStringList{u8("Cohen %1 – %2")
                                  .arg(r.appraisers[static_cast<std::size_t>(p.a)].name,
                                       r.appraisers[static_cast<std::size_t>(p.b)].name),
                              QStringLiteral("—"), QStringLiteral("—"), kappaText(p.kappa, rs)};
    }
    return t;
}

Table ratesTable(const Attribute::Results& r, const RegionalSettings& rs) {
    Table t{u8("Skuteczność i błędne decyzje wobec wzorca (AIAG)"),
            {u8("Oceniający"), u8("Skuteczność"), u8("95 % CI"), u8("Przepuszczone wadliwe"),
             u8("Fałszywe odrzucenia")},
            {},
            {}};
    for (const Attribute::AppraiserResult& a : r.appraisers) {
        const auto rate = [&](const std::optional<Attribute::Rate>& x) {
            return x ? QStringLiteral("%1 / %2 (%3 %)")
                           .arg(x->count)
                           .arg(x->of)
                           .arg(percent(x->pct, rs))
                     : QStringLiteral("—");
        };
        t.rows << QStringList{a.name, percent(a.vsReference->pct, rs) + u8(" %"),
                              intervalText(a.vsReference, rs), rate(a.missRate),
                              rate(a.falseAlarmRate)};
        t.verdicts << QVector<Verdict>{Verdict::None, a.effectivenessVerdict, Verdict::None,
                                       a.missVerdict, a.falseAlarmVerdict};
    }
    return t;
}

}  // namespace

QString kappaText(std::optional<double> kappa, const RegionalSettings& rs) {
    if (!kappa) {
        return QStringLiteral("—");
    }
    const QString reading = *kappa > 0.75   ? u8(" (dobra)")
                            : *kappa < 0.40 ? u8(" (słaba)")
                                            : QString();
    return NumberPattern(QStringLiteral("0.00")).format(*kappa, rs) + reading;
}

QVector<Table> tables(const Attribute::Results& r, const RegionalSettings& rs) {
    QVector<Table> out{agreementTable(r, rs), kappaTable(r, rs)};
    if (r.hasReference && !r.accept.isEmpty()) {
        out << ratesTable(r, rs);
    }
    return out;
}

QStringList notes(const Attribute::Results& r) {
    QStringList out;
    out << u8("Kategorie: %1%2.")
               .arg(r.categories.join(QStringLiteral(", ")),
                    r.accept.isEmpty() ? QString() : u8("; akceptacja: „%1”").arg(r.accept));
    if (r.appraisers.size() == 1) {
        out << u8("Jeden oceniający: nie ma zgodności między oceniającymi ani kappa par.");
    }
    if (r.trials == 1) {
        out << u8("Jedno powtórzenie: nie ma zgodności wewnętrznej oceniających.");
    }
    if (!r.hasReference) {
        out << u8(
            "Bez wzorca: tylko zgodność i kappa oceniających, bez zgodności z wzorcem i "
            "skuteczności.");
    } else if (r.accept.isEmpty()) {
        out << u8("Więcej niż dwie kategorie: bez skuteczności i wskaźników błędnych decyzji.");
    }
    out << u8(
        "Kappa bez przedziału ufności: błąd standardowy ważny tylko przy κ = 0 dałby "
        "przedział błędny.");
    return out;
}

QString refusal(Attribute::Refusal refusal) {
    switch (refusal) {
        case Attribute::Refusal::TooFewParts:
            return u8("Badanie zgodności oceny wymaga co najmniej %1 części.")
                .arg(Attribute::kFewestParts);
        case Attribute::Refusal::TooManyParts:
            return u8("Badanie zgodności oceny przyjmuje najwyżej %1 części.")
                .arg(Attribute::kMostParts);
        case Attribute::Refusal::TooManyAppraisers:
            return u8("Badanie zgodności oceny przyjmuje od 1 do %1 oceniających.")
                .arg(Attribute::kMostAppraisers);
        case Attribute::Refusal::TooManyTrials:
            return u8("Badanie zgodności oceny przyjmuje od 1 do %1 powtórzeń.")
                .arg(Attribute::kMostTrials);
        case Attribute::Refusal::Incomplete:
            return u8(
                "Brak decyzji: każdy oceniający ocenia każdą część w każdym powtórzeniu, a "
                "wzorzec (jeśli jest) dotyczy każdej części.");
        case Attribute::Refusal::None:
            break;
    }
    return {};
}

}  // namespace AttributeTexts
