#pragma once

#include <QVector>

#include "value.h"

// One row of DanePom, one measurement series, as the statistics read it: the appraiser
// (Operator), the values of the analysis's parts (P1 ..), the stored series average (ObX).
struct SeriesRow {
    Value appraiser;
    QVector<Value> parts;
    Value average;
};
