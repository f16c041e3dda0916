#pragma once

#include <optional>
#include <vector>

#include "crossed_design.h"
#include "rr_study.h"
#include "value.h"
#include "verdict.h"

// The ANOVA method of a crossed, balanced gauge study: k appraisers, n parts, r trials,
// on the displayed values the average-and-range method uses. Numbers only, each empty
// where it cannot be computed (a division by zero); nothing is ever NaN or infinite.
namespace Anova {

// The significance levels of the interaction test a user may choose; NaN is none of them.
constexpr double kLowestAlpha = 0.001;
constexpr double kHighestAlpha = 0.5;
inline bool isAlpha(double alpha) {
    return alpha >= kLowestAlpha && alpha <= kHighestAlpha;
}

// y[appraiser][part][trial]; every appraiser with the same n parts and r trials.
using Values = std::vector<std::vector<std::vector<double>>>;

struct Input {
    Values y;
    double alpha = 0.05;  // the interaction is pooled when its p is at least alpha
    int level = 0;        // as average-and-range: 0 for 99 % (5,15 sigma), else 95 % (3,92)
    std::optional<int> referenceMode;  // CoRef; 3: the reference is ANOVA's own total
    std::optional<double> reference;   // REF of the other modes, as average-and-range has it
    Value POK;
    float PSR = 0.0f;
    Value IK1;
    Value IK2;
    bool limits = true;  // the 95 % limits of sigma; a pass that shows none leaves them out
};

struct Row {
    double df = 0;
    double ss = 0;
    std::optional<double> ms;
    std::optional<double> f;
    std::optional<double> p;
};

struct Component {
    double variance = 0;  // never negative: a negative estimate is set to 0 on its own
    double sd = 0;
    double studyVar = 0;
    std::optional<double> pctContribution;
    std::optional<double> pctStudyVar;
    std::optional<double> pctRef;
    std::optional<double> ciLow;  // 95 % limits for the standard deviation
    std::optional<double> ciHigh;
};

struct Table {
    Row part, appraiser, interaction, repeatability, total;
};

struct Components {
    Component repeatability, reproducibility, appraiser, interaction, rr, part, total;
};

struct Results {
    double alpha = 0.05;
    double multiplier = 5.15;
    Table table;  // the full model: the main effects tested against the interaction
    std::optional<double> interactionP;
    bool pooled = false;
    // When pooled: the main effects tested against interaction and repeatability together,
    // which stand as its repeatability row; it has no interaction row (all zero).
    Table reduced;
    const Table& used() const { return pooled ? reduced : table; }
    Components components;
    std::optional<double> reference;  // the REF the percentages of the reference use
    std::optional<double> ndc;
    Verdict rrVerdict = Verdict::None;
    Verdict ndcVerdict = Verdict::None;
};

// The displayed values of a complete study by appraiser, part and trial; nothing unless
// every appraiser stands in one run of the same number of trials and every value is there.
std::optional<Values> valuesOf(const CrossedDesign& design,
                               const QVector<QVector<std::optional<double>>>& displayed);

// The input of a stored study: its displayed values, level, reference and limits, as the
// average-and-range method has them; nothing when the study is not complete and balanced.
std::optional<Input> inputOf(const Study& study, const CrossedDesign& design,
                             const StudyOutput& output, double alpha);

// Nothing when the design is not crossed and balanced (or has fewer than 2 appraisers,
// parts or trials).
std::optional<Results> compute(const Input& input);

// P(F(df1, df2) > f), by Boost.Math; empty where it has no meaning.
std::optional<double> upperTailF(double f, double df1, double df2);

}  // namespace Anova
