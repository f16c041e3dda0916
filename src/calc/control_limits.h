#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "anova.h"

// The X-bar and R control charts of a gauge study by appraiser, as the AIAG form draws
// them: one subgroup per appraiser and part (its R trials), the centre of the range
// chart the study's mean range, limits from the form's constants. Numbers only.
namespace ControlLimits {

struct Flag {
    int appraiser = 0;  // from 0, in the order of the study's appraiser blocks
    int part = 0;       // from 0
    double range = 0;
};

struct Results {
    int trials = 0;
    double d4 = 0;  // 3,27 for two trials, 2,58 for three
    double a2 = 0;  // 1,880 and 1,023
    double rbar = 0;
    double uclR = 0;
    double lclR = 0;  // D3 = 0 for subgroups of two or three
    double xbarbar = 0;
    double uclX = 0;
    double lclX = 0;
    std::vector<std::vector<double>> averages;  // [appraiser][part]
    std::vector<std::vector<double>> ranges;    // [appraiser][part]
    std::vector<Flag> flaggedRanges;            // ranges above UCL_R
    int averagesOutside = 0;                    // subgroup averages outside the X-bar limits
    int averagesTotal = 0;

    // The AIAG reading: at least half of the averages outside the limits.
    bool discriminates() const { return 2 * averagesOutside >= averagesTotal; }
    bool isFlagged(int appraiser, int part) const {
        return std::any_of(flaggedRanges.begin(), flaggedRanges.end(), [&](const Flag& f) {
            return f.appraiser == appraiser && f.part == part;
        });
    }
};

// The charts of a complete, balanced study of two or three trials, on its displayed
// values and the mean range of average-and-range; nothing otherwise. A range equal to
// UCL_R (to the last bits) is within the limit.
std::optional<Results> compute(const Anova::Values& y, std::optional<double> meanRange);

// The trial of a flagged subgroup to measure again: the reading farthest from the part's
// mean over every appraiser and trial (the first of equals). The subgroup's own mean would
// not do: with two trials both readings lie equally far from it.
int trialToRemeasure(const Anova::Values& y, const Flag& flag);

}  // namespace ControlLimits
