#include "verdict.h"

VerdictColour colourOf(Verdict verdict) {
    switch (verdict) {
        case Verdict::Accepted:
            return {0, 255, 0};
        case Verdict::Conditional:
            return {255, 255, 0};
        case Verdict::Rejected:
            return {255, 0, 0};
        case Verdict::None:
            break;
    }
    return {255, 255, 255};
}

const char* nameOf(Verdict verdict) {
    switch (verdict) {
        case Verdict::Accepted:
            return "green";
        case Verdict::Conditional:
            return "yellow";
        case Verdict::Rejected:
            return "red";
        case Verdict::None:
            break;
    }
    return "white";
}

Verdict judgeResolution(std::optional<double> resolution, const Value& IK1, const Value& IK2) {
    if (!resolution) {
        return Verdict::None;
    }
    const Value value(*resolution);
    if (compareValues(value, IK1) >= 0) {
        return Verdict::Accepted;
    }
    if (compareValues(value, IK2) >= 0) {
        return Verdict::Conditional;
    }
    return Verdict::Rejected;
}

Verdict judgeRR(std::optional<double> percentRR, const Value& POK, float PSR) {
    if (!percentRR) {
        return Verdict::None;
    }
    const Value value(*percentRR);
    if (compareValues(value, POK) <= 0) {
        return Verdict::Accepted;
    }
    if (compareValues(value, Value(static_cast<double>(PSR))) <= 0) {
        return Verdict::Conditional;
    }
    return Verdict::Rejected;
}
