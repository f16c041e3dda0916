#include "figure_tables.h"

namespace FigureTables {

namespace {

using Number = std::optional<double>;
using A = Anova::Results;
using C = ControlLimits::Results;

FigureRow<RRResults> rr(const char* key, Number RRResults::*field, bool column) {
    return {QString::fromLatin1(key), [field](const RRResults& r) { return r.*field; },
            column ? QString::fromLatin1(key) : QString()};
}

template <typename Struct, typename Field>
FigureRow<Struct> plain(const char* key, Field Struct::*field) {
    return {QString::fromLatin1(key), [field](const Struct& s) { return Number(s.*field); }};
}

// The export-all columns among ANOVA's figures.
QString anovaColumn(const QString& path) {
    if (path == QLatin1String("components.rr.pctRef")) {
        return QStringLiteral("anovaPctRR");
    }
    return path == QLatin1String("ndc") ? QStringLiteral("anovaNdc") : QString();
}

void addTablePaths(FigureTable<A>& out, const char* name, Anova::Table A::*table, bool onlyPooled) {
    for (const auto& [source, row] : anovaRows()) {
        for (const FigureRow<Anova::Row>& field : anovaRowFields()) {
            out.push_back({QString::fromLatin1(name) + QLatin1Char('.') + source +
                               QLatin1Char('.') + field.key,
                           [table, row = row, get = field.get, onlyPooled](const A& a) {
                               return onlyPooled && !a.pooled ? Number() : get(a.*table.*row);
                           }});
        }
    }
}

FigureTable<A> anovaPaths() {
    FigureTable<A> out;
    addTablePaths(out, "table", &A::table, false);
    addTablePaths(out, "reduced", &A::reduced, true);
    for (const auto& [source, component] : anovaComponents()) {
        for (const FigureRow<Anova::Component>& field : anovaComponentFields()) {
            out.push_back({QStringLiteral("components.") + source + QLatin1Char('.') + field.key,
                           [component = component, get = field.get](const A& a) {
                               return get(a.components.*component);
                           }});
        }
    }
    out.push_back(plain("alpha", &A::alpha));
    out.push_back({QStringLiteral("interactionP"), [](const A& a) { return a.interactionP; }});
    out.push_back(
        {QStringLiteral("interactionPooled"), [](const A& a) { return Number(a.pooled); }});
    out.push_back({QStringLiteral("ndc"), [](const A& a) { return a.ndc; }});
    for (FigureRow<A>& row : out) {
        row.column = anovaColumn(row.key);
    }
    return out;
}

}  // namespace

const FigureTable<RRResults>& averageAndRange() {
    using R = RRResults;
    static const FigureTable<RRResults> table = {
        rr("meanRange", &R::meanRange, false),
        rr("Xdif", &R::Xdif, false),
        rr("Rp", &R::Rp, false),
        rr("EV", &R::EV, true),
        rr("AV", &R::AV, true),
        rr("RR", &R::RR, true),
        rr("PV", &R::PV, true),
        rr("TV", &R::TV, true),
        rr("pctEV", &R::percentEV, true),
        rr("pctAV", &R::percentAV, true),
        rr("pctRR", &R::percentRR, true),
        rr("ndc", &R::resolution, true),
    };
    return table;
}

const std::vector<RowSource>& anovaRows() {
    using T = Anova::Table;
    static const std::vector<RowSource> rows = {
        {QStringLiteral("part"), &T::part},
        {QStringLiteral("appraiser"), &T::appraiser},
        {QStringLiteral("interaction"), &T::interaction},
        {QStringLiteral("repeatability"), &T::repeatability},
        {QStringLiteral("total"), &T::total},
    };
    return rows;
}

const FigureTable<Anova::Row>& anovaRowFields() {
    using R = Anova::Row;
    static const FigureTable<R> fields = {
        plain("df", &R::df),
        plain("ss", &R::ss),
        {QStringLiteral("ms"), [](const R& r) { return r.ms; }},
        {QStringLiteral("f"), [](const R& r) { return r.f; }},
        {QStringLiteral("p"), [](const R& r) { return r.p; }},
    };
    return fields;
}

const std::vector<ComponentSource>& anovaComponents() {
    using S = Anova::Components;
    static const std::vector<ComponentSource> components = {
        {QStringLiteral("repeatability"), &S::repeatability},
        {QStringLiteral("reproducibility"), &S::reproducibility},
        {QStringLiteral("appraiser"), &S::appraiser},
        {QStringLiteral("interaction"), &S::interaction},
        {QStringLiteral("rr"), &S::rr},
        {QStringLiteral("part"), &S::part},
        {QStringLiteral("total"), &S::total},
    };
    return components;
}

const FigureTable<Anova::Component>& anovaComponentFields() {
    using P = Anova::Component;
    static const FigureTable<P> fields = {
        plain("variance", &P::variance),
        plain("sd", &P::sd),
        plain("studyVar", &P::studyVar),
        {QStringLiteral("pctContribution"), [](const P& c) { return c.pctContribution; }},
        {QStringLiteral("pctStudyVar"), [](const P& c) { return c.pctStudyVar; }},
        {QStringLiteral("pctRef"), [](const P& c) { return c.pctRef; }},
        {QStringLiteral("ciLow"), [](const P& c) { return c.ciLow; }},
        {QStringLiteral("ciHigh"), [](const P& c) { return c.ciHigh; }},
    };
    return fields;
}

const FigureTable<A>& anova() {
    static const FigureTable<A> table = anovaPaths();
    return table;
}

const FigureTable<C>& control() {
    static const FigureTable<C> table = {
        plain("rbar", &C::rbar),
        plain("uclR", &C::uclR),
        plain("lclR", &C::lclR),
        plain("xbarbar", &C::xbarbar),
        plain("uclX", &C::uclX),
        plain("lclX", &C::lclX),
        plain("d4", &C::d4),
        plain("a2", &C::a2),
        plain("averagesOutside", &C::averagesOutside),
        plain("averagesTotal", &C::averagesTotal),
        {QStringLiteral("flaggedRange"),
         [](const C& c) {
             return c.flaggedRanges.empty() ? Number() : Number(c.flaggedRanges.front().range);
         }},
    };
    return table;
}

const FigureTable<Type1::Results>& type1() {
    using T = Type1::Results;
    static const FigureTable<T> table = {
        plain("n", &T::n),
        plain("reference", &T::reference),
        plain("lsl", &T::lsl),
        plain("usl", &T::usl),
        plain("tolerance", &T::tolerance),
        plain("k", &T::k),
        plain("l", &T::l),
        plain("mean", &T::mean),
        plain("sd", &T::sd),
        plain("bias", &T::bias),
        plain("t", &T::t),
        plain("df", &T::df),
        plain("p", &T::p),
        plain("biasCiLow", &T::biasCiLow),
        plain("biasCiHigh", &T::biasCiHigh),
        plain("cg", &T::cg),
        plain("cgk", &T::cgk),
        plain("pctVarRepeatability", &T::pctVarRepeatability),
        plain("pctVarRepeatabilityBias", &T::pctVarRepeatabilityBias),
        plain("resolution", &T::resolution),
        plain("pctResolution", &T::pctResolution),
        plain("tMinCg", &T::tMinCg),
        plain("tMinCgk", &T::tMinCgk),
    };
    return table;
}

const FigureTable<Linearity::Results>& linearity() {
    using L = Linearity::Results;
    static const FigureTable<L> table = {
        plain("g", &L::g),
        plain("m", &L::m),
        plain("slope", &L::slope),
        plain("intercept", &L::intercept),
        plain("r2", &L::r2),
        plain("s", &L::s),
        plain("seSlope", &L::seSlope),
        plain("seIntercept", &L::seIntercept),
        plain("tSlope", &L::tSlope),
        plain("tIntercept", &L::tIntercept),
        plain("df", &L::df),
        plain("tCrit", &L::tCrit),
        plain("pSlope", &L::pSlope),
        plain("pIntercept", &L::pIntercept),
        plain("processVariation", &L::processVariation),
        plain("linearity", &L::linearity),
        plain("pctLinearity", &L::pctLinearity),
        plain("averageBias", &L::averageBias),
        plain("pctBias", &L::pctBias),
    };
    return table;
}

const FigureTable<Linearity::PartResult>& linearityPart() {
    using P = Linearity::PartResult;
    static const FigureTable<P> table = {
        plain("part", &P::part), plain("reference", &P::reference),
        plain("bias", &P::bias), plain("t", &P::t),
        plain("p", &P::p),       plain("pctBias", &P::pctBias),
    };
    return table;
}

}  // namespace FigureTables
