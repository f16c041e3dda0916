#pragma once

#include <QString>

#include "verdict.h"

// One figure as a page or window shows it: what it is, its text, and its verdict (none
// for a figure that is not judged).
struct FigureLine {
    QString caption;
    QString value;
    Verdict verdict = Verdict::None;
};
