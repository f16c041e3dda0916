#include "study.h"

std::optional<int> Study::referenceModeOf(const Value& coRef) {
    if (!coRef.isNumber() && !coRef.isEmpty()) {
        return std::nullopt;
    }
    const double mode = coRef.number();
    for (int i = 0; i < 5; ++i) {
        if (mode == i) {
            return i;
        }
    }
    return std::nullopt;
}
