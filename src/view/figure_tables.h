#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "anova.h"
#include "control_limits.h"
#include "linearity_study.h"
#include "rr_study.h"
#include "type1_study.h"

// The figures of each method by the names they carry in the program's files: the JSON
// of `kalmet-cli results`, the columns of `export-all` and the keys of the verification
// data. A figure is named here once; each of those files reads it from these tables.
template <typename Results>
struct FigureRow {
    QString key;
    std::function<std::optional<double>(const Results&)> get;
    // Its column in the export-all rows; empty: it has none.
    QString column = {};
};

template <typename Results>
using FigureTable = std::vector<FigureRow<Results>>;

namespace FigureTables {

// Average and range: the mean range, the averages' difference, the parts' range, EV..TV,
// their percentages of the reference and ndc.
const FigureTable<RRResults>& averageAndRange();

// ANOVA's table (its sources and the fields of a row), its variance components (their
// sources and fields), and the study's own figures.
using RowSource = std::pair<QString, Anova::Row Anova::Table::*>;
using ComponentSource = std::pair<QString, Anova::Component Anova::Components::*>;
const std::vector<RowSource>& anovaRows();
const FigureTable<Anova::Row>& anovaRowFields();
const std::vector<ComponentSource>& anovaComponents();
const FigureTable<Anova::Component>& anovaComponentFields();
// Every ANOVA figure by a path of those names: "table.part.ss" (the full model),
// "reduced.appraiser.f" (the interaction pooled; empty when it is not), "components.rr.sd",
// and the study's own: "alpha", "interactionP", "interactionPooled" (1 or 0), "ndc".
const FigureTable<Anova::Results>& anova();

// The control charts' limits and counts; "flaggedRange" is the first range flagged.
const FigureTable<ControlLimits::Results>& control();

// The type-1 study's figures; the verdicts and whether the bias is significant are not
// numbers and stand beside them in the files.
const FigureTable<Type1::Results>& type1();

// The bias and linearity study's figures (whether it is acceptable is a yes or no beside
// them) and each part's.
const FigureTable<Linearity::Results>& linearity();
const FigureTable<Linearity::PartResult>& linearityPart();

// The figure of a table by its key; none when the table has no such key.
template <typename Results>
const FigureRow<Results>* find(const FigureTable<Results>& table, const QString& key) {
    for (const FigureRow<Results>& row : table) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace FigureTables
