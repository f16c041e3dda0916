#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "anova.h"
#include "regional_settings.h"
#include "rr_study.h"

// The texts of the ANOVA method, made once for the window, the ANOVA page and anything
// else that shows them: sums of squares, mean squares, variances, standard deviations,
// study variations and their limits with four significant digits, percentages as
// "#0.00", F and p with three decimals (p beside alpha with as many as the comparison
// needs), degrees of freedom and ndc whole. An empty result has no text.
namespace AnovaTexts {

// A row of a table: its name and the cells under the headings that follow the first.
struct Row {
    QString name;
    QStringList cells;
};

// One judged result: its text and verdict.
struct Judged {
    QString text;
    Verdict verdict = Verdict::None;
};

struct Texts {
    QString method;  // the method, alpha and the multiplier in one line
    QStringList tableHeadings;
    QStringList componentHeadings;
    std::vector<Row> full;
    QString interactionSentence;  // whether the interaction was pooled, and why
    std::vector<Row> pooled;      // the table used when it was pooled; empty otherwise
    std::vector<Row> components;
    // EV, AV and R&R as percentages of the reference (with " %"), then ndc; by ANOVA
    // and by average-and-range on the same series. Only R&R and ndc carry verdicts.
    struct Evaluation {
        QString label;
        Judged anova;
        Judged averageAndRange;
    };
    static constexpr std::size_t kRr = 2;
    static constexpr std::size_t kNdc = 3;
    std::array<Evaluation, 4> evaluation;
    QString comparison;  // both methods' R&R and ndc in one line
    QString difference;  // why the two methods can differ
};

Texts of(const Anova::Results& anova, const StudyOutput& averageAndRange,
         const RegionalSettings& regional);

// An alpha as the user reads it: "0,05", "0,25", "0,001".
QString alphaText(double alpha, const RegionalSettings& regional);

}  // namespace AnovaTexts
