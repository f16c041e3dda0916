#pragma once

#include <optional>

#include "value.h"

// The outcome of one acceptance rule, shown only as a panel colour.
enum class Verdict { None, Accepted, Conditional, Rejected };

struct VerdictColour {
    int red;
    int green;
    int blue;
};

// green / yellow / red, white for no verdict
VerdictColour colourOf(Verdict verdict);
const char* nameOf(Verdict verdict);

// Resolution (number of distinct categories): accepted at or above IK1, conditionally
// at or above IK2, otherwise not. An empty resolution gets no verdict: a result that
// could not be computed is never shown as accepted. A value at a limit is judged as the
// limit, whatever its last binary digits (BinaryNoise).
Verdict judgeResolution(std::optional<double> resolution, const Value& IK1, const Value& IK2);

// %R&R at full precision: accepted at or below POK, conditionally at or below PSR
// (compared as the single-precision number it is held in), otherwise not. An empty
// %R&R gets no verdict. A %R&R of exactly 10 or 30 is at its limit, not past it.
Verdict judgeRR(std::optional<double> percentRR, const Value& POK, float PSR);
