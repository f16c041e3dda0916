#pragma once

#include <QColor>

#include "verdict.h"

// A verdict's colour as the panels, pages and windows paint it.
inline QColor verdictColour(Verdict verdict) {
    const VerdictColour c = colourOf(verdict);
    return QColor(c.red, c.green, c.blue);
}
