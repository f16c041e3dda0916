#include "results_json.h"

#include <QJsonArray>

#include "analysis_screen.h"
#include "attribute_texts.h"
#include "figure_tables.h"
#include "linearity_texts.h"
#include "type1_texts.h"

namespace {

QJsonValue number(std::optional<double> v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

QJsonValue verdict(Verdict v) {
    return QString::fromLatin1(nameOf(v));
}

template <typename Texts>
QJsonObject panelObject(const Texts& texts, const std::vector<int>& indices) {
    QJsonObject panels;
    for (const int i : indices) {
        panels.insert(QString::number(i), texts[static_cast<std::size_t>(i)]);
    }
    return panels;
}

template <typename Results>
QJsonObject figuresObject(const FigureTable<Results>& fields, const Results& results) {
    QJsonObject out;
    for (const FigureRow<Results>& field : fields) {
        out.insert(field.key, number(field.get(results)));
    }
    return out;
}

// The table the ANOVA window shows: the interaction pooled into repeatability when it is
// not significant (and then without its row).
QJsonArray anovaTable(const Anova::Results& anova) {
    QJsonArray table;
    for (const auto& [source, row] : FigureTables::anovaRows()) {
        if (anova.pooled && source == QLatin1String("interaction")) {
            continue;
        }
        QJsonObject object = figuresObject(FigureTables::anovaRowFields(), anova.used().*row);
        object.insert(QStringLiteral("source"), source);
        table.append(object);
    }
    return table;
}

QJsonValue anovaJson(const std::optional<Anova::Results>& anova) {
    if (!anova) {
        return QJsonValue();
    }
    QJsonObject components;
    for (const auto& [source, component] : FigureTables::anovaComponents()) {
        components.insert(source, figuresObject(FigureTables::anovaComponentFields(),
                                                anova->components.*component));
    }
    QJsonObject out{{QStringLiteral("table"), anovaTable(*anova)},
                    {QStringLiteral("components"), components},
                    {QStringLiteral("rrVerdict"), verdict(anova->rrVerdict)},
                    {QStringLiteral("resolutionVerdict"), verdict(anova->ndcVerdict)}};
    // The study's own figures (the paths hold the table's and the components'); whether
    // the interaction was pooled is a yes or no.
    for (const FigureRow<Anova::Results>& figure : FigureTables::anova()) {
        if (!figure.key.contains(QLatin1Char('.'))) {
            out.insert(figure.key, number(figure.get(*anova)));
        }
    }
    out.insert(QStringLiteral("interactionPooled"), anova->pooled);
    return out;
}

// The control charts' figures; each flagged range by appraiser name and part from 1.
QJsonValue controlJson(const AnalysisScreen& screen) {
    if (!screen.control) {
        return QJsonValue();
    }
    const ControlLimits::Results& c = *screen.control;
    QJsonObject out;
    for (const FigureRow<ControlLimits::Results>& figure : FigureTables::control()) {
        if (figure.key != QLatin1String("flaggedRange")) {  // all of them, below
            out.insert(figure.key, number(figure.get(c)));
        }
    }
    QJsonArray flagged;
    for (const ControlLimits::Flag& f : c.flaggedRanges) {
        flagged.append(
            QJsonObject{{QStringLiteral("appraiser"), screen.appraisers.value(f.appraiser)},
                        {QStringLiteral("part"), f.part + 1},
                        {QStringLiteral("range"), f.range}});
    }
    out.insert(QStringLiteral("flaggedRanges"), flagged);
    return out;
}

QJsonObject gridJson(const AnalysisScreen& screen) {
    QJsonArray grid;
    QJsonArray fixed;
    const GridLayout& layout = screen.grid.layout;
    if (screen.hasSeries) {
        for (int r = 0; r < layout.rows; ++r) {
            QJsonArray cells;
            QJsonArray flags;
            for (int c = 0; c < layout.columns; ++c) {
                cells.append(layout.text(r, c));
                flags.append(layout.isFixed(r, c));
            }
            grid.append(cells);
            fixed.append(flags);
        }
    }
    return {{QStringLiteral("grid"), grid}, {QStringLiteral("fixed"), fixed}};
}

QJsonValue type1Json(const AnalysisScreen& screen) {
    if (!screen.hasKindResults()) {
        return QJsonValue();
    }
    const Type1::Results& r = *screen.type1->results;
    QJsonObject out = figuresObject(FigureTables::type1(), r);
    out.insert(QStringLiteral("cgVerdict"), verdict(r.cgVerdict));
    out.insert(QStringLiteral("cgkVerdict"), verdict(r.cgkVerdict));
    out.insert(QStringLiteral("resolutionVerdict"), verdict(r.resolutionVerdict));
    out.insert(QStringLiteral("biasSignificant"),
               r.biasSignificant ? QJsonValue(*r.biasSignificant) : QJsonValue());
    return out;
}

QJsonValue linearityJson(const AnalysisScreen& screen) {
    if (!screen.linearity || !screen.linearity->results) {
        return QJsonValue();
    }
    const Linearity::Results& r = *screen.linearity->results;
    QJsonObject out = figuresObject(FigureTables::linearity(), r);
    out.insert(QStringLiteral("acceptable"), r.acceptable);
    QJsonArray parts;
    for (const Linearity::PartResult& part : r.parts) {
        parts.append(figuresObject(FigureTables::linearityPart(), part));
    }
    out.insert(QStringLiteral("parts"), parts);
    return out;
}

QJsonValue agreementJson(const std::optional<Attribute::Agreement>& a) {
    if (!a) {
        return QJsonValue();
    }
    return QJsonObject{{QStringLiteral("matched"), a->matched},
                       {QStringLiteral("inspected"), a->inspected},
                       {QStringLiteral("pct"), a->pct},
                       {QStringLiteral("ciLow"), a->ciLow},
                       {QStringLiteral("ciHigh"), a->ciHigh}};
}

QJsonValue rateJson(const std::optional<Attribute::Rate>& r) {
    return r ? QJsonValue(r->pct) : QJsonValue();
}

QJsonObject appraiserJson(const Attribute::AppraiserResult& a, bool rates) {
    QJsonObject out{
        {QStringLiteral("name"), a.name},
        {QStringLiteral("within"), agreementJson(a.within)},
        {QStringLiteral("vsReference"), agreementJson(a.vsReference)},
        {QStringLiteral("fleissWithin"), number(a.fleissWithin)},
        {QStringLiteral("fleissVsReference"), number(a.fleissVsReference)},
        {QStringLiteral("cohenVsReference"), number(a.cohenVsReference)},
        {QStringLiteral("effectiveness"), rates ? number(a.vsReference->pct) : QJsonValue()},
        {QStringLiteral("missRate"), rateJson(a.missRate)},
        {QStringLiteral("falseAlarmRate"), rateJson(a.falseAlarmRate)}};
    for (const auto& [key, v] : {std::pair{"effectivenessVerdict", a.effectivenessVerdict},
                                 std::pair{"missVerdict", a.missVerdict},
                                 std::pair{"falseAlarmVerdict", a.falseAlarmVerdict}}) {
        out.insert(QString::fromLatin1(key), rates ? verdict(v) : QJsonValue());
    }
    return out;
}

QJsonValue attributeJson(const AnalysisScreen& screen) {
    if (!screen.attribute || !screen.attribute->results) {
        return QJsonValue();
    }
    const Attribute::Results& r = *screen.attribute->results;
    const bool rates = r.hasReference && !r.accept.isEmpty();
    QJsonArray appraisers;
    for (const Attribute::AppraiserResult& a : r.appraisers) {
        appraisers.append(appraiserJson(a, rates));
    }
    QJsonObject between;
    if (r.between) {
        between = agreementJson(r.between).toObject();
        between.insert(QStringLiteral("fleiss"), number(r.fleissBetween));
    }
    QJsonArray pairs;
    for (const Attribute::CohenPair& p : r.cohenPairs) {
        pairs.append(QJsonObject{{QStringLiteral("a"), r.appraisers[std::size_t(p.a)].name},
                                 {QStringLiteral("b"), r.appraisers[std::size_t(p.b)].name},
                                 {QStringLiteral("kappa"), number(p.kappa)}});
    }
    return QJsonObject{
        {QStringLiteral("categories"), QJsonArray::fromStringList(r.categories)},
        {QStringLiteral("accept"), r.accept.isEmpty() ? QJsonValue() : QJsonValue(r.accept)},
        {QStringLiteral("parts"), r.parts},
        {QStringLiteral("appraisers"), appraisers},
        {QStringLiteral("between"), r.between ? QJsonValue(between) : QJsonValue()},
        {QStringLiteral("allVsReference"), agreementJson(r.allVsReference)},
        {QStringLiteral("cohenPairs"), pairs}};
}

// A study of another kind: its header, its readings and its figures (null, with the
// reason, when it has none).
QJsonObject kindJson(const AnalysisScreen& screen, const QString& numer) {
    QJsonArray readings;
    for (int i = 0; i < screen.readings.size(); ++i) {
        if (screen.kind == StudyKind::Attribute) {
            const Observation& o = screen.input.observations[i];
            readings.append(QJsonObject{{QStringLiteral("appraiser"),
                                         o.appraiser.isText() ? o.appraiser.text() : QString()},
                                        {QStringLiteral("part"), o.part},
                                        {QStringLiteral("trial"), o.trial},
                                        {QStringLiteral("result"), o.category}});
        } else if (screen.kind == StudyKind::Linearity) {
            const Observation& o = screen.input.observations[i];
            readings.append(QJsonObject{{QStringLiteral("part"), o.part},
                                        {QStringLiteral("reference"), number(o.reference)},
                                        {QStringLiteral("value"), number(screen.readings[i])}});
        } else {
            readings.append(number(screen.readings[i]));
        }
    }
    QJsonObject out{
        {QStringLiteral("kind"), nameOf(screen.kind)},
        {QStringLiteral("numer"), numer},
        {QStringLiteral("header"), panelObject(screen.header, Panels::headerIndices())},
        {QStringLiteral("readings"), readings},
        {QStringLiteral("complete"), screen.hasKindResults()},
        {nameOf(screen.kind), screen.kind == StudyKind::Linearity   ? linearityJson(screen)
                              : screen.kind == StudyKind::Attribute ? attributeJson(screen)
                                                                    : type1Json(screen)}};
    if (screen.type1 && !screen.type1->results) {
        out.insert(QStringLiteral("refusal"), Type1Texts::refusal(screen.type1->refusal));
    }
    if (screen.attribute && !screen.attribute->results) {
        out.insert(QStringLiteral("refusal"), AttributeTexts::refusal(screen.attribute->refusal));
    }
    if (screen.linearity && !screen.linearity->results) {
        out.insert(QStringLiteral("refusal"), LinearityTexts::refusal(screen.linearity->refusal));
    }
    return out;
}

}  // namespace

QJsonObject ResultsJson::of(const AnalysisScreen& screen, const QString& numer) {
    if (screen.kind != StudyKind::Crossed) {
        return kindJson(screen, numer);
    }
    const StudyOutput& study = screen.study;
    QJsonObject out = gridJson(screen);
    out.insert(QStringLiteral("kind"), nameOf(StudyKind::Crossed));
    out.insert(QStringLiteral("numer"), numer);
    out.insert(QStringLiteral("header"), panelObject(screen.header, Panels::headerIndices()));
    out.insert(QStringLiteral("label2"),
               screen.referenceCode ? QJsonValue(*screen.referenceCode) : QJsonValue());
    out.insert(QStringLiteral("results"), panelObject(screen.results, Panels::resultIndices()));
    out.insert(QStringLiteral("rrVerdict"), verdict(study.rrVerdict));
    out.insert(QStringLiteral("resolutionVerdict"), verdict(study.resolutionVerdict));
    out.insert(QStringLiteral("complete"), screen.hasCompleteStudy());
    out.insert(QStringLiteral("anova"), anovaJson(screen.anova));
    out.insert(QStringLiteral("control"), controlJson(screen));
    return out;
}
