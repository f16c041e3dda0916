#include "verdict.h"

#include "binary_noise.h"

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

namespace {

// A number against a limit from the settings. A limit that is a text (a damaged row) is
// compared as the generic values are: any number lies below it.
bool atMost(double value, const Value& limit) {
    return limit.isText() ? compareValues(Value(value), limit) <= 0
                          : BinaryNoise::atMost(value, limit.number());
}

bool atLeast(double value, const Value& limit) {
    return limit.isText() ? compareValues(Value(value), limit) >= 0
                          : BinaryNoise::atLeast(value, limit.number());
}

}  // namespace

Verdict judgeResolution(std::optional<double> resolution, const Value& IK1, const Value& IK2) {
    if (!resolution) {
        return Verdict::None;
    }
    if (atLeast(*resolution, IK1)) {
        return Verdict::Accepted;
    }
    if (atLeast(*resolution, IK2)) {
        return Verdict::Conditional;
    }
    return Verdict::Rejected;
}

Verdict judgeRR(std::optional<double> percentRR, const Value& POK, float PSR) {
    if (!percentRR) {
        return Verdict::None;
    }
    if (atMost(*percentRR, POK)) {
        return Verdict::Accepted;
    }
    if (BinaryNoise::atMost(*percentRR, static_cast<double>(PSR))) {
        return Verdict::Conditional;
    }
    return Verdict::Rejected;
}
